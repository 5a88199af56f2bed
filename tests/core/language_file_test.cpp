#include "core/language_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>

#include "tests/shared/source_tree.h"

namespace grabwell::core {
namespace {

std::vector<std::string> Expect25(std::initializer_list<std::string> head) {
    std::vector<std::string> lines(head);
    lines.resize(kLanguageLineCount);
    return lines;
}

TEST(SplitLanguageLines, LineEndsAreCrOrCrLfAndLoneLfIsText) {
    EXPECT_EQ(SplitLanguageLines(""), Expect25({}));
    EXPECT_EQ(SplitLanguageLines("a\r\n"), Expect25({"a"}));
    EXPECT_EQ(SplitLanguageLines("line 1\r"), Expect25({"line 1"}));
    EXPECT_EQ(SplitLanguageLines("a\rb\r\nc"), Expect25({"a", "b", "c"}));
    EXPECT_EQ(SplitLanguageLines("a\nb\nc\n"), Expect25({"a\nb\nc\n"}));
    EXPECT_EQ(SplitLanguageLines("\r\n\r\nx"), Expect25({"", "", "x"}));
    // CR CR LF: an empty second line, not a doubled line end.
    EXPECT_EQ(SplitLanguageLines("a\r\r\nb"), Expect25({"a", "", "b"}));
    // LF CR: the LF belongs to the first line.
    EXPECT_EQ(SplitLanguageLines("a\n\rb"), Expect25({"a\n", "b"}));
    EXPECT_EQ(SplitLanguageLines("  padded \t\r"), Expect25({"  padded \t"}));
}

TEST(SplitLanguageLines, StopsAfterTheLastUsedLine) {
    std::string file;
    for (int i = 1; i <= 30; ++i) {
        file += 'L';
        file += std::to_string(i);
        file += "\r\n";
    }
    const auto lines = SplitLanguageLines(file);
    ASSERT_EQ(lines.size(), kLanguageLineCount);
    EXPECT_EQ(lines.front(), "L1");
    EXPECT_EQ(lines.back(), "L25");
}

TEST(IsValidUtf8, AcceptsWellFormedText) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ASCII"));
    EXPECT_TRUE(IsValidUtf8("\xEF\xBB\xBF" "BOM"));
    EXPECT_TRUE(IsValidUtf8("\xC2\x80\xDF\xBF"));              // U+0080, U+07FF
    EXPECT_TRUE(IsValidUtf8("\xE6\x96\x87\xEF\xBF\xBF"));      // U+6587, U+FFFF
    EXPECT_TRUE(IsValidUtf8("\xED\x9F\xBF\xEE\x80\x80"));      // around the surrogates
    EXPECT_TRUE(IsValidUtf8("\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"));  // U+10000, U+10FFFF
}

TEST(IsValidUtf8, RejectsMalformedText) {
    EXPECT_FALSE(IsValidUtf8("\x80"));                  // stray continuation
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));              // overlong NUL
    EXPECT_FALSE(IsValidUtf8("\xC1\xBF"));              // overlong
    EXPECT_FALSE(IsValidUtf8("\xE0\x9F\xBF"));          // overlong 3-byte
    EXPECT_FALSE(IsValidUtf8("\xF0\x8F\xBF\xBF"));      // overlong 4-byte
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));          // U+D800
    EXPECT_FALSE(IsValidUtf8("\xED\xBF\xBF"));          // U+DFFF
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));      // U+110000
    EXPECT_FALSE(IsValidUtf8("\xF5\x80\x80\x80"));
    EXPECT_FALSE(IsValidUtf8("\xFF"));
    EXPECT_FALSE(IsValidUtf8("ok\xE6\x96"));            // truncated at the end
    EXPECT_FALSE(IsValidUtf8("\xE6\x96z"));             // truncated mid-text
    EXPECT_FALSE(IsValidUtf8("\xCE\xC4\xBC\xFE"));      // GBK for 文件
}

TEST(Utf8ToUtf16, ConvertsAllPlanes) {
    EXPECT_EQ(Utf8ToUtf16("A\xC3\xA9\xE6\x96\x87\xF0\x9F\x98\x80"),
              u"A\u00E9\u6587\U0001F600");
    EXPECT_EQ(Utf8ToUtf16("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
    // Malformed input does not drop or misread the bytes around it.
    EXPECT_EQ(Utf8ToUtf16("a\xC0\x80z"), u"a\uFFFD\uFFFDz");
}

// Marks text as having come through the ANSI path, keeping the raw bytes.
std::u16string FakeAnsi(std::string_view bytes) {
    std::u16string text = u"ansi:";
    for (const char c : bytes) text.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return text;
}

TEST(DecodeLanguageFile, Utf8FileLosesItsBomAndNeverUsesTheCodePage) {
    int ansiCalls = 0;
    const auto ansi = [&](std::string_view b) { ++ansiCalls; return FakeAnsi(b); };
    const auto texts = DecodeLanguageFile("\xEF\xBB\xBF" "Title\r\n\xE6\xAC\xA2\xE8\xBF\x8E\r\n", ansi);
    ASSERT_EQ(texts.size(), kLanguageLineCount);
    EXPECT_EQ(texts[0], u"Title");
    EXPECT_EQ(texts[1], u"欢迎");
    EXPECT_EQ(texts[2], u"");
    EXPECT_EQ(ansiCalls, 0);
    // Only a leading BOM is dropped; one inside a line is text.
    EXPECT_EQ(DecodeLanguageFile("a\r\xEF\xBB\xBF" "b", ansi)[1], u"\uFEFFb");
}

TEST(DecodeLanguageFile, OneNonUtf8LineSendsTheWholeFileToTheCodePage) {
    // Line 1 is ASCII, line 2 is GBK: both go through the code page.
    const auto texts = DecodeLanguageFile("File\r\n\xCE\xC4\xBC\xFE\r\n", FakeAnsi);
    EXPECT_EQ(texts[0], u"ansi:File");
    EXPECT_EQ(texts[1], u"ansi:\u00CE\u00C4\u00BC\u00FE");
    EXPECT_EQ(texts[24], u"ansi:");
    // A BOM in front of invalid text is not a UTF-8 file: its bytes stay.
    EXPECT_EQ(DecodeLanguageFile("\xEF\xBB\xBF\xCE\xC4", FakeAnsi)[0],
              u"ansi:\u00EF\u00BB\u00BF\u00CE\u00C4");
    // Without a code page, ASCII survives and the rest is marked unreadable.
    EXPECT_EQ(DecodeLanguageFile("ab\xCE\xC4", nullptr)[0], u"ab\uFFFD\uFFFD");
}

TEST(DecodeLanguageFile, OnlyTheUsedLinesDecideTheEncoding) {
    // 25 UTF-8 lines, the last with `tail`, then a stray code-page byte in a
    // line no one reads.
    const auto file = [](const char* tail) {
        std::string bytes = "\xEF\xBB\xBF";
        for (std::size_t i = 1; i <= kLanguageLineCount; ++i) {
            bytes += "\xE6\xAC\xA2" + std::to_string(i) + (i == kLanguageLineCount ? tail : "") + "\r\n";
        }
        return bytes + "\xCE\r\n";
    };
    const auto texts = DecodeLanguageFile(file(""), FakeAnsi);
    EXPECT_EQ(texts[0], u"欢1");
    EXPECT_EQ(texts[24], u"欢25");
    // The same byte on line 25 does count.
    EXPECT_EQ(DecodeLanguageFile(file("\xCE"), FakeAnsi)[24], u"ansi:\u00E6\u00AC\u00A225\u00CE");
}

std::string ReadShipped(const std::string& name) {
    const std::string bytes = grabwell::testing::ReadSourceFile("resources/language/" + name);
    EXPECT_FALSE(bytes.empty()) << name;
    return bytes;
}

// The shipped files are UTF-8 without BOM, exactly 25 CR LF-terminated lines.
void ExpectShippedFormat(const std::string& bytes) {
    EXPECT_TRUE(IsValidUtf8(bytes));
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF");
    std::size_t crlf = 0;
    for (auto pos = bytes.find("\r\n"); pos != std::string::npos; pos = bytes.find("\r\n", pos + 2)) ++crlf;
    EXPECT_EQ(crlf, kLanguageLineCount);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), std::count(bytes.begin(), bytes.end(), '\n'));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), static_cast<std::ptrdiff_t>(crlf));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

// Whether the Chinese file's lines are the window's start-up texts, in the
// order the program reads them, is a question for the window itself
// (LanguageTest.EachLineRelabelsItsOwnTarget).
TEST(ShippedLanguageFiles, EnglishIsCompleteAndNotMistakenForChinese) {
    const std::string chinese = ReadShipped("chinese.lng");
    ExpectShippedFormat(chinese);
    const std::string bytes = ReadShipped("English.lng");
    ExpectShippedFormat(bytes);
    const auto texts = DecodeLanguageFile(bytes, FakeAnsi);
    ASSERT_EQ(texts.size(), kLanguageLineCount);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_FALSE(texts[i].empty()) << "line " << i + 1;
        // Shortcut hints are added by the program, never stored here.
        EXPECT_EQ(texts[i].find(u'\t'), std::u16string::npos) << "line " << i + 1;
        EXPECT_NE(texts[i].substr(0, 5), u"ansi:") << "line " << i + 1;
    }
    // The About box goes English by this line differing from the Chinese one.
    const std::size_t howto = LanguageLineOf(IDM_mnuHowto);
    ASSERT_LT(howto, kLanguageLineCount);
    EXPECT_NE(texts[howto], DecodeLanguageFile(chinese, FakeAnsi)[howto]);
    EXPECT_EQ(texts[howto], u"&Help Topics");
}

}  // namespace
}  // namespace grabwell::core
