#include "core/about_text.h"

#include <array>
#include <cstddef>

namespace grabwell::core {

namespace {

constexpr std::u16string_view kChineseHowto = u"帮助主题(H)";
constexpr std::u16string_view kWebSite = u"https://grabwell.example.org";
constexpr std::u16string_view kMail = u"grabwell@example.org";

std::u16string JoinLines(const std::array<std::u16string_view, 8>& lines) {
    std::u16string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != 0) text += u"\r\n";
        text += lines[i];
    }
    return text;
}

}  // namespace

AboutBox BuildAboutBox(std::u16string_view howtoCaption) {
    if (howtoCaption == kChineseHowto) {
        return {u"关于Grabwell",
                JoinLines({u"Grabwell", u"", u"作者：Grabwell 开发组",
                           u" 编译于:2005年8月1日", u"",
                           u"版权所有 (C) 2005 Grabwell 开发组，保留所有权利。", kWebSite,
                           kMail})};
    }
    return {u"About Grabwell",
            JoinLines({u"Grabwell", u"", u"Written by the Grabwell developers",
                       u"Compiled On: August,1, 2005", u"",
                       u"Copyright (C) 2005 the Grabwell developers. All rights reserved.",
                       kWebSite, kMail})};
}

}  // namespace grabwell::core
