// Language files read from disk: the encoding decision, the line endings and
// files that are not there.
#include "document/language_reader.h"

#include <gtest/gtest.h>

#include "tests/shared/source_tree.h"
#include "tests/win32/document_test_support.h"

namespace grabwell::document {
namespace {

using testing::TempFolder;

LanguageTexts ReadBytesAsLanguage(const std::string& bytes) {
    TempFolder temp;
    const std::wstring path = temp / L"test.lng";
    EXPECT_TRUE(testing::WriteBytes(path, bytes));
    return ReadLanguageFile(path);
}

std::wstring AnsiReference(const std::string& bytes) {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                        nullptr, 0);
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

TEST(LanguageReaderTest, Utf8WithAndWithoutByteOrderMark) {
    const std::string body = "\xE6\x88\xAA\xE5\x9B\xBE\r\n\xE6\xAC\xA2\xE8\xBF\x8E\r\n&File";
    for (const std::string& bytes : {body, "\xEF\xBB\xBF" + body}) {
        const LanguageTexts texts = ReadBytesAsLanguage(bytes);
        EXPECT_EQ(texts[0], L"\u622A\u56FE");
        EXPECT_EQ(texts[1], L"\u6B22\u8FCE");
        EXPECT_EQ(texts[2], L"&File");
        EXPECT_EQ(texts[3], L"");
    }
}

TEST(LanguageReaderTest, NotUtf8IsReadInTheAnsiCodePage) {
    // GBK for two Chinese words; as UTF-8 these bytes are malformed. The
    // second line is plain ASCII but follows the file's decision.
    const std::string gbkTitle = "\xBD\xD8\xCD\xBC";
    const std::string gbkWelcome = "\xBB\xB6\xD3\xAD\xCA\xB9\xD3\xC3";
    const LanguageTexts texts = ReadBytesAsLanguage(gbkTitle + "\r\n" + gbkWelcome + "\r\nOpen");
    EXPECT_EQ(texts[0], AnsiReference(gbkTitle));
    EXPECT_EQ(texts[1], AnsiReference(gbkWelcome));
    EXPECT_EQ(texts[2], L"Open");
    EXPECT_FALSE(texts[0].empty());
}

TEST(LanguageReaderTest, LinesEndAtCrOrCrLfButNotALoneLf) {
    const LanguageTexts texts = ReadBytesAsLanguage("one\rtwo\r\nthree\nstill three\r\rfive");
    EXPECT_EQ(texts[0], L"one");
    EXPECT_EQ(texts[1], L"two");
    EXPECT_EQ(texts[2], L"three\nstill three");
    EXPECT_EQ(texts[3], L"");
    EXPECT_EQ(texts[4], L"five");
    EXPECT_EQ(texts[5], L"");
}

TEST(LanguageReaderTest, OnlyTheFirstLinesAreUsed) {
    std::string bytes;
    for (int i = 0; i < 30; ++i) bytes += "line" + std::to_string(i) + "\r\n";
    const LanguageTexts texts = ReadBytesAsLanguage(bytes);
    EXPECT_EQ(texts.front(), L"line0");
    EXPECT_EQ(texts.back(), L"line24");
}

TEST(LanguageReaderTest, MissingOrUnreadableFileGivesEmptyTexts) {
    TempFolder temp;
    for (const std::wstring& path : {temp / L"missing.lng", temp.path(), std::wstring()}) {
        const LanguageTexts texts = ReadLanguageFile(path);
        for (const std::wstring& text : texts) EXPECT_EQ(text, L"");
    }
}

TEST(LanguageReaderTest, ShippedFilesRead) {
    const LanguageTexts english =
        ReadLanguageFile(testing::SourceTreePath("resources/language/English.lng").wstring());
    const std::size_t file = core::LanguageLineOf(IDM_mnuFile);
    ASSERT_LT(file, core::kLanguageLineCount);
    EXPECT_EQ(english[file], L"&File");
    const LanguageTexts chinese =
        ReadLanguageFile(testing::SourceTreePath("resources/language/chinese.lng").wstring());
    EXPECT_EQ(chinese[file], L"\u6587\u4EF6(&F)");
}

}  // namespace
}  // namespace grabwell::document
