// The window at the display's scale.
#include "test_window_env.h"

#include <gtest/gtest.h>

#include <string>

#include "core/rounding.h"

using namespace grabwell;
using grabwell::test::WindowTestEnv;

namespace {

RECT OuterRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

void SendDpiChange(HWND window, UINT dpi, RECT suggested) {
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    test::PumpMessages(30);
}

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

// The placement is stored in screen coordinates of the whole desktop, so it
// is written with the start-up ratio the next start reads it with, whatever
// the scale of the monitor the window was closed on.
TEST(DisplayScale, PlacementClosedOnAnotherScaleComesBackWhereItWas) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    const double tx = window->twipsPerPixelX();
    const UINT other = window->dpi() >= 144 ? 96 : 192;
    const RECT there{170, 90, 170 + 610, 90 + 470};
    SendDpiChange(window->hwnd(), other, there);
    ::SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    test::PumpMessages(30);
    ASSERT_FALSE(::IsWindow(window->hwnd()));
    EXPECT_EQ(platform::SettingsStore(env.settingsKey()).Read(L"MainLeft"),
              std::to_wstring(core::PixelsToTwips(there.left, tx)));

    auto next = env.MakeWindow();
    ASSERT_TRUE(next);
    const RECT back = OuterRect(next->hwnd());
    EXPECT_TRUE(back == there) << back.left << "," << back.top << " " << back.right - back.left << "x"
                               << back.bottom - back.top;
}
