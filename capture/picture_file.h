#pragma once
// Pictures to and from files. Loading goes by the file's content, never its
// name; saving always writes a Windows bitmap, whatever the name says, and
// replaces the target in one step so a failure cannot damage it.
#include <string>

#include "capture/picture.h"

namespace grabwell::capture {

// BMP (read by GDI), JPEG and whatever else the platform's codecs read, as a
// DIB section. Any failure (missing, unreadable, malformed, absurdly large)
// gives the empty Picture.
Picture LoadPictureFile(const std::wstring& path);

// 24-bit BMP, or 8-bit with its colour table when the picture has a palette.
// False, with an existing file at `path` untouched and nothing left behind,
// when anything fails or the picture is empty.
bool SavePictureFile(const Picture& picture, const std::wstring& path);

}  // namespace grabwell::capture
