#pragma once
// The picture as the desktop wallpaper. The picture is written to one fixed
// file that each use overwrites; the system shows that file.
#include <string>

#include "capture/picture.h"

namespace grabwell::document {

inline constexpr wchar_t kWallpaperFile[] = L"c:\\windows\\wallpaper.bmp";

// Where the picture goes when the fixed file cannot be written (standard
// users may not write the Windows folder): %LOCALAPPDATA%\Grabwell.
std::wstring FallbackWallpaperFile();

// Writes the picture to `fixedFile` (or the fallback) and makes it the
// wallpaper, saved in the user's profile. With no picture nothing is
// written and the fixed file is named as it is. Every step tolerates failure.
void SetWallpaper(const capture::Picture& picture, const std::wstring& fixedFile = kWallpaperFile);

// No wallpaper; the file stays where it is.
void ClearWallpaper();

}  // namespace grabwell::document
