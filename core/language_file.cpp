#include "core/language_file.h"

#include <cstdint>
#include <optional>
#include <utility>

namespace grabwell::core {

std::vector<std::string> SplitLanguageLines(std::string_view bytes) {
    std::vector<std::string> lines;
    lines.reserve(kLanguageLineCount);
    std::size_t pos = 0;
    while (lines.size() < kLanguageLineCount && pos < bytes.size()) {
        const std::size_t cr = bytes.find('\r', pos);
        if (cr == std::string_view::npos) {
            lines.emplace_back(bytes.substr(pos));
            break;
        }
        lines.emplace_back(bytes.substr(pos, cr - pos));
        pos = cr + 1;
        if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
    }
    lines.resize(kLanguageLineCount);
    return lines;
}

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr char32_t kReplacement = 0xFFFD;

// One scalar value from the front of bytes and how many bytes it used;
// nullopt for a malformed or truncated sequence.
struct Decoded {
    char32_t value;
    std::size_t length;
};

std::optional<Decoded> DecodeOne(std::string_view bytes, std::size_t pos) {
    const auto byteAt = [&](std::size_t i) {
        return static_cast<std::uint8_t>(bytes[pos + i]);
    };
    const std::uint8_t lead = byteAt(0);
    if (lead < 0x80) return Decoded{lead, 1};

    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2; value = lead & 0x1Fu; minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3; value = lead & 0x0Fu; minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4; value = lead & 0x07u; minimum = 0x10000;
    } else {
        return std::nullopt;  // continuation byte, C0/C1 or F5..FF
    }
    if (bytes.size() - pos < length) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const std::uint8_t trail = byteAt(i);
        if ((trail & 0xC0u) != 0x80u) return std::nullopt;
        value = (value << 6) | (trail & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    return Decoded{value, length};
}

void AppendUtf16(std::u16string& out, char32_t value) {
    if (value < 0x10000) {
        out.push_back(static_cast<char16_t>(value));
        return;
    }
    const char32_t offset = value - 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FFu)));
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto decoded = DecodeOne(bytes, pos);
        if (!decoded) return false;
        pos += decoded->length;
    }
    return true;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (const auto decoded = DecodeOne(bytes, pos)) {
            AppendUtf16(out, decoded->value);
            pos += decoded->length;
        } else {
            AppendUtf16(out, kReplacement);
            ++pos;
        }
    }
    return out;
}

std::vector<std::u16string> DecodeLanguageFile(
    std::string_view bytes,
    const std::function<std::u16string(std::string_view)>& ansiDecode) {
    std::vector<std::string> lines = SplitLanguageLines(bytes);
    // Only the lines that are used decide: whatever an editor left after
    // them must not turn a good UTF-8 file into code-page mojibake.
    bool utf8 = true;
    for (const std::string& line : lines) utf8 = utf8 && IsValidUtf8(line);
    if (utf8 && lines[0].starts_with(kUtf8Bom)) lines[0].erase(0, kUtf8Bom.size());
    std::vector<std::u16string> texts;
    texts.reserve(kLanguageLineCount);
    for (const std::string& line : lines) {
        if (utf8) {
            texts.push_back(Utf8ToUtf16(line));
        } else if (ansiDecode) {
            texts.push_back(ansiDecode(line));
        } else {
            // No code page to read it with: keep what is plain ASCII rather
            // than guess at the rest.
            std::u16string text;
            for (const char c : line) {
                const auto byte = static_cast<std::uint8_t>(c);
                text.push_back(byte < 0x80 ? static_cast<char16_t>(byte)
                                           : static_cast<char16_t>(kReplacement));
            }
            texts.push_back(std::move(text));
        }
    }
    return texts;
}

}  // namespace grabwell::core
