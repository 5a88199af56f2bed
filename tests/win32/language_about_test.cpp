// Switching the language from files the test writes, and the About box that
// follows the switch.
#include <gtest/gtest.h>

#include <fstream>

#include "app/menu_text.h"
#include "core/language_file.h"
#include "resources/resource.h"
#include "test_window_env.h"

using namespace grabwell;
using grabwell::test::Title;
using grabwell::test::WindowTestEnv;

namespace {

std::wstring Panel1(const app::FrmMain& window) {
    wchar_t text[512] = {};
    ::SendMessageW(window.controls().StatusBar1, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring Caption(const app::FrmMain& window, UINT id) {
    return app::MenuCaption(::GetMenu(window.hwnd()), id);
}

std::string ShippedFile(const char* name) {
    std::string path = std::string(GRABWELL_SOURCE_DIR) + "/resources/language/" + name;
    for (auto& c : path) c = c == '/' ? '\\' : c;
    std::ifstream in("Z:" + path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(env.folder() / L"language");
        window = env.MakeWindow();
        ASSERT_TRUE(window);
    }
    void Write(const wchar_t* name, const std::string& bytes) {
        std::ofstream(env.folder() / L"language" / name, std::ios::binary) << bytes;
    }
    void Remove(const wchar_t* name) { std::filesystem::remove(env.folder() / L"language" / name); }
    std::wstring AboutTitle() {
        env.ui.messages.clear();
        window->RunCommand(core::CommandId::mnuAbout);
        return env.ui.messages.empty() ? L"<none>" : env.ui.messages.back().title;
    }
    WindowTestEnv env;
    std::unique_ptr<app::FrmMain> window;
};

}  // namespace

TEST_F(LanguageTest, EnglishThenChineseRelabelsAllTargetsAndTheAboutBoxFollows) {
    EXPECT_EQ(AboutTitle(), L"关于Grabwell") << "Chinese at start-up";
    Write(L"English.lng", ShippedFile("English.lng"));
    Write(L"chinese.lng", ShippedFile("chinese.lng"));

    window->RunCommand(core::CommandId::mnuEnglish);
    EXPECT_EQ(Title(window->hwnd()), L"Grabwell");
    EXPECT_EQ(Panel1(*window), L"Welcome to Grabwell");
    EXPECT_EQ(Caption(*window, IDM_mnuFile), L"&File");
    EXPECT_EQ(Caption(*window, IDM_mnuHowto), L"&Help Topics");
    EXPECT_EQ(AboutTitle(), L"About Grabwell");
    ASSERT_FALSE(env.ui.messages.empty());
    EXPECT_EQ(env.ui.messages.back().style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));

    // Shortcut hints stay with their items in either language.
    wchar_t full[128] = {};
    ::GetMenuStringW(::GetMenu(window->hwnd()), IDM_mnusave, full, 127, MF_BYCOMMAND);
    EXPECT_NE(std::wstring(full).find(L"\tCtrl+S"), std::wstring::npos);

    window->RunCommand(core::CommandId::mnuChinese);
    const auto& texts = core::ChineseStartupTexts();
    EXPECT_EQ(Title(window->hwnd()), L"Grabwell");
    EXPECT_EQ(Panel1(*window), std::wstring(texts[1].begin(), texts[1].end()));
    EXPECT_EQ(Caption(*window, IDM_mnuDistrict), L"自由捕获(&D)");
    EXPECT_EQ(Caption(*window, IDM_mnuAbout), L"关于Grabwell(&A)...");
    EXPECT_EQ(AboutTitle(), L"关于Grabwell");
}

TEST_F(LanguageTest, ShortFileBlanksTheRestAndMissingFileBlanksEverything) {
    Write(L"English.lng", "Title\r\nPanel\r\nFile menu\r\n");
    window->RunCommand(core::CommandId::mnuEnglish);
    EXPECT_EQ(Title(window->hwnd()), L"Title");
    EXPECT_EQ(Panel1(*window), L"Panel");
    EXPECT_EQ(Caption(*window, IDM_mnuFile), L"File menu");
    EXPECT_EQ(Caption(*window, IDM_mnuOpen), L"");
    EXPECT_EQ(Caption(*window, IDM_mnuHowto), L"");
    EXPECT_EQ(AboutTitle(), L"About Grabwell");

    Remove(L"English.lng");
    window->RunCommand(core::CommandId::mnuEnglish);
    EXPECT_EQ(Title(window->hwnd()), L"");
    EXPECT_EQ(Panel1(*window), L"");
    EXPECT_EQ(Caption(*window, IDM_mnuFile), L"");
    // The menu keeps its structure and states.
    EXPECT_EQ(::GetMenuState(::GetMenu(window->hwnd()), IDM_mnuScroll, MF_BYCOMMAND) & MF_GRAYED,
              static_cast<UINT>(MF_GRAYED));

    Write(L"chinese.lng", ShippedFile("chinese.lng"));
    window->RunCommand(core::CommandId::mnuChinese);
    EXPECT_EQ(Caption(*window, IDM_mnuHowto), L"帮助主题(H)");
    EXPECT_EQ(AboutTitle(), L"关于Grabwell");
}

TEST_F(LanguageTest, LineFeedOnlyFileIsOneLine) {
    Write(L"English.lng", "one\ntwo\nthree");
    window->RunCommand(core::CommandId::mnuEnglish);
    EXPECT_EQ(Title(window->hwnd()), L"one\ntwo\nthree");
    EXPECT_EQ(Panel1(*window), L"");
    EXPECT_EQ(Caption(*window, IDM_mnuFile), L"");
}

TEST_F(LanguageTest, AboutTextHasEightLinesAndNoTrailingBreak) {
    window->RunCommand(core::CommandId::mnuAbout);
    ASSERT_EQ(env.ui.messages.size(), 1u);
    const std::wstring& text = env.ui.messages[0].text;
    int breaks = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) breaks += text[i] == L'\r' && text[i + 1] == L'\n';
    EXPECT_EQ(breaks, 7);
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.find(L"\r\n 编译于:2005年8月1日\r\n"), std::wstring::npos);
}
