#pragma once
// Main window caption once a picture is open: program name, then the file name
// and the picture's size in pixels.
#include <cstdint>
#include <string>
#include <string_view>

namespace grabwell::core {

// Text after the last backslash; the whole path when there is none. A forward
// slash is an ordinary character here.
std::u16string GetFileName(std::u16string_view path);

// File name of the module without its folder and without its last extension.
std::u16string ExeBaseName(std::u16string_view modulePath);

// exeBaseName + "─[" + file name + "(" + width + "x" + height + ") ]".
std::u16string OpenedCaption(std::u16string_view exeBaseName, std::u16string_view path,
                             std::int64_t width, std::int64_t height);

}  // namespace grabwell::core
