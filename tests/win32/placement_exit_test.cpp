// Window placement kept between runs, and Exit ending the help viewer.
#include <gtest/gtest.h>

#include "core/rounding.h"
#include "test_window_env.h"

using namespace grabwell;
using grabwell::test::WindowTestEnv;

namespace {

RECT OuterRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

std::optional<std::wstring> Stored(const WindowTestEnv& env, const wchar_t* name) {
    return platform::SettingsStore(env.settingsKey()).Read(name);
}

// The window's outer frame, in the twips the settings store holds.
void ExpectFrameInTwips(const app::FrmMain& window, double left, double top, double width,
                        double height) {
    const double tx = window.twipsPerPixelX();
    const double ty = window.twipsPerPixelY();
    const RECT r = OuterRect(window.hwnd());
    EXPECT_EQ(r.left, core::TwipsToPixels(left, tx));
    EXPECT_EQ(r.top, core::TwipsToPixels(top, ty));
    EXPECT_EQ(r.right - r.left, core::TwipsToPixels(width, tx));
    EXPECT_EQ(r.bottom - r.top, core::TwipsToPixels(height, ty));
}

// A start with these values stored.
std::unique_ptr<app::FrmMain> StartWith(WindowTestEnv& env,
                                        std::initializer_list<std::pair<const wchar_t*, std::wstring>> values) {
    const platform::SettingsStore store(env.settingsKey());
    for (const auto& [name, text] : values) store.Write(name, text);
    return env.MakeWindow();
}

void CloseLikeTheUser(app::FrmMain& window) {
    ::SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    test::PumpMessages(50);
}

}  // namespace

TEST(Placement, FirstRunUsesDefaultsAndCloseStoresTheFrame) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    ExpectFrameInTwips(*window, 1000, 1000, 6500, 6500);
    EXPECT_FALSE(Stored(env, L"MainLeft").has_value());
    const double tx = window->twipsPerPixelX();
    const double ty = window->twipsPerPixelY();

    ::SetWindowPos(window->hwnd(), nullptr, 40, 30, 500, 400, SWP_NOZORDER);
    CloseLikeTheUser(*window);
    EXPECT_FALSE(::IsWindow(window->hwnd()));
    EXPECT_EQ(Stored(env, L"MainLeft"), std::to_wstring(core::PixelsToTwips(40, tx)));
    EXPECT_EQ(Stored(env, L"MainTop"), std::to_wstring(core::PixelsToTwips(30, ty)));
    EXPECT_EQ(Stored(env, L"MainWidth"), std::to_wstring(core::PixelsToTwips(500, tx)));
    EXPECT_EQ(Stored(env, L"MainHeight"), std::to_wstring(core::PixelsToTwips(400, ty)));

    // The next start comes back at the same place.
    auto again = env.MakeWindow();
    ASSERT_TRUE(again);
    const RECT back = OuterRect(again->hwnd());
    EXPECT_EQ(back.left, 40);
    EXPECT_EQ(back.top, 30);
    EXPECT_EQ(back.right - back.left, 500);
    EXPECT_EQ(back.bottom - back.top, 400);
}

TEST(Placement, MinimizedCloseWritesNothing) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    ::SetWindowPos(window->hwnd(), nullptr, 50, 60, 420, 380, SWP_NOZORDER);
    CloseLikeTheUser(*window);
    const auto storedLeft = Stored(env, L"MainLeft");
    ASSERT_TRUE(storedLeft.has_value());

    auto second = env.MakeWindow();
    ASSERT_TRUE(second);
    ::SetWindowPos(second->hwnd(), nullptr, 200, 210, 300, 310, SWP_NOZORDER);
    ::ShowWindow(second->hwnd(), SW_MINIMIZE);
    test::PumpMessages(50);
    ASSERT_TRUE(::IsIconic(second->hwnd()));
    CloseLikeTheUser(*second);
    EXPECT_EQ(Stored(env, L"MainLeft"), storedLeft);
    EXPECT_EQ(Stored(env, L"MainWidth"), std::to_wstring(core::PixelsToTwips(420, second->twipsPerPixelX())));
}

TEST(Placement, MaximizedCloseStoresMaximizedBoundsAndNextStartIsNormal) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    ::ShowWindow(window->hwnd(), SW_MAXIMIZE);
    test::PumpMessages(50);
    ASSERT_TRUE(::IsZoomed(window->hwnd()));
    const RECT maximized = OuterRect(window->hwnd());
    CloseLikeTheUser(*window);
    EXPECT_EQ(Stored(env, L"MainWidth"),
              std::to_wstring(core::PixelsToTwips(maximized.right - maximized.left, window->twipsPerPixelX())));
    EXPECT_EQ(Stored(env, L"MainLeft"),
              std::to_wstring(core::PixelsToTwips(maximized.left, window->twipsPerPixelX())));

    auto next = env.MakeWindow();
    ASSERT_TRUE(next);
    EXPECT_FALSE(::IsZoomed(next->hwnd()));
    const RECT r = OuterRect(next->hwnd());
    EXPECT_EQ(r.left, maximized.left);
    EXPECT_EQ(r.right - r.left, maximized.right - maximized.left);
    EXPECT_EQ(r.bottom - r.top, maximized.bottom - maximized.top);
}

TEST(Placement, GarbageValuesFallBackToEachKeysDefault) {
    WindowTestEnv env;
    auto window = StartWith(
        env, {{L"MainLeft", L"abc"}, {L"MainTop", L"-45"}, {L"MainWidth", L""}, {L"MainHeight", L"1e99"}});
    ASSERT_TRUE(window);
    ExpectFrameInTwips(*window, 1000, -45, 6500, 6500);  // off screen is applied as stored
}

// Off every monitor (a second one unplugged since) the window comes back onto
// the nearest work area with its size; partly visible, it stays as stored.
TEST(Placement, AFrameNoMonitorShowsComesBackOntoTheNearestWorkArea) {
    RECT work{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    WindowTestEnv env;
    auto window = StartWith(env, {{L"MainLeft", L"100000"}, {L"MainTop", L"1500"}});
    ASSERT_TRUE(window);
    const double tx = window->twipsPerPixelX();
    const int top = core::TwipsToPixels(1500, window->twipsPerPixelY());
    const int width = core::TwipsToPixels(6500, tx);
    ASSERT_GT(core::TwipsToPixels(100000, tx), work.right) << "the stored frame must be off screen";
    RECT r = OuterRect(window->hwnd());
    EXPECT_EQ(r.right, work.right);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, core::TwipsToPixels(6500, window->twipsPerPixelY()));
    window.reset();

    // 33 pixels of it still show at the left.
    const int left = work.left + 33 - width;
    window = StartWith(env, {{L"MainLeft", std::to_wstring(core::PixelsToTwips(left, tx))}});
    ASSERT_TRUE(window);
    r = OuterRect(window->hwnd());
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
}

TEST(Exit, EndsTheHelpViewerByItsHandleAndSkipsTheUnloadPath) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    window->RunCommand(core::CommandId::mnuHowto);
    const DWORD id = window->HelpProcessId();
    ASSERT_NE(id, 0u) << "the help command did not start Notepad";
    platform::unique_handle watcher(::OpenProcess(SYNCHRONIZE, FALSE, id));
    ASSERT_TRUE(watcher);
    EXPECT_EQ(::WaitForSingleObject(watcher.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

    ::SetWindowPos(window->hwnd(), nullptr, 10, 10, 300, 300, SWP_NOZORDER);
    window->RunCommand(core::CommandId::mnuExit);
    EXPECT_EQ(::WaitForSingleObject(watcher.get(), 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_FALSE(::IsWindow(window->hwnd()));
    // Exit does not write the placement.
    EXPECT_FALSE(Stored(env, L"MainLeft").has_value());
}

TEST(Exit, WithoutHelpEndsOnlyTheWindow) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->HelpProcessId(), 0u);
    window->RunCommand(core::CommandId::mnuExit);
    EXPECT_FALSE(::IsWindow(window->hwnd()));
}
