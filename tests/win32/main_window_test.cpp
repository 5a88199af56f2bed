// The real main window, created in the test process: its menu tree, toolbar,
// status bar and accelerators as a user meets them.
#include "test_window_env.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/toolbar.h"
#include "platform/date_text.h"
#include "platform/text.h"
#include "resources/resource.h"

using namespace grabwell;
using grabwell::test::WindowTestEnv;

namespace {

std::wstring ShortcutOf(HMENU menu, UINT id) {
    wchar_t text[256] = {};
    ::GetMenuStringW(menu, id, text, 255, MF_BYCOMMAND);
    const std::wstring s(text);
    const auto tab = s.find(L'\t');
    return tab == std::wstring::npos ? std::wstring() : s.substr(tab + 1);
}

}  // namespace

TEST(MainWindow, MenuTreeMatchesTheCommandTable) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    const std::vector<test::MenuEntry> actual = test::MenuEntries(::GetMenu(window->hwnd()));

    const std::vector<test::MenuEntry> expected{
        {0, L"文件(&F)", IDM_mnuFile},
        {1, L"打开(&O)", IDM_mnuOpen},
        {1, L"保存(&S)", IDM_mnusave},
        {1, L"-", 0},
        {1, L"取消捕获(&C)", IDM_mnuClear},
        {1, L"-", 0},
        {1, L"设置为墙纸", IDM_mnuWallpaper},
        {1, L"清除墙纸", IDM_mnuClearWall},
        {1, L"-", 0},
        {1, L"打印(&P)", IDM_mnuprint},
        {1, L"-", 0},
        {1, L"退出(&X)", IDM_mnuExit},
        {0, L"捕获(&C)", IDM_mnuCapture},
        {1, L"整个屏幕(&S)", IDM_mnuScreen},
        {1, L"自由捕获(&D)", IDM_mnuDistrict},
        {1, L"-", 0},
        {1, L"延时捕获(&A)", IDM_mnuAtiveWindow},
        {1, L"当前工作区(&C)", IDM_mnuClient},
        {1, L"-", 0},
        {1, L"当前窗口(&F)", IDM_mnuTitleBar},
        {1, L"滚动窗口(&S)", IDM_mnuScroll, true},
        {0, L"图像(&I)", IDM_mnuView},
        {1, L"用画图编辑", IDM_mnuMspaint},
        {1, L"-", 0},
        {1, L"选择语言(&L)", IDM_mnuLanguage},
        {2, L"简体中文(&C)", IDM_mnuChinese},
        {2, L"英语(&English)", IDM_mnuEnglish},
        {0, L"帮助(&H)", IDM_mnuhelp},
        {1, L"帮助主题(H)", IDM_mnuHowto},
        {1, L"-", 0},
        {1, L"关于Grabwell(&A)...", IDM_mnuAbout},
    };
    EXPECT_EQ(actual, expected);

    HMENU bar = ::GetMenu(window->hwnd());
    EXPECT_EQ(ShortcutOf(bar, IDM_mnusave), L"Ctrl+S");
    EXPECT_EQ(ShortcutOf(bar, IDM_mnuWallpaper), L"Ctrl+W");
    EXPECT_EQ(ShortcutOf(bar, IDM_mnuClearWall), L"Ctrl+C");
    EXPECT_EQ(ShortcutOf(bar, IDM_mnuExit), L"Ctrl+Q");
}

TEST(MainWindow, AcceleratorsAreCtrlSWCQ) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    ACCEL table[16] = {};
    const int count = ::CopyAcceleratorTableW(window->accelerators(), table, 16);
    ASSERT_EQ(count, 4);
    std::vector<std::pair<WORD, WORD>> keys;
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(table[i].fVirt & (FCONTROL | FVIRTKEY), FCONTROL | FVIRTKEY);
        EXPECT_EQ(table[i].fVirt & (FSHIFT | FALT), 0);
        keys.emplace_back(table[i].key, table[i].cmd);
    }
    const std::vector<std::pair<WORD, WORD>> expected{
        {'S', IDM_mnusave}, {'W', IDM_mnuWallpaper}, {'C', IDM_mnuClearWall}, {'Q', IDM_mnuExit}};
    EXPECT_EQ(keys, expected);
}

TEST(MainWindow, ToolbarShowsEveryRowOfItsTableAndAClickRunsTheRowsCommand) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    HWND toolbar = window->controls().Toolbar1;
    ASSERT_EQ(::SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), core::kToolbarButtonCount);
    auto* images = reinterpret_cast<HIMAGELIST>(::SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_EQ(images, window->controls().ImageList1.get());
    EXPECT_EQ(::ImageList_GetImageCount(images), core::kToolbarPictureCount);
    int cx = 0, cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(images, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);

    for (int position = 1; position <= core::kToolbarButtonCount; ++position) {
        SCOPED_TRACE("button " + std::to_string(position));
        const core::ToolbarButton& row = *core::ToolbarButtonAt(position);
        TBBUTTON button{};
        ASSERT_TRUE(::SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(position - 1),
                                   reinterpret_cast<LPARAM>(&button)));
        if (row.kind == core::ToolbarKind::Separator) {
            EXPECT_TRUE(button.fsStyle & BTNS_SEP);
            continue;
        }
        EXPECT_FALSE(button.fsStyle & BTNS_SEP);
        EXPECT_EQ(button.iBitmap, row.picture == 0 ? I_IMAGENONE : row.picture - 1);
        EXPECT_EQ(static_cast<UINT>(button.idCommand), app::MainControls::ToolbarButtonId(position));
        EXPECT_EQ(::SendMessageW(toolbar, TB_ISBUTTONENABLED, button.idCommand, 0) != 0,
                  row.command.has_value());

        // Ask the window for the tooltip exactly as the tooltip control does.
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = reinterpret_cast<HWND>(::SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
        info.hdr.idFrom = static_cast<UINT_PTR>(button.idCommand);
        info.hdr.code = TTN_GETDISPINFOW;
        ::SendMessageW(window->hwnd(), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
        if (row.tooltip.empty()) {
            EXPECT_EQ(info.lpszText, nullptr);
        } else {
            ASSERT_NE(info.lpszText, nullptr);
            EXPECT_EQ(std::wstring(info.lpszText), platform::Wide(row.tooltip));
        }
    }

    // A click arrives as the button's command id: positions without a
    // command do nothing, 2 opens the open dialog and 17 the About box.
    const auto click = [&](int position) {
        ::SendMessageW(window->hwnd(), WM_COMMAND,
                       MAKEWPARAM(app::MainControls::ToolbarButtonId(position), BN_CLICKED),
                       reinterpret_cast<LPARAM>(toolbar));
    };
    for (int position : {1, 4, 10, 11, 15, 18}) click(position);
    EXPECT_EQ(env.ui.openCalls, 0);
    EXPECT_TRUE(env.ui.messages.empty());
    click(2);
    EXPECT_EQ(env.ui.openCalls, 1);
    click(17);
    ASSERT_EQ(env.ui.messages.size(), 1u);
    EXPECT_EQ(env.ui.messages[0].title, L"关于Grabwell");
}

TEST(MainWindow, StatusBarShowsWelcomeAndStartTime) {
    WindowTestEnv env;
    SYSTEMTIME before{};
    ::GetLocalTime(&before);
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    SYSTEMTIME after{};
    ::GetLocalTime(&after);

    HWND status = window->controls().StatusBar1;
    int edges[4] = {};
    ASSERT_EQ(::SendMessageW(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(test::StatusText(*window, 0), L"欢迎使用Grabwell");
    const std::wstring shown = test::StatusText(*window, 1);
    EXPECT_FALSE(shown.empty());
    EXPECT_TRUE(shown == platform::GeneralDateText(before) || shown == platform::GeneralDateText(after))
        << "panel 2 does not hold the start-up time";

    // Panel 2 is 2000 twips; panel 1 takes the rest but never less than 2000.
    const int panel = static_cast<int>(2000 / window->twipsPerPixelX() + 0.5);
    RECT client{};
    ::GetClientRect(window->hwnd(), &client);
    EXPECT_EQ(edges[0], std::max(static_cast<int>(client.right) - panel, panel));
    ::SetWindowPos(window->hwnd(), nullptr, 0, 0, 150, 300, SWP_NOMOVE | SWP_NOZORDER);
    test::PumpMessages(30);
    ::SendMessageW(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(edges[0], panel);
    // The start time is never refreshed.
    ::Sleep(1100);
    test::PumpMessages(30);
    EXPECT_EQ(test::StatusText(*window, 1), shown);
}

TEST(MainWindow, StateFieldsStartFalse) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    EXPECT_FALSE(window->PictureUnsaved());
    EXPECT_FALSE(window->RegionSelecting());
    EXPECT_EQ(window->HelpProcessId(), 0u);
    EXPECT_EQ(test::Title(window->hwnd()), L"Grabwell");
}
