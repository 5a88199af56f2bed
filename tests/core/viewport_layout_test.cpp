#include "core/viewport_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace grabwell::core {
namespace {

// A 96-dpi window: 9000 x 6000 twips inside, 420 toolbar, 315 status bar,
// so the viewport is 8745 x 5010 with both bars shown.
constexpr double kW = 9000 - 255;
constexpr double kH = 6000 - 255 - 315 - 420;

ViewportInput Window(double pictureWidth, double pictureHeight) {
    ViewportInput in;
    in.clientWidth = 9000;
    in.clientHeight = 6000;
    in.toolbarHeight = 420;
    in.statusBarHeight = 315;
    in.pictureWidth = pictureWidth;
    in.pictureHeight = pictureHeight;
    in.previousViewportWidth = 1000;
    in.previousViewportHeight = 800;
    return in;
}

TEST(ViewportLayout, MinimizedChangesNothing) {
    ViewportInput in = Window(100000, 100000);
    in.minimized = true;
    const ViewportLayout out = ComputeViewportLayout(in);
    EXPECT_FALSE(out.changed);
    EXPECT_FALSE(out.h.value.has_value());
    EXPECT_FALSE(out.v.value.has_value());
}

TEST(ViewportLayout, SmallPictureHidesBothBarsAndViewportTakesTheirRoom) {
    const ViewportLayout out = ComputeViewportLayout(Window(1500, 1500));
    ASSERT_TRUE(out.changed);
    EXPECT_EQ(out.viewportLeft, 0);
    EXPECT_EQ(out.viewportTop, 420);
    EXPECT_EQ(out.viewportWidth, kW + 255);
    EXPECT_EQ(out.viewportHeight, kH + 255);
    // The bars themselves are placed by the size before growing.
    EXPECT_EQ(out.hScrollTop, 420 + kH);
    EXPECT_EQ(out.hScrollWidth, kW);
    EXPECT_EQ(out.vScrollLeft, kW);
    EXPECT_EQ(out.vScrollHeight, kH);
    for (const ScrollBarLayout* bar : {&out.h, &out.v}) {
        EXPECT_FALSE(bar->visible);
        EXPECT_EQ(bar->value, 0);  // an earlier scroll must not stay applied
        EXPECT_FALSE(bar->max.has_value());
    }
}

TEST(ViewportLayout, LargePictureShowsBothBarsAtZero) {
    const ViewportLayout out = ComputeViewportLayout(Window(20000, 12000));
    EXPECT_EQ(out.viewportWidth, kW);
    EXPECT_EQ(out.viewportHeight, kH);
    EXPECT_TRUE(out.h.visible);
    EXPECT_EQ(out.h.value, 0);
    EXPECT_EQ(out.h.max, 20000 - 8745);
    EXPECT_EQ(out.h.page, 8745);
    EXPECT_EQ(out.h.largeChange, 8745 / 3);
    EXPECT_EQ(out.h.smallChange, 15);
    EXPECT_TRUE(out.v.visible);
    EXPECT_EQ(out.v.value, 0);
    EXPECT_EQ(out.v.max, 12000 - 5010);
    EXPECT_EQ(out.v.page, 5010);
    EXPECT_EQ(out.v.largeChange, 5010 / 3);
    EXPECT_EQ(out.v.smallChange, 15);
}

TEST(ViewportLayout, EqualWidthFitsButEqualHeightStillShowsBar) {
    const ViewportLayout wide = ComputeViewportLayout(Window(kW, 12000));
    EXPECT_FALSE(wide.h.visible);
    EXPECT_EQ(wide.viewportHeight, kH + 255);
    EXPECT_TRUE(wide.v.visible);
    EXPECT_EQ(wide.v.max, 12000 - (kH + 255));

    const ViewportLayout tall = ComputeViewportLayout(Window(20000, kH));
    EXPECT_TRUE(tall.v.visible);
    EXPECT_EQ(tall.v.max, 0);
    EXPECT_EQ(tall.viewportWidth, kW);

    // The vertical test sees the height already grown by the hidden bar.
    const ViewportLayout both = ComputeViewportLayout(Window(kW, kH + 255));
    EXPECT_FALSE(both.h.visible);
    EXPECT_TRUE(both.v.visible);
    EXPECT_EQ(both.v.max, 0);
    EXPECT_EQ(both.v.largeChange, static_cast<std::int32_t>(kH + 255) / 3);
    EXPECT_EQ(both.vScrollHeight, kH);
    const ViewportLayout fits = ComputeViewportLayout(Window(kW, kH + 254));
    EXPECT_FALSE(fits.v.visible);
    EXPECT_EQ(fits.viewportWidth, kW + 255);
}

TEST(ViewportLayout, TooSmallWindowKeepsPreviousSizeWithoutGrowing) {
    ViewportInput in = Window(100, 100);
    in.clientWidth = 200;   // 200 - 255 < 0
    in.clientHeight = 900;  // 900 - 990 < 0
    ViewportLayout out = ComputeViewportLayout(in);
    EXPECT_EQ(out.viewportWidth, 1000);
    EXPECT_EQ(out.viewportHeight, 800);
    EXPECT_EQ(out.hScrollTop, 420 + 800);
    EXPECT_EQ(out.hScrollWidth, 1000);
    EXPECT_EQ(out.vScrollLeft, 1000);
    EXPECT_EQ(out.vScrollHeight, 800);
    EXPECT_FALSE(out.h.visible);
    EXPECT_FALSE(out.v.visible);

    // Each resize feeds the applied size back in; it must settle, not creep.
    for (int i = 0; i < 3; ++i) {
        in.previousViewportWidth = out.viewportWidth;
        in.previousViewportHeight = out.viewportHeight;
        out = ComputeViewportLayout(in);
    }
    EXPECT_EQ(out.viewportWidth, 1000);
    EXPECT_EQ(out.viewportHeight, 800);

    // Only the axis that did not fit is kept; the other is laid out anew.
    in.clientWidth = 3000;
    out = ComputeViewportLayout(in);
    EXPECT_EQ(out.viewportWidth, 3000);  // 2745 + room of the hidden bar
    EXPECT_EQ(out.viewportHeight, 800);
}

TEST(ViewportLayout, HugePicturesScrollFullyIn32Bits) {
    const ViewportLayout tenK = ComputeViewportLayout(Window(10000 * 15.0, 10000 * 15.0));
    EXPECT_EQ(tenK.h.max, 150000 - 8745);
    EXPECT_EQ(tenK.v.max, 150000 - 5010);
    const ViewportLayout hundredK = ComputeViewportLayout(Window(100000 * 15.0, 100000 * 15.0));
    EXPECT_EQ(hundredK.h.max, 1500000 - 8745);
    EXPECT_EQ(hundredK.v.max, 1500000 - 5010);

    // Beyond 32 bits the bar still shows, but its range is left alone.
    const ViewportLayout beyond = ComputeViewportLayout(Window(3e9, 100));
    EXPECT_TRUE(beyond.h.visible);
    EXPECT_EQ(beyond.h.value, 0);
    EXPECT_FALSE(beyond.h.max.has_value());
    // The picture is short, so the vertical bar's room went to the viewport.
    EXPECT_EQ(beyond.h.largeChange, (8745 + 255) / 3);
}

TEST(ViewportLayout, PageStepFallsBackToLineStepInTinyViewport) {
    ViewportInput in = Window(20000, 12000);
    in.clientWidth = 255 + 2;
    EXPECT_EQ(ComputeViewportLayout(in).h.largeChange, 15);
    in.clientWidth = 255 + 3;
    EXPECT_EQ(ComputeViewportLayout(in).h.largeChange, 1);
    in.clientWidth = 255 + 0;
    EXPECT_EQ(ComputeViewportLayout(in).h.largeChange, 15);
}

TEST(ViewportLayout, FractionalTwipsRoundHalfToEven) {
    ViewportInput in = Window(20000, 12000);
    in.twipsPerPixelX = 7.5;   // 192 dpi
    in.twipsPerPixelY = 12.5;
    in.clientWidth = 255 + 5.5;  // 5.5 -> 6 -> page of 2
    in.pictureHeight = kH + 2.5;
    ViewportLayout out = ComputeViewportLayout(in);
    EXPECT_EQ(out.h.smallChange, 8);
    EXPECT_EQ(out.h.largeChange, 2);
    EXPECT_EQ(out.v.smallChange, 12);
    EXPECT_EQ(out.v.max, 2);
    in.pictureHeight = kH + 3.5;
    in.clientWidth = 255 + 2.5;  // 2.5 -> 2 -> page 0 -> line step
    out = ComputeViewportLayout(in);
    EXPECT_EQ(out.v.max, 4);
    EXPECT_EQ(out.h.largeChange, 8);
}

TEST(ViewportLayout, ControlRangeEndsAPageOnSoTheThumbStopsAtMax) {
    constexpr std::int32_t kTop = std::numeric_limits<std::int32_t>::max();
    struct Case {
        std::int32_t max, page, rangeEnd;
        std::uint32_t controlPage;
    };
    for (const Case c : {Case{11255, 8745, 19999, 8745}, Case{0, 5010, 5009, 5010},
                         Case{1000, 0, 1000, 0}, Case{kTop - 10, 100, kTop, 11},
                         Case{kTop, 8745, kTop, 1}, Case{-5, 30, 29, 30}}) {
        const ScrollControlRange range = ControlRange(c.max, c.page);
        EXPECT_EQ(range.rangeEnd, c.rangeEnd) << c.max << "/" << c.page;
        EXPECT_EQ(range.page, c.controlPage) << c.max << "/" << c.page;
        EXPECT_EQ(HighestPosition(range.rangeEnd, range.page), std::max(c.max, 0)) << c.max << "/" << c.page;
    }
    // A control clamps a page longer than its range: nothing to scroll.
    EXPECT_EQ(HighestPosition(99, 500), 0);
}

TEST(ViewportLayout, PictureOffsetIsMinusValueInPixels) {
    EXPECT_EQ(PictureOffsetPixels(0, 15), 0);
    EXPECT_EQ(PictureOffsetPixels(150, 15), -10);
    EXPECT_EQ(PictureOffsetPixels(157, 15), -10);
    EXPECT_EQ(PictureOffsetPixels(158, 15), -11);
    EXPECT_EQ(PictureOffsetPixels(15, 7.5), -2);
    EXPECT_EQ(PictureOffsetPixels(30, 12), -2);   // 2.5 -> 2
    EXPECT_EQ(PictureOffsetPixels(42, 12), -4);   // 3.5 -> 4
    EXPECT_EQ(PictureOffsetPixels(1500000, 15), -100000);
    EXPECT_EQ(PictureOffsetPixels(150, 0), 0);
}

TEST(ViewportLayout, ScrollStepStaysWithinRange) {
    using A = ScrollAction;
    constexpr std::int32_t kMax = 1000;
    auto step = [](A a, std::int32_t value, std::int32_t track = 0) {
        return ScrollStep(a, value, kMax, 15, 300, track);
    };
    EXPECT_EQ(step(A::LineDown, 0), 15);
    EXPECT_EQ(step(A::LineUp, 100), 85);
    EXPECT_EQ(step(A::LineUp, 10), 0);
    EXPECT_EQ(step(A::LineDown, 990), kMax);
    EXPECT_EQ(step(A::PageDown, 500), 800);
    EXPECT_EQ(step(A::PageDown, 800), kMax);
    EXPECT_EQ(step(A::PageUp, 200), 0);
    EXPECT_EQ(step(A::Top, 700), 0);
    EXPECT_EQ(step(A::Bottom, 0), kMax);
    EXPECT_EQ(step(A::ThumbTrack, 0, 420), 420);
    EXPECT_EQ(step(A::ThumbPosition, 0, 5000), kMax);
    EXPECT_EQ(step(A::ThumbTrack, 500, -5), 0);
    EXPECT_EQ(step(A::EndScroll, 640), 640);

    constexpr std::int32_t kBig = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(ScrollStep(A::PageDown, kBig - 1, kBig, 15, kBig, 0), kBig);
    EXPECT_EQ(ScrollStep(A::PageUp, 1, kBig, 15, kBig, 0), 0);
    EXPECT_EQ(ScrollStep(A::Bottom, 0, -5, 15, 300, 0), 0);  // no range at all
}

}  // namespace
}  // namespace grabwell::core

TEST(ViewportLayoutWidening, HiddenVerticalBarWidensTheRangeTheHorizontalBarScrolls) {
    // A wide, short picture: the horizontal bar shows, the vertical one does
    // not, and the viewport takes the vertical bar's room. Max must be
    // measured against that wider viewport, or the far edge never arrives.
    grabwell::core::ViewportInput in;
    in.clientWidth = 7500;
    in.clientHeight = 6000;
    in.toolbarHeight = 450;
    in.statusBarHeight = 300;
    in.pictureWidth = 180000;
    in.pictureHeight = 1500;
    const auto layout = grabwell::core::ComputeViewportLayout(in);
    ASSERT_TRUE(layout.h.visible);
    ASSERT_FALSE(layout.v.visible);
    EXPECT_EQ(layout.viewportWidth, 7500);
    EXPECT_EQ(layout.h.max, 180000 - 7500);
    EXPECT_EQ(layout.h.largeChange, 2500);

    // Wider by less than a bar: after widening it fits, with nothing to scroll.
    in.pictureWidth = 7400;
    const auto fits = grabwell::core::ComputeViewportLayout(in);
    ASSERT_TRUE(fits.h.visible);
    EXPECT_EQ(fits.h.max, 0);
}
