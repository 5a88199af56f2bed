// The window at the display's scale: toolbar pictures drawn for it in buttons
// grown with it, the first-run placement in its pixels, and a move to a
// monitor of another scale. run_at_display_scales.sh runs these at 96, 144
// and 192 dpi, naming the scale in GRABWELL_TEST_DPI; the plain run has the
// display's own.
#include "test_window_env.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "capture/capture_sources.h"
#include "capture/picture_file.h"
#include "core/rounding.h"
#include "core/toolbar.h"
#include "platform/dpi.h"
#include "resources/resource.h"

using namespace grabwell;
using grabwell::test::OuterRect;
using grabwell::test::WindowTestEnv;

namespace {

UINT HarnessDpi() {
    const char* named = std::getenv("GRABWELL_TEST_DPI");
    return named ? static_cast<UINT>(std::atoi(named)) : platform::SystemDpi();
}

struct ToolbarSeen {
    int pictureSize = 0;
    int pictureCount = 0;
    int buttonWidth = 0;
    int buttonHeight = 0;
    RECT lastButton{};
};

ToolbarSeen SeeToolbar(const app::FrmMain& window) {
    HWND toolbar = window.controls().Toolbar1;
    ToolbarSeen seen;
    auto* pictures = reinterpret_cast<HIMAGELIST>(::SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    EXPECT_EQ(pictures, window.controls().ImageList1.get());
    int cy = 0;
    ::ImageList_GetIconSize(pictures, &seen.pictureSize, &cy);
    EXPECT_EQ(cy, seen.pictureSize);
    seen.pictureCount = ::ImageList_GetImageCount(pictures);
    const auto size = static_cast<DWORD>(::SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0));
    seen.buttonWidth = LOWORD(size);
    seen.buttonHeight = HIWORD(size);
    ::SendMessageW(toolbar, TB_GETITEMRECT, core::kToolbarButtonCount - 1,
                   reinterpret_cast<LPARAM>(&seen.lastButton));
    return seen;
}

void ExpectDrawnFor(const ToolbarSeen& seen, UINT dpi) {
    const core::ToolbarMetrics metrics = core::ToolbarMetricsAt(static_cast<int>(dpi));
    EXPECT_EQ(seen.pictureSize, metrics.pictureSize) << dpi << " dpi";
    EXPECT_EQ(seen.pictureCount, core::kToolbarPictureCount) << dpi << " dpi";
    EXPECT_EQ(seen.buttonWidth, metrics.buttonWidth) << dpi << " dpi";
    EXPECT_EQ(seen.buttonHeight, metrics.buttonHeight) << dpi << " dpi";
}

int HeightOf(HWND window) {
    const RECT r = OuterRect(window);
    return r.bottom - r.top;
}

int IconWidth(HWND window, WPARAM which) {
    auto* icon = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, which, 0));
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

void SendDpiChange(HWND window, UINT dpi, RECT suggested) {
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    test::PumpMessages(30);
}

class DisplayScaleTest : public test::MainWindowTest {};

}  // namespace

TEST(DisplayScale, ArtworkIsDrawnForEveryScale) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (int size : core::kToolbarPictureSizes) {
        platform::unique_hbitmap strip(static_cast<HBITMAP>(::LoadImageW(
            instance, MAKEINTRESOURCEW(IDB_TOOLBAR + size), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ASSERT_TRUE(strip) << "no strip of " << size << "-pixel pictures";
        BITMAP bitmap{};
        ::GetObjectW(strip.get(), sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size * core::kToolbarPictureCount) << size;
        EXPECT_EQ(bitmap.bmHeight, size) << size;
    }
    // The icon holds an image of each size Windows shows it at, so none is
    // shrunk or blown up from another.
    HRSRC group = ::FindResourceW(instance, MAKEINTRESOURCEW(IDI_GRABWELL), RT_GROUP_ICON);
    ASSERT_TRUE(group);
    auto* directory = static_cast<BYTE*>(::LockResource(::LoadResource(instance, group)));
    ASSERT_TRUE(directory);
    for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
        const int id = ::LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        HRSRC image = ::FindResourceW(instance, MAKEINTRESOURCEW(id), RT_ICON);
        ASSERT_TRUE(image) << size;
        platform::unique_hicon icon(::CreateIconFromResourceEx(
            static_cast<BYTE*>(::LockResource(::LoadResource(instance, image))),
            ::SizeofResource(instance, image), TRUE, 0x00030000, 0, 0, LR_DEFAULTCOLOR));
        ASSERT_TRUE(icon) << size;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
        BITMAP bitmap{};
        ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        EXPECT_EQ(bitmap.bmWidth, size) << "the icon has no image of its own at " << size;
    }
}

TEST_F(DisplayScaleTest, ToolbarAndFirstRunPlacementFollowTheScale) {
    const UINT dpi = HarnessDpi();
    ASSERT_EQ(window->dpi(), dpi) << "the window does not see the display's scale";
    const ToolbarSeen seen = SeeToolbar(*window);
    ExpectDrawnFor(seen, dpi);
    EXPECT_GE(HeightOf(window->controls().Toolbar1), seen.buttonHeight);
    std::printf("display scale %u dpi: toolbar buttons %dx%d, pictures %dx%d\n", dpi, seen.buttonWidth,
                seen.buttonHeight, seen.pictureSize, seen.pictureSize);

    // 1000 and 6500 twips in this scale's pixels.
    struct Defaults {
        UINT dpi;
        int edge;
        int size;
    };
    for (const Defaults& d : {Defaults{96, 67, 433}, Defaults{144, 100, 650}, Defaults{192, 133, 867}}) {
        if (d.dpi != dpi) continue;
        const RECT r = OuterRect(window->hwnd());
        EXPECT_EQ(r.left, d.edge);
        EXPECT_EQ(r.top, d.edge);
        EXPECT_EQ(r.right - r.left, d.size);
        EXPECT_EQ(r.bottom - r.top, d.size);
    }

    // A Windows path into the harness's folder for screenshots.
    if (const wchar_t* shots = ::_wgetenv(L"GRABWELL_TEST_SHOTS")) {
        test::PumpMessages(200);
        const capture::Picture shot = capture::CaptureFormWindow(
            window->hwnd(), window->twipsPerPixelX(), window->twipsPerPixelY());
        const std::wstring file = std::wstring(shots) + L"\\display-scale-" + std::to_wstring(dpi) + L".bmp";
        EXPECT_TRUE(capture::SavePictureFile(shot, file));
    }
}

TEST_F(DisplayScaleTest, MovingToAnotherScaleRedrawsTheToolbarAndTakesTheSuggestedRectangle) {
    HWND main = window->hwnd();
    const UINT start = window->dpi();
    const RECT startRect = OuterRect(main);
    const ToolbarSeen before = SeeToolbar(*window);
    const int statusBefore = HeightOf(window->controls().StatusBar1);
    const UINT other = start >= 144 ? 96 : 192;

    const RECT suggested{30, 20, 30 + 640, 20 + 520};
    SendDpiChange(main, other, suggested);
    EXPECT_EQ(window->dpi(), other);
    const RECT moved = OuterRect(main);
    EXPECT_TRUE(::EqualRect(&moved, &suggested));
    const ToolbarSeen after = SeeToolbar(*window);
    ExpectDrawnFor(after, other);
    // Everything measured in pixels follows: the bars' heights and the
    // viewport between them.
    const int toolbarHeight = HeightOf(window->controls().Toolbar1);
    EXPECT_GE(toolbarHeight, after.buttonHeight);
    // The status bar's font is the one for the new scale; Wine's bar keeps a
    // minimum height from the system's scale, so only growth shows in it.
    NONCLIENTMETRICSW metrics{};
    ASSERT_TRUE(platform::NonClientMetricsForDpi(metrics, other));
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window->controls().StatusBar1, WM_GETFONT, 0, 0)),
                 sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, metrics.lfStatusFont.lfHeight);
    if (other > start) {
        EXPECT_GT(HeightOf(window->controls().StatusBar1), statusBefore);
    }
    RECT viewport = OuterRect(window->controls().picScroll);
    ::MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&viewport), 2);
    EXPECT_EQ(viewport.top, toolbarHeight);
    EXPECT_EQ(IconWidth(main, ICON_SMALL), platform::SystemMetricForDpi(SM_CXSMICON, other));
    EXPECT_EQ(IconWidth(main, ICON_BIG), platform::SystemMetricForDpi(SM_CXICON, other));

    // And back: the toolbar is exactly as it was, separators included.
    SendDpiChange(main, start, startRect);
    const ToolbarSeen back = SeeToolbar(*window);
    ExpectDrawnFor(back, start);
    EXPECT_TRUE(::EqualRect(&back.lastButton, &before.lastButton));
    EXPECT_EQ(HeightOf(window->controls().StatusBar1), statusBefore);
}

// The placement is stored in screen coordinates of the whole desktop, so it
// is written with the start-up ratio the next start reads it with, whatever
// the scale of the monitor the window was closed on.
TEST_F(DisplayScaleTest, PlacementClosedOnAnotherScaleComesBackWhereItWas) {
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
    EXPECT_TRUE(::EqualRect(&back, &there))
        << back.left << "," << back.top << " " << back.right - back.left << "x" << back.bottom - back.top;
}
