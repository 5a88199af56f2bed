#include "core/about_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace grabwell::core {
namespace {

std::vector<std::u16string> Lines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(u"\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::u16string::npos) return lines;
        start = end + 2;
    }
}

TEST(AboutBox, ChineseOnlyForTheExactChineseHelpTopicsCaption) {
    EXPECT_EQ(BuildAboutBox(u"帮助主题(H)").title, u"关于Grabwell");
    for (const std::u16string_view other :
         {u"", u"&Help Topics", u"帮助主题(&H)", u"帮助主题(h)", u" 帮助主题(H)",
          u"帮助主题(H) ", u"帮助主题"}) {
        EXPECT_EQ(BuildAboutBox(other).title, u"About Grabwell");
    }
}

TEST(AboutBox, EightCrLfSeparatedLinesWithoutTrailingLineEnd) {
    for (const std::u16string_view caption : {u"帮助主题(H)", u"&Help Topics"}) {
        const AboutBox box = BuildAboutBox(caption);
        const auto lines = Lines(box.text);
        ASSERT_EQ(lines.size(), 8u);
        EXPECT_EQ(lines[0], u"Grabwell");
        EXPECT_EQ(lines[1], u"");
        EXPECT_EQ(lines[4], u"");
        EXPECT_EQ(lines[6], u"https://grabwell.example.org");
        EXPECT_EQ(lines[7], u"grabwell@example.org");
    }
}

TEST(AboutBox, LinesThatDifferByLanguage) {
    const auto zh = Lines(BuildAboutBox(u"帮助主题(H)").text);
    EXPECT_EQ(zh[2], u"作者：Grabwell 开发组");
    EXPECT_EQ(zh[3], u" 编译于:2005年8月1日");
    EXPECT_EQ(zh[5], u"版权所有 (C) 2005 Grabwell 开发组，保留所有权利。");
    const auto en = Lines(BuildAboutBox(u"&Help Topics").text);
    EXPECT_EQ(en[2], u"Written by the Grabwell developers");
    EXPECT_EQ(en[3], u"Compiled On: August,1, 2005");
    EXPECT_EQ(en[5], u"Copyright (C) 2005 the Grabwell developers. All rights reserved.");
}

}  // namespace
}  // namespace grabwell::core
