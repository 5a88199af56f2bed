// Captures of a window the test owns, compared pixel for pixel, plus the
// screen, the foreground window, the palette branch and handle leaks.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdio>

#include "capture/capture_sources.h"
#include "capture/copy_window_area.h"
#include "platform/compositor.h"
#include "tests/win32/capture_test_support.h"
#include "tests/win32/process_gauges.h"
#include "tests/win32/test_window_env.h"

namespace capture = grabwell::capture;
namespace core = grabwell::core;
namespace platform = grabwell::platform;
namespace support = grabwell::testing;
using capture::Picture;
using grabwell::test::HandleSnapshot;
using support::BlockWindow;
using support::Pixels;
using support::ReadPixels;
using support::Rgb;

namespace {

// Every client pixel of the block window, found at `origin` in `pixels`.
void ExpectBlocksAt(const Pixels& pixels, POINT origin) {
    ASSERT_GE(pixels.width, origin.x + BlockWindow::kClientWidth);
    ASSERT_GE(pixels.height, origin.y + BlockWindow::kClientHeight);
    int wrong = 0;
    for (int y = 0; y < BlockWindow::kClientHeight; ++y) {
        for (int x = 0; x < BlockWindow::kClientWidth; ++x) {
            const auto want = Rgb(BlockWindow::BlockColour(x, y));
            const auto got = pixels.at(origin.x + x, origin.y + y);
            if (got != want && ++wrong <= 5) {
                ADD_FAILURE() << "client (" << x << "," << y << "): got " << std::hex << got
                              << " want " << want;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

class CaptureTest : public ::testing::Test {
protected:
    BlockWindow window;
};

// Exact colours need a true-colour screen: an indexed one dithers the blocks.
class ExactCaptureTest : public CaptureTest {
protected:
    void SetUp() override {
        if (support::PaletteScreen()) GTEST_SKIP() << "palette display";
    }
};

}  // namespace

TEST_F(ExactCaptureTest, ClientAreaCopyMatchesThePaintedBlocksExactly) {
    const Picture picture = capture::CopyWindowArea(window.hwnd(), true, 0, 0,
                                                    BlockWindow::kClientWidth,
                                                    BlockWindow::kClientHeight);
    ASSERT_FALSE(picture.empty());
    EXPECT_EQ(picture.size(), (core::Size{BlockWindow::kClientWidth, BlockWindow::kClientHeight}));
    EXPECT_EQ(picture.palette(), nullptr);  // true-colour display
    ExpectBlocksAt(ReadPixels(picture.handle()), {0, 0});

    // A part starting inside the client area: the source offset is honoured.
    const Picture part = capture::CopyWindowArea(window.hwnd(), true, 60, 6, 40, 44);
    const Pixels p = ReadPixels(part.handle());
    ASSERT_EQ(p.width, 40);
    EXPECT_EQ(p.at(0, 0), Rgb(RGB(0, 200, 0)));
    EXPECT_EQ(p.at(39, 43), Rgb(RGB(0, 200, 0)));
}

TEST_F(ExactCaptureTest, WholeWindowCopyShowsTheClientBelowTheFrame) {
    const POINT offset = window.ClientOffset();
    EXPECT_GT(offset.y, offset.x) << "a caption sits above the client area";
    RECT outer{};
    ASSERT_TRUE(::GetWindowRect(window.hwnd(), &outer));
    const Picture picture =
        capture::CopyWindowArea(window.hwnd(), false, 0, 0, outer.right - outer.left,
                                outer.bottom - outer.top);
    ASSERT_FALSE(picture.empty());
    const Pixels pixels = ReadPixels(picture.handle());
    ExpectBlocksAt(pixels, offset);
    // The frame is not client white: the copy really starts at the outer edge.
    EXPECT_NE(pixels.at(0, 0), Rgb(RGB(255, 255, 255)));

    // The form's own commands measure through twips and must land on the same sizes.
    for (double tpp : {15.0, 12.0, 7.5}) {
        const Picture form = capture::CaptureFormWindow(window.hwnd(), tpp, tpp);
        EXPECT_EQ(form.size(), (core::Size{outer.right - outer.left, outer.bottom - outer.top}));
        EXPECT_EQ(ReadPixels(form.handle()), pixels) << tpp;
        const Picture client = capture::CaptureFormClient(window.hwnd(), tpp, tpp);
        EXPECT_EQ(client.size(),
                  (core::Size{BlockWindow::kClientWidth, BlockWindow::kClientHeight}));
        ExpectBlocksAt(ReadPixels(client.handle()), {0, 0});
    }
}

TEST_F(ExactCaptureTest, WholeScreenHasTheScreenSizeAndShowsTheWindow) {
    const Picture screen = capture::CaptureWholeScreen();
    ASSERT_FALSE(screen.empty());
    EXPECT_EQ(screen.size(),
              (core::Size{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}));
    POINT origin{0, 0};
    ASSERT_TRUE(::ClientToScreen(window.hwnd(), &origin));
    ExpectBlocksAt(ReadPixels(screen.handle()), origin);
}

TEST_F(ExactCaptureTest, ForegroundWindowIsCapturedWithItsFrame) {
    ASSERT_TRUE(::SetForegroundWindow(window.hwnd()));
    grabwell::test::PumpMessages(50);
    ASSERT_EQ(::GetForegroundWindow(), window.hwnd());
    const capture::ForegroundCapture shot = capture::CaptureForegroundWindow();
    ASSERT_TRUE(shot.ok()) << static_cast<int>(shot.error);
    RECT outer{};
    ::GetWindowRect(window.hwnd(), &outer);
    EXPECT_EQ(shot.picture.size(),
              (core::Size{outer.right - outer.left, outer.bottom - outer.top}));
    ExpectBlocksAt(ReadPixels(shot.picture.handle()), window.ClientOffset());
}

TEST_F(CaptureTest, ImpossibleSizesGiveAnEmptyPictureAndLeakNothing) {
    platform::TheCompositor();  // once looked up, dwmapi stays for the process
    const HandleSnapshot before = HandleSnapshot::Now();
    EXPECT_TRUE(capture::CopyWindowArea(window.hwnd(), true, 0, 0, INT_MAX, INT_MAX).empty());
    EXPECT_TRUE(capture::CopyWindowArea(window.hwnd(), true, 0, 0, -5, 10).empty());
    EXPECT_TRUE(capture::CopyWindowArea(window.hwnd(), false, 0, 0, 0x40000, 0x40000).empty());
    // A window that is gone has no DC to copy from.
    HWND gone = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ::DestroyWindow(gone);
    EXPECT_TRUE(capture::CopyWindowArea(gone, true, 0, 0, 10, 10).empty());
    EXPECT_EQ(HandleSnapshot::Now(), before);
}

// Wine refuses a compatible bitmap of 0x7FFFFFF x 1 (512 MiB) for want of
// memory, while a DIB section that size is still granted. Copied from the
// window's own DC: a read of the X screen that wide ends the process.
TEST_F(ExactCaptureTest, OversizedCompatibleBitmapFallsBackToADibSection) {
    constexpr int kWide = 0x7FFFFFF;
    const auto dc = platform::unique_window_dc::Client(window.hwnd());
    HBITMAP refused = ::CreateCompatibleBitmap(dc.get(), kWide, 1);
    if (refused) {
        ::DeleteObject(refused);
        GTEST_SKIP() << "this GDI makes compatible bitmaps that wide";
    }
    const HandleSnapshot before = HandleSnapshot::Now();
    {
        const Picture picture = capture::CopyFromDc(dc.get(), 0, 10, kWide, 1);
        ASSERT_FALSE(picture.empty());
        EXPECT_EQ(picture.size(), (core::Size{kWide, 1}));
        DIBSECTION dib{};
        ASSERT_EQ(::GetObjectW(picture.handle(), sizeof(dib), &dib), int{sizeof(dib)});
        ASSERT_NE(dib.dsBm.bmBits, nullptr);
        const auto* row = static_cast<const std::uint32_t*>(dib.dsBm.bmBits);
        for (int x = 0; x < BlockWindow::kClientWidth; ++x) {
            EXPECT_EQ(row[x] & 0xFFFFFFu, Rgb(BlockWindow::BlockColour(x, 10))) << x;
        }
    }
    EXPECT_EQ(HandleSnapshot::Now(), before);
}

TEST_F(CaptureTest, ManyCapturesReleaseEveryHandle) {
    constexpr int kCycles = 20000;
    const HandleSnapshot before = HandleSnapshot::Now();
    int failures = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCycles; ++i) {
        const Picture p = capture::CopyWindowArea(window.hwnd(), true, i % 16, i % 8, 64, 64);
        if (p.empty() || p.size() != core::Size{64, 64}) ++failures;
    }
    const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    std::printf("[ info ] %d captures of 64x64 in %.2f s (%.1f us each)\n", kCycles,
                elapsed.count(), elapsed.count() * 1e6 / kCycles);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(HandleSnapshot::Now(), before);
}

TEST(SystemPaletteDecision, OnlyFullEightBitPaletteDevices) {
    EXPECT_TRUE(capture::UsesSystemPalette(RC_PALETTE | RC_BITBLT, 256));
    EXPECT_FALSE(capture::UsesSystemPalette(RC_PALETTE | RC_BITBLT, 16));
    EXPECT_FALSE(capture::UsesSystemPalette(RC_BITBLT, 256));  // palette size without the cap
    EXPECT_FALSE(capture::UsesSystemPalette(RC_BITBLT, 0));
}

TEST_F(ExactCaptureTest, ForcedSystemPaletteTravelsWithThePicture) {
    const HandleSnapshot before = HandleSnapshot::Now();
    {
        const Picture picture =
            capture::CopyWindowArea(window.hwnd(), true, 0, 0, BlockWindow::kClientWidth,
                                    BlockWindow::kClientHeight, capture::SystemPalette::Always);
        ASSERT_FALSE(picture.empty());
        ASSERT_NE(picture.palette(), nullptr);
        WORD entries = 0;
        ASSERT_EQ(::GetObjectW(picture.palette(), sizeof(entries), &entries), int{sizeof(entries)});
        EXPECT_EQ(entries, 256);
        // Neither handle may still be selected into a DC: both select again.
        HDC memory = ::CreateCompatibleDC(nullptr);
        EXPECT_NE(::SelectObject(memory, picture.handle()), nullptr);
        EXPECT_NE(::SelectPalette(memory, picture.palette(), FALSE), nullptr);
        ::DeleteDC(memory);
        // On a true-colour device the pixels are untouched by the palette.
        ExpectBlocksAt(ReadPixels(picture.handle()), {0, 0});
    }
    EXPECT_EQ(HandleSnapshot::Now(), before);
}

// Only an indexed screen (Xvfb at depth 8) runs this; Wine then reports
// RC_PALETTE with 256 entries and the branch is taken without forcing.
TEST_F(CaptureTest, OnAPaletteDisplayTheCaptureCarriesTheSystemPalette) {
    if (!support::PaletteScreen()) GTEST_SKIP() << "true-colour display";
    PALETTEENTRY system[256] = {};
    HDC screen = ::GetDC(nullptr);
    ASSERT_EQ(::GetSystemPaletteEntries(screen, 0, 256, system), 256u);
    ::ReleaseDC(nullptr, screen);
    const Picture picture = capture::CopyWindowArea(window.hwnd(), true, 0, 0, 32, 32);
    ASSERT_NE(picture.palette(), nullptr);
    PALETTEENTRY copied[256] = {};
    ASSERT_EQ(::GetPaletteEntries(picture.palette(), 0, 256, copied), 256u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(RGB(copied[i].peRed, copied[i].peGreen, copied[i].peBlue),
                  RGB(system[i].peRed, system[i].peGreen, system[i].peBlue)) << i;
    }
}
