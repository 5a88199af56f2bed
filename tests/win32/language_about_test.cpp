// Switching the language from files the test writes, and the About box that
// follows the switch.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <map>
#include <set>

#include "app/menu_text.h"
#include "core/language_file.h"
#include "document/language_reader.h"
#include "resources/resource.h"
#include "tests/shared/source_tree.h"
#include "tests/win32/document_test_support.h"
#include "tests/win32/test_window_env.h"

using namespace grabwell;
namespace support = grabwell::testing;
using grabwell::test::Title;
using grabwell::test::WindowTestEnv;

namespace {

std::wstring Panel1(const app::FrmMain& window) { return test::StatusText(window, 0); }

std::wstring Caption(const app::FrmMain& window, UINT id) {
    return app::MenuCaption(::GetMenu(window.hwnd()), id);
}

std::wstring ShippedPath(const char* name) {
    return support::SourceTreePath(std::string("resources/language/") + name).wstring();
}

std::string ShippedFile(const char* name) {
    return support::ReadSourceFile(std::string("resources/language/") + name);
}

// What every one of the 25 targets shows: the title under key 0, the first
// status panel under key 1, each menu item under its id.
std::map<UINT, std::wstring> AllTargets(const app::FrmMain& window) {
    std::map<UINT, std::wstring> texts{{0, Title(window.hwnd())}, {1, Panel1(window)}};
    for (const test::MenuEntry& item : test::MenuEntries(::GetMenu(window.hwnd()))) {
        if (item.id != 0) texts.emplace(item.id, item.caption);
    }
    return texts;
}

class LanguageTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        std::filesystem::create_directories(env.folder() / L"language");
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
    EXPECT_EQ(Title(window->hwnd()), L"Grabwell");
    EXPECT_EQ(Panel1(*window), L"欢迎使用Grabwell");
    EXPECT_EQ(Caption(*window, IDM_mnuDistrict), L"自由捕获(&D)");
    EXPECT_EQ(Caption(*window, IDM_mnuAbout), L"关于Grabwell(&A)...");
    EXPECT_EQ(AboutTitle(), L"关于Grabwell");
}

// The shipped Chinese file holds the start-up texts in line order, so the
// start-up window says which target each line is for, independently of the
// program's own line table.
TEST_F(LanguageTest, EachLineRelabelsItsOwnTarget) {
    const std::map<UINT, std::wstring> startup = AllTargets(*window);
    ASSERT_EQ(startup.size(), core::kLanguageLineCount) << "title, panel and 23 menu items";
    const document::LanguageTexts chinese =
        document::ReadLanguageFile(ShippedPath("chinese.lng"));
    std::vector<UINT> targetOfLine;
    for (const std::wstring& line : chinese) {
        const auto found = std::find_if(startup.begin(), startup.end(),
                                        [&](const auto& target) { return target.second == line; });
        ASSERT_NE(found, startup.end()) << "no start-up text " << support::Utf8ForTrace(line);
        targetOfLine.push_back(found->first);
    }
    ASSERT_EQ(std::set<UINT>(targetOfLine.begin(), targetOfLine.end()).size(),
              core::kLanguageLineCount);

    std::string distinct;
    for (std::size_t i = 1; i <= core::kLanguageLineCount; ++i) {
        distinct += "line " + std::to_string(i) + "\r\n";
    }
    Write(L"English.lng", distinct);
    window->RunCommand(core::CommandId::mnuEnglish);
    const std::map<UINT, std::wstring> loaded = AllTargets(*window);
    for (std::size_t i = 0; i < targetOfLine.size(); ++i) {
        EXPECT_EQ(loaded.at(targetOfLine[i]), L"line " + std::to_wstring(i + 1))
            << "target " << targetOfLine[i];
    }

    Write(L"chinese.lng", ShippedFile("chinese.lng"));
    window->RunCommand(core::CommandId::mnuChinese);
    EXPECT_EQ(AllTargets(*window), startup);
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

// A file may carry a TAB of its own; the next file still gets the hint the
// item had at start-up, and an item that had none gets none.
TEST_F(LanguageTest, ShortcutHintsAreTheStartUpOnesWhateverAnEarlierFileSaid) {
    const auto fullText = [&](UINT id) {
        wchar_t text[128] = {};
        ::GetMenuStringW(::GetMenu(window->hwnd()), id, text, 127, MF_BYCOMMAND);
        return std::wstring(text);
    };
    const std::string lines = "T\r\nP\r\nF\r\nOpen\tCtrl+O\r\nSave\tF2\r\n";
    Write(L"English.lng", lines);
    window->RunCommand(core::CommandId::mnuEnglish);
    EXPECT_EQ(fullText(IDM_mnuOpen), L"Open\tCtrl+O");
    EXPECT_EQ(fullText(IDM_mnusave), L"Save\tF2\tCtrl+S");

    Write(L"chinese.lng", ShippedFile("chinese.lng"));
    window->RunCommand(core::CommandId::mnuChinese);
    EXPECT_EQ(fullText(IDM_mnuOpen), L"打开(&O)");
    EXPECT_EQ(fullText(IDM_mnusave), L"保存(&S)\tCtrl+S");
    EXPECT_EQ(fullText(IDM_mnuExit), L"退出(&X)\tCtrl+Q");
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
