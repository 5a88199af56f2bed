#include "document/language_reader.h"

#include <cstdint>
#include <string_view>

#include "platform/file.h"
#include "platform/text.h"

namespace grabwell::document {

namespace {

// Language files are a few hundred bytes. Anything this large is not one,
// and reading it whole would only cost memory.
constexpr std::uint64_t kLargestLanguageFile = 1 << 20;

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
    const auto bytes = platform::ReadWholeFile(path, kLargestLanguageFile);
    if (!bytes) return texts;
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    const std::vector<std::u16string> lines = core::DecodeLanguageFile(text, AnsiToUtf16);
    for (std::size_t i = 0; i < texts.size() && i < lines.size(); ++i) {
        texts[i] = platform::Wide(lines[i]);
    }
    return texts;
}

}  // namespace grabwell::document
