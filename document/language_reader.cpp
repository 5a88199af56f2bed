#include "document/language_reader.h"

#include <optional>

#include "platform/text.h"
#include "platform/unique_any.h"

namespace grabwell::document {

namespace {

// Language files are a few hundred bytes. Anything this large is not one,
// and reading it whole would only cost memory.
constexpr LONGLONG kLargestLanguageFile = 1 << 20;

std::optional<std::string> ReadSmallFile(const std::wstring& path) {
    const platform::unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                    nullptr, OPEN_EXISTING,
                                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestLanguageFile) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return std::nullopt;
    }
    bytes.resize(read);
    return bytes;
}

std::u16string AnsiToUtf16(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    const int units = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (units <= 0) return {};
    std::wstring text(static_cast<std::size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), units);
    return platform::Utf16(text);
}

}  // namespace

LanguageTexts ReadLanguageFile(const std::wstring& path) {
    LanguageTexts texts;
    const std::optional<std::string> bytes = ReadSmallFile(path);
    if (!bytes) return texts;
    const std::vector<std::u16string> lines = core::DecodeLanguageFile(*bytes, AnsiToUtf16);
    for (std::size_t i = 0; i < texts.size() && i < lines.size(); ++i) {
        texts[i] = platform::Wide(lines[i]);
    }
    return texts;
}

}  // namespace grabwell::document
