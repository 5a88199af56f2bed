#include "document/ansi_path.h"

#include "platform/win32.h"

namespace grabwell::document {

std::optional<std::string> ExactAnsiPath(const std::wstring& path) {
    if (path.empty()) return std::string();
    // A UTF-8 ANSI code page says everything, and refuses the lossy checks.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int units = static_cast<int>(path.size());
    BOOL lossy = FALSE;
    const int bytes = ::WideCharToMultiByte(CP_ACP, flags, path.data(), units, nullptr, 0,
                                            nullptr, utf8 ? nullptr : &lossy);
    if (bytes <= 0 || lossy) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, path.data(), units, ansi.data(), bytes, nullptr,
                          nullptr);
    return ansi;
}

}  // namespace grabwell::document
