// The capture commands as the window runs them: what each one takes, the
// unsaved flag, and the whole-screen capture leaving the program itself out.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "capture_test_support.h"
#include "test_window_env.h"

using namespace grabwell;
using grabwell::test::WindowTestEnv;

namespace {

// A plain window of one colour over the whole screen, just below the main
// window: what the screen shows wherever the main window is not. It lives on
// a thread of its own, as another program's window would, so it repaints
// while the window thread is busy capturing.
class Backdrop {
public:
    explicit Backdrop(COLORREF colour) {
        std::atomic<bool> ready{false};
        thread_ = std::thread([this, colour, &ready] {
            platform::unique_hbrush brush(::CreateSolidBrush(colour));
            WNDCLASSW wc{};
            wc.lpfnWndProc = ::DefWindowProcW;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hbrBackground = brush.get();
            wc.lpszClassName = L"GrabwellTestBackdrop";
            ::RegisterClassW(&wc);
            hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"GrabwellTestBackdrop", L"",
                                      WS_POPUP | WS_VISIBLE, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
                                      ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr);
            ::UpdateWindow(hwnd_);
            threadId_ = ::GetCurrentThreadId();
            ready = true;
            MSG msg{};
            while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
            ::DestroyWindow(hwnd_);
            ::UnregisterClassW(L"GrabwellTestBackdrop", ::GetModuleHandleW(nullptr));
        });
        while (!ready) ::Sleep(5);
    }
    ~Backdrop() {
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

private:
    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
    HWND hwnd_ = nullptr;
};

RECT OuterRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

}  // namespace

TEST(CaptureCommands, WholeScreenLeavesTheProgramsOwnWindowOut) {
    if (grabwell::testing::PaletteScreen()) GTEST_SKIP() << "exact colours need a true-colour screen";
    const COLORREF kBackdrop = RGB(250, 0, 250);
    Backdrop backdrop(kBackdrop);
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    // Both above anything else on the desktop (other tests' windows, other
    // programs), the main window above the backdrop.
    ::SetWindowPos(window->hwnd(), HWND_TOPMOST, 100, 80, 400, 300, SWP_SHOWWINDOW);
    test::PumpMessages(200);
    const RECT where = OuterRect(window->hwnd());

    window->RunCommand(core::CommandId::mnuScreen);
    EXPECT_TRUE(window->PictureUnsaved());
    EXPECT_TRUE(::IsWindowVisible(window->hwnd())) << "shown again after the capture";
    const auto& picture = window->CurrentPicture();
    ASSERT_FALSE(picture.empty());
    EXPECT_EQ(picture.size().cx, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(picture.size().cy, ::GetSystemMetrics(SM_CYSCREEN));

    const grabwell::testing::Pixels pixels = grabwell::testing::ReadPixels(picture.handle());
    int ours = 0;
    for (int y = where.top + 2; y < where.bottom - 2; y += 7) {
        for (int x = where.left + 2; x < where.right - 2; x += 7) {
            ours += pixels.at(x, y) != grabwell::testing::Rgb(kBackdrop);
        }
    }
    EXPECT_EQ(ours, 0) << "pixels of the main window's area are not the backdrop's, e.g. "
                       << std::hex << pixels.at((where.left + where.right) / 2, (where.top + where.bottom) / 2)
                       << " outside " << pixels.at(5, 5) << " far " << pixels.at(1000, 700);
}

TEST(CaptureCommands, CurrentWindowTakesTheFrameAndWorkAreaTheClientOnly) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    const RECT outer = OuterRect(window->hwnd());
    RECT client{};
    ::GetClientRect(window->hwnd(), &client);

    window->RunCommand(core::CommandId::mnuTitleBar);
    EXPECT_EQ(window->CurrentPicture().size().cx, outer.right - outer.left);
    EXPECT_EQ(window->CurrentPicture().size().cy, outer.bottom - outer.top);
    EXPECT_TRUE(window->PictureUnsaved());

    window->RunCommand(core::CommandId::mnuClient);
    EXPECT_EQ(window->CurrentPicture().size().cx, client.right);
    EXPECT_EQ(window->CurrentPicture().size().cy, client.bottom);
}

TEST(CaptureCommands, DelayedCaptureCancelChangesNothing) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    env.ui.answers = {IDCANCEL};
    window->RunCommand(core::CommandId::mnuAtiveWindow);
    ASSERT_EQ(env.ui.messages.size(), 1u);
    EXPECT_EQ(env.ui.messages[0].text,
              L"单击'确定'两秒钟之后程序会捕捉处于活动状态的窗口。单击'取消'退出捕获。");
    EXPECT_EQ(env.ui.messages[0].title, L"Grabwell");
    EXPECT_EQ(env.ui.messages[0].style, static_cast<UINT>(65));
    EXPECT_TRUE(window->CurrentPicture().empty());
    EXPECT_FALSE(window->PictureUnsaved());
    EXPECT_FALSE(::IsIconic(window->hwnd()));
}

// Nothing comes forward: the minimised window stays in front, and a strip
// of its caption is no picture of anything.
TEST(CaptureCommands, DelayedCaptureOfAMinimisedWindowKeepsThePicture) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    window->RunCommand(core::CommandId::mnuTitleBar);
    const HBITMAP kept = window->CurrentPicture().handle();
    env.ui.answers = {IDOK};
    window->RunCommand(core::CommandId::mnuAtiveWindow);
    EXPECT_EQ(window->CurrentPicture().handle(), kept);
    EXPECT_FALSE(::IsIconic(window->hwnd()));
}

TEST(CaptureCommands, DelayedCaptureTakesTheWindowBroughtToTheFrontAndComesBackNormal) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    ::ShowWindow(window->hwnd(), SW_MAXIMIZE);
    test::PumpMessages(50);

    // Another thread plays the user: during the wait it brings its own
    // window of a known size to the front.
    std::atomic<HWND> other{nullptr};
    std::thread user([&] {
        HWND w = ::CreateWindowExW(0, L"STATIC", L"the other window", WS_OVERLAPPEDWINDOW, 300, 200,
                                   321, 234, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::Sleep(600);
        ::ShowWindow(w, SW_SHOWNORMAL);
        ::SetForegroundWindow(w);
        other = w;
        test::PumpMessages(3500);
        ::DestroyWindow(w);
    });
    env.ui.answers = {IDOK};
    window->RunCommand(core::CommandId::mnuAtiveWindow);
    user.join();

    EXPECT_TRUE(window->PictureUnsaved());
    EXPECT_EQ(window->CurrentPicture().size().cx, 321);
    EXPECT_EQ(window->CurrentPicture().size().cy, 234);
    EXPECT_FALSE(::IsIconic(window->hwnd()));
    EXPECT_FALSE(::IsZoomed(window->hwnd())) << "normal, not maximized, afterwards";
}
