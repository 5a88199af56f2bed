// libFuzzer target for the language-file reader: arbitrary bytes as a .lng
// file, checked against properties that hold for every input.
#include "core/language_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace {

using grabwell::core::kLanguageLineCount;

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "language_file_fuzz: %s\n", what);
    std::abort();
}

// Written independently of the reader so that a round trip through both can
// tell whether the reader lost or invented anything. nullopt for a lone
// surrogate, which Utf8ToUtf16 must never produce.
std::optional<std::string> Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xDC00 && c <= 0xDFFF) return std::nullopt;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 == text.size()) return std::nullopt;
            const char32_t low = text[++i];
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
        const auto put = [&out](char32_t byte) { out.push_back(static_cast<char>(byte)); };
        if (c < 0x80) {
            put(c);
        } else if (c < 0x800) {
            put(0xC0 | c >> 6);
            put(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            put(0xE0 | c >> 12);
            put(0x80 | (c >> 6 & 0x3F));
            put(0x80 | (c & 0x3F));
        } else {
            put(0xF0 | c >> 18);
            put(0x80 | (c >> 12 & 0x3F));
            put(0x80 | (c >> 6 & 0x3F));
            put(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Stands in for the system code page: one code unit a byte, like Latin-1.
std::u16string Latin1(std::string_view line) {
    std::u16string out;
    for (const char c : line) out.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(c)));
    return out;
}

void CheckSplit(std::string_view bytes) {
    const auto lines = grabwell::core::SplitLanguageLines(bytes);
    Check(lines.size() == kLanguageLineCount, "SplitLanguageLines: not 25 lines");
    // Lines are consecutive pieces of the file, separated by CR or CR LF.
    std::size_t pos = 0;
    for (const std::string& line : lines) {
        Check(line.find('\r') == std::string::npos, "SplitLanguageLines: CR inside a line");
        Check(bytes.substr(pos, line.size()) == line, "SplitLanguageLines: line not taken from the file");
        pos += line.size();
        if (pos < bytes.size()) {
            Check(bytes[pos] == '\r', "SplitLanguageLines: line ends before a CR");
            ++pos;
            if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
        }
    }
}

void CheckUtf8(std::string_view bytes) {
    const bool valid = grabwell::core::IsValidUtf8(bytes);
    const std::u16string wide = grabwell::core::Utf8ToUtf16(bytes);
    Check(wide.size() <= bytes.size(), "Utf8ToUtf16: more code units than bytes");
    const auto back = Utf16ToUtf8(wide);
    Check(back.has_value(), "Utf8ToUtf16: lone surrogate in the output");
    // Valid exactly when nothing had to be replaced on the way.
    Check(valid == (*back == bytes), "IsValidUtf8 disagrees with the round trip");
}

void CheckDecode(std::string_view bytes) {
    // The lines that are used decide; whatever follows them does not.
    bool utf8 = true;
    for (const std::string& line : grabwell::core::SplitLanguageLines(bytes)) {
        utf8 = utf8 && grabwell::core::IsValidUtf8(line);
    }
    std::size_t ansiCalls = 0;
    const auto ansi = [&ansiCalls](std::string_view line) {
        ++ansiCalls;
        Check(line.find('\r') == std::string_view::npos, "ANSI decoder handed a CR");
        return Latin1(line);
    };
    const auto texts = grabwell::core::DecodeLanguageFile(bytes, ansi);
    Check(texts.size() == kLanguageLineCount, "DecodeLanguageFile: not 25 texts");
    Check(ansiCalls == (utf8 ? 0 : kLanguageLineCount),
          "DecodeLanguageFile: encoding not decided once for the used lines");

    // Without a BOM the raw lines are what the texts were decoded from.
    std::string_view body = bytes;
    if (utf8 && body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
    const auto lines = grabwell::core::SplitLanguageLines(body);
    std::size_t total = 0;
    for (std::size_t i = 0; i < kLanguageLineCount; ++i) {
        const std::u16string& text = texts[i];
        Check(text.find(u'\r') == std::u16string::npos, "DecodeLanguageFile: CR inside a text");
        Check(text.size() <= lines[i].size(), "DecodeLanguageFile: text longer than its line");
        Check(text == (utf8 ? grabwell::core::Utf8ToUtf16(lines[i]) : Latin1(lines[i])),
              "DecodeLanguageFile: text differs from its decoded line");
        total += text.size();
    }
    Check(total <= bytes.size(), "DecodeLanguageFile: more code units than bytes");

    // No code page at all: ASCII survives, everything else is marked.
    const auto plain = grabwell::core::DecodeLanguageFile(bytes, nullptr);
    Check(plain.size() == kLanguageLineCount, "DecodeLanguageFile(no ANSI): not 25 texts");
    for (std::size_t i = 0; i < kLanguageLineCount; ++i) {
        if (utf8) {
            Check(plain[i] == texts[i], "DecodeLanguageFile(no ANSI): UTF-8 read differently");
            continue;
        }
        Check(plain[i].size() == lines[i].size(), "DecodeLanguageFile(no ANSI): length changed");
        for (std::size_t j = 0; j < lines[i].size(); ++j) {
            const auto byte = static_cast<std::uint8_t>(lines[i][j]);
            Check(plain[i][j] == (byte < 0x80 ? byte : u'\uFFFD'),
                  "DecodeLanguageFile(no ANSI): byte not kept or marked");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckSplit(bytes);
    CheckUtf8(bytes);
    CheckDecode(bytes);
    return 0;
}
