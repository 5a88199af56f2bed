// Long runs: many captures of every kind, and many Open/Save cycles through
// the real commands. Nothing may pile up: every handle the program holds
// goes back to where it started, memory stays flat, the window still answers.
//
// The suite runs counts that fit its time; scripts/soak runs the full counts
// by setting GRABWELL_SOAK_CAPTURES and GRABWELL_SOAK_CYCLES.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <thread>

#include "capture/capture_sources.h"
#include "capture/copy_window_area.h"
#include "capture/free_rectangle_copy.h"
#include "tests/win32/document_test_support.h"
#include "tests/win32/process_gauges.h"
#include "tests/win32/test_window_env.h"

using namespace grabwell;
using grabwell::platform::HandleKind;
using grabwell::test::HandleSnapshot;
using grabwell::test::ProcessGauges;

namespace {

// Captures per kind in the suite, where they fit its time: a whole-screen
// copy of 1024 x 768 takes about 12 ms under Wine (an X GetImage each), and
// a trip through the clipboard about 2 ms, so those two run the full count
// only under scripts/soak.
constexpr int kSuiteCaptures = 20000;
constexpr int kSuiteScreenCaptures = 500;
constexpr int kSuiteClipboardCaptures = 2000;
constexpr int kSuiteCycles = 1000;

int CountFrom(const char* variable, int fallback) {
    const char* text = std::getenv(variable);
    const int value = text ? std::atoi(text) : 0;
    return value > 0 ? value : fallback;
}

// From another thread, as any other program's message would come, while this
// thread runs its loop: true when the window answered within the time.
bool AnswersFromAnotherThread(HWND window) {
    bool answered = false;
    std::thread asker([&] {
        DWORD_PTR result = 0;
        answered =
            ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
    });
    std::atomic<bool> done{false};
    std::thread waiter([&] {
        asker.join();
        done = true;
    });
    test::PumpMessages(5000, [&] { return done.load(); });
    waiter.join();
    return answered;
}

class SoakTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = env.MakeWindow();
        ASSERT_TRUE(window);
        ASSERT_TRUE(::SetWindowPos(window->hwnd(), nullptr, 40, 40, 480, 360,
                                   SWP_NOZORDER | SWP_NOACTIVATE));
        test::PumpMessages(50);
    }

    HWND hwnd() const { return window->hwnd(); }

    test::WindowTestEnv env;
    std::unique_ptr<app::FrmMain> window;
};

struct CaptureKind {
    const char* name;
    std::function<capture::Picture()> take;
    core::Size size;
    int suiteCount;
};

}  // namespace

TEST_F(SoakTest, ThousandsOfCapturesOfEveryKindGiveBackEveryHandle) {
    RECT outer{}, client{};
    ::GetWindowRect(hwnd(), &outer);
    ::GetClientRect(hwnd(), &client);
    POINT origin{0, 0};
    ::ClientToScreen(hwnd(), &origin);
    const core::Size outerSize{outer.right - outer.left, outer.bottom - outer.top};
    const core::Size clientSize{client.right, client.bottom};
    const core::Size screen{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const double tx = window->twipsPerPixelX(), ty = window->twipsPerPixelY();

    const CaptureKind kinds[] = {
        {"CopyWindowArea 200x150",
         [&] { return capture::CopyWindowArea(hwnd(), true, 10, 10, 200, 150); }, {200, 150},
         kSuiteCaptures},
        {"CaptureFormClient",
         [&] { return capture::CaptureFormClient(hwnd(), tx, ty); }, clientSize,
         kSuiteCaptures},
        {"CaptureFormWindow", [&] { return capture::CaptureFormWindow(hwnd(), tx, ty); }, outerSize,
         kSuiteCaptures},
        {"CaptureWholeScreen", [] { return capture::CaptureWholeScreen(); }, screen,
         kSuiteScreenCaptures},
        // The free rectangle's own path once the drag is over: the picture,
        // and its copy handed to the clipboard.
        {"free rectangle and clipboard",
         [&] {
             const int l = origin.x + 5, t = origin.y + 5, r = origin.x + 165, b = origin.y + 125;
             const capture::ScreenSnapshot still = capture::SnapshotScreenRect(l, t, r, b);
             capture::CopyScreenRectToClipboard(hwnd(), still, l, t, r, b);
             return capture::PictureOfScreenRect(still, l, t, r, b);
         },
         {160, 120}, kSuiteClipboardCaptures},
    };

    for (const CaptureKind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const int count = CountFrom("GRABWELL_SOAK_CAPTURES", kind.suiteCount);
        const ProcessGauges memoryBefore = ProcessGauges::Now();
        const HandleSnapshot before = HandleSnapshot::Now();
        int wrong = 0;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i) {
            if (kind.take().size() != kind.size) ++wrong;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        const HandleSnapshot after = HandleSnapshot::Now();
        const ProcessGauges memoryAfter = ProcessGauges::Now();
        std::printf("[ info ] %-30s %6d in %6.2f s: %6.0f/s; ", kind.name, count, took.count(),
                    count / took.count());
        test::PrintTo(memoryBefore, &std::cout);
        std::cout << " -> ";
        test::PrintTo(memoryAfter, &std::cout);
        std::cout << std::endl;
        EXPECT_EQ(wrong, 0);
        for (HandleKind k : {HandleKind::Dc, HandleKind::WindowDc, HandleKind::GdiObject,
                             HandleKind::Kernel}) {
            EXPECT_EQ(after[k], before[k]) << static_cast<int>(k);
        }
        test::PumpMessages(20);
    }
    EXPECT_TRUE(AnswersFromAnotherThread(hwnd()));
    // And it still works: a capture through the command lands in the window.
    window->RunCommand(core::CommandId::mnuClient);
    EXPECT_EQ(window->CurrentPicture().size(), clientSize);
}

TEST_F(SoakTest, ThousandOpenSaveCyclesThroughTheCommandsKeepHandlesAndMemoryFlat) {
    const int cycles = CountFrom("GRABWELL_SOAK_CYCLES", kSuiteCycles);
    window->InstallPicture(grabwell::testing::PatternPicture(320, 240));
    const std::wstring target = (env.folder() / L"cycle.bmp").wstring();
    int failed = 0;
    // Each save goes to a file that is gone first, so a save that did not
    // write leaves the open nothing to read and shows as an unchanged picture.
    const auto cycle = [&] {
        ::DeleteFileW(target.c_str());
        const HBITMAP before = window->CurrentPicture().handle();
        env.ui.fileChoices = {target, target};
        window->RunCommand(core::CommandId::mnusave);
        window->RunCommand(core::CommandId::mnuOpen);
        if (window->CurrentPicture().handle() == before ||
            window->CurrentPicture().size() != core::Size{320, 240}) {
            ++failed;
        }
    };
    // Caches and first-use allocations (codecs, COM) settle first.
    for (int i = 0; i < 20; ++i) cycle();
    test::PumpMessages(20);
    const HandleSnapshot handlesBefore = HandleSnapshot::Now();
    const ProcessGauges before = ProcessGauges::Now();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < cycles; ++i) cycle();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    test::PumpMessages(20);
    const ProcessGauges after = ProcessGauges::Now();
    std::printf("[ info ] %d open/save cycles of 320x240 in %.2f s (%.1f ms each)\n", cycles,
                took.count(), took.count() * 1000 / cycles);
    std::printf("[ info ] process before ");
    test::PrintTo(before, &std::cout);
    std::cout << " after ";
    test::PrintTo(after, &std::cout);
    std::cout << std::endl;

    EXPECT_EQ(failed, 0);
    EXPECT_EQ(HandleSnapshot::Now(), handlesBefore);
    ASSERT_TRUE(before.memoryKnown && after.memoryKnown) << "K32GetProcessMemoryInfo";
    EXPECT_LE(after.pagefileUsage, before.pagefileUsage + before.pagefileUsage / 20);
    EXPECT_LE(after.workingSet, before.workingSet + before.workingSet / 20);
    if (before.handlesKnown && after.handlesKnown) {
        EXPECT_LE(after.handles, before.handles + before.handles / 20);
    }
}
