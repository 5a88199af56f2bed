#pragma once
// Some system calls this program makes take ANSI paths. A path with
// characters the ANSI code page lacks would reach them mangled (each such
// character turned into '?'), naming another file or none, so the conversion
// says when it is not exact.
#include <optional>
#include <string>

namespace grabwell::document {

// The path in the ANSI code page, or nullopt when it cannot be said there.
std::optional<std::string> ExactAnsiPath(const std::wstring& path);

}  // namespace grabwell::document
