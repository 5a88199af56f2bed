#pragma once
// Where the program writes for the user when the place it names first is
// closed to them: a standard user may not write the program folder (under
// Program Files) or the Windows folder. %LOCALAPPDATA%\Grabwell is theirs.
#include <string>
#include <string_view>

#include "capture/picture.h"

namespace grabwell::document {

// The user's local application data folder followed by `tail` (which
// begins with a backslash), or empty when the system names no such folder.
std::wstring LocalAppDataFile(std::wstring_view tail);
// %LOCALAPPDATA%\Grabwell followed by `tail`, as above.
std::wstring PerUserFile(std::wstring_view tail);

// Writes the picture to `preferred`; when that fails, to PerUserFile(tail),
// creating its folders. The path written, or empty when neither could be.
std::wstring SavePictureOrPerUser(const capture::Picture& picture, const std::wstring& preferred,
                                  std::wstring_view tail);

}  // namespace grabwell::document
