// The viewport with the real controls: which bars show, their ranges, and how
// scrolling moves the picture.
#include <gtest/gtest.h>

#include "core/rounding.h"
#include "tests/win32/document_test_support.h"
#include "tests/win32/test_window_env.h"

using namespace grabwell;
using grabwell::test::WindowTestEnv;

namespace {

struct Bar {
    bool visible;
    int pos;
    int max;    // the highest position the thumb reaches
    int page;
    int thumb;  // thumb and track lengths in pixels, as the control draws them
    int track;
};

Bar BarOf(HWND bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(bar, SB_CTL, &info);
    SCROLLBARINFO drawn{};
    drawn.cbSize = sizeof(drawn);
    ::GetScrollBarInfo(bar, OBJID_CLIENT, &drawn);
    const RECT& r = drawn.rcScrollBar;
    const bool vertical = (::GetWindowLongW(bar, GWL_STYLE) & SBS_VERT) != 0;
    const int length = vertical ? r.bottom - r.top : r.right - r.left;
    const int arrow = ::GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
    // A control stops its thumb a page short of the range's end.
    const int highest = info.nMax - static_cast<int>(info.nPage > 0 ? info.nPage - 1 : 0);
    return {::IsWindowVisible(bar) != FALSE, info.nPos, highest, static_cast<int>(info.nPage),
            drawn.xyThumbBottom - drawn.xyThumbTop, length - 2 * arrow};
}

RECT ChildRect(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class ViewportTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure()) return;
        ::SetWindowPos(window->hwnd(), nullptr, 0, 0, 500, 400, SWP_NOZORDER);
        test::PumpMessages(30);
    }
    void Show(int width, int height) {
        window->InstallPicture(grabwell::testing::PatternPicture(width, height));
        window->LayoutViewport();
        test::PumpMessages(20);
    }
    // Viewport width and height in pixels, as the layout left them.
    SIZE Viewport() const {
        const RECT r = ChildRect(window->controls().picScroll);
        return {r.right - r.left, r.bottom - r.top};
    }
};

}  // namespace

TEST_F(ViewportTest, SmallPictureHidesBothBarsLargeShowsBothAtZero) {
    Show(50, 40);
    EXPECT_FALSE(BarOf(window->controls().HScroll1).visible);
    EXPECT_FALSE(BarOf(window->controls().VScroll1).visible);

    Show(3000, 2500);
    const Bar h = BarOf(window->controls().HScroll1);
    const Bar v = BarOf(window->controls().VScroll1);
    ASSERT_TRUE(h.visible);
    ASSERT_TRUE(v.visible);
    EXPECT_EQ(h.pos, 0);
    EXPECT_EQ(v.pos, 0);
    const SIZE vp = Viewport();
    const double tx = window->twipsPerPixelX();
    const double ty = window->twipsPerPixelY();
    // Max is the picture minus the viewport, in twips.
    EXPECT_EQ(h.max, static_cast<int>(core::RoundHalfEven(3000 * tx - vp.cx * tx)));
    EXPECT_EQ(v.max, static_cast<int>(core::RoundHalfEven(2500 * ty - vp.cy * ty)));
    const RECT pic = ChildRect(window->controls().PicBmp);
    EXPECT_EQ(pic.left, 0);
    EXPECT_EQ(pic.top, 0);
    EXPECT_EQ(pic.right - pic.left, 3000);
}

TEST_F(ViewportTest, ExactWidthFitsButExactHeightGetsABarWithRangeZero) {
    Show(5000, 5000);
    const SIZE withBars = Viewport();
    Show(withBars.cx, 5000);
    EXPECT_FALSE(BarOf(window->controls().HScroll1).visible) << "equal width fits";

    // With the horizontal bar hidden the viewport takes its room below; a
    // picture exactly that tall still gets a vertical bar, with range 0.
    Show(10, 5000);
    const SIZE tall = Viewport();
    Show(10, tall.cy);
    const Bar v = BarOf(window->controls().VScroll1);
    EXPECT_TRUE(v.visible);
    EXPECT_EQ(v.max, 0);
}

TEST_F(ViewportTest, ArrowsTrackClicksWheelAndKeysMoveThePicture) {
    Show(4000, 3000);
    const SIZE vp = Viewport();
    HWND main = window->hwnd();
    HWND hbar = window->controls().HScroll1;
    HWND vbar = window->controls().VScroll1;

    ::SendMessageW(main, WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(hbar));
    EXPECT_EQ(ChildRect(window->controls().PicBmp).left, -1) << "an arrow moves one pixel";

    ::SendMessageW(main, WM_HSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(hbar));
    ::SendMessageW(main, WM_VSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(vbar));
    const int third = core::TwipsToPixels(
        static_cast<double>(static_cast<int>(core::RoundHalfEven(vp.cy * window->twipsPerPixelY())) / 3),
        window->twipsPerPixelY());
    EXPECT_EQ(ChildRect(window->controls().PicBmp).top, -third) << "a track click moves a third";

    ::SendMessageW(main, WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(vbar));
    const RECT bottom = ChildRect(window->controls().PicBmp);
    EXPECT_EQ(bottom.bottom, vp.cy) << "at Max the far edge meets the viewport's";
    ::SendMessageW(main, WM_VSCROLL, SB_TOP, reinterpret_cast<LPARAM>(vbar));
    EXPECT_EQ(ChildRect(window->controls().PicBmp).top, 0);

    ::SendMessageW(main, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_LT(ChildRect(window->controls().PicBmp).top, 0) << "the wheel scrolls down";
    ::SendMessageW(main, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_LT(ChildRect(window->controls().PicBmp).left, 0) << "shift+wheel scrolls sideways";

    ::SendMessageW(main, WM_KEYDOWN, VK_HOME, 0);
    ::SendMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(ChildRect(window->controls().PicBmp).top, -1);
    ::SendMessageW(main, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(ChildRect(window->controls().PicBmp).bottom, vp.cy);
}

TEST_F(ViewportTest, HugePicturesScrollOverTheirWholeExtent) {
    // 12,000 pixels is 180,000 twips: far past a 16-bit scroll range.
    Show(12000, 100);
    HWND hbar = window->controls().HScroll1;
    const Bar h = BarOf(hbar);
    ASSERT_TRUE(h.visible);
    EXPECT_GT(h.max, 32767);
    ::SendMessageW(window->hwnd(), WM_HSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(hbar));
    const RECT pic = ChildRect(window->controls().PicBmp);
    EXPECT_EQ(pic.right, Viewport().cx);
    EXPECT_EQ(pic.left, Viewport().cx - 12000);
}

TEST_F(ViewportTest, ThumbIsAsLongAsTheShareOfThePictureInView) {
    HWND hbar = window->controls().HScroll1;
    const double tx = window->twipsPerPixelX();
    for (const int width : {1000, 3000, 12000}) {
        Show(width, 100);
        const Bar h = BarOf(hbar);
        ASSERT_TRUE(h.visible) << width;
        const int viewTwips = static_cast<int>(core::RoundHalfEven(Viewport().cx * tx));
        EXPECT_EQ(h.page, viewTwips) << width;
        EXPECT_EQ(h.max, static_cast<int>(core::RoundHalfEven(width * tx)) - viewTwips) << width;
        // The control rounds the thumb to whole pixels.
        EXPECT_NEAR(h.thumb, static_cast<double>(h.track) * Viewport().cx / width, 1.5) << width;
    }
    const int thin = BarOf(hbar).thumb;
    Show(1000, 100);
    EXPECT_GT(BarOf(hbar).thumb, 8 * thin) << "a picture 12 times as wide has a thumb 12 times as thin";
}

TEST_F(ViewportTest, ResizeResetsVisibleBarsAndMinimizedChangesNothing) {
    Show(4000, 3000);
    HWND hbar = window->controls().HScroll1;
    ::SendMessageW(window->hwnd(), WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(hbar));
    ASSERT_LT(ChildRect(window->controls().PicBmp).left, 0);
    ::SetWindowPos(window->hwnd(), nullptr, 0, 0, 520, 420, SWP_NOMOVE | SWP_NOZORDER);
    test::PumpMessages(20);
    EXPECT_EQ(BarOf(hbar).pos, 0);
    EXPECT_EQ(ChildRect(window->controls().PicBmp).left, 0);

    const SIZE before = Viewport();
    ::ShowWindow(window->hwnd(), SW_MINIMIZE);
    test::PumpMessages(20);
    window->LayoutViewport();
    const SIZE after = Viewport();
    EXPECT_EQ(before.cx, after.cx);
    EXPECT_EQ(before.cy, after.cy);
}

TEST_F(ViewportTest, ClearKeepsTheOldRangesUntilTheNextLayout) {
    Show(4000, 3000);
    const Bar before = BarOf(window->controls().HScroll1);
    window->RunCommand(core::CommandId::mnuClear);
    EXPECT_TRUE(window->CurrentPicture().empty());
    const Bar after = BarOf(window->controls().HScroll1);
    EXPECT_EQ(after.visible, before.visible);
    EXPECT_EQ(after.max, before.max);
}
