#pragma once
// The core works in UTF-16 as char16_t; Win32 takes wchar_t, which is the
// same 16-bit unit on Windows.
#include <string>
#include <string_view>

namespace grabwell::platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

inline std::wstring Wide(std::u16string_view text) { return {text.begin(), text.end()}; }
inline std::u16string Utf16(std::wstring_view text) { return {text.begin(), text.end()}; }

}  // namespace grabwell::platform
