#include "core/capture_size.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/rounding.h"

using namespace grabwell::core;

namespace {
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
}  // namespace

TEST(RectExtent, SignedDifferencesThatFitAreKept) {
    EXPECT_EQ(RectExtent({0, 0, 0, 0}), (Size{0, 0}));
    EXPECT_EQ(RectExtent({10, 20, 110, 70}), (Size{100, 50}));
    // Windows partly off the left/top edge, and inverted rectangles.
    EXPECT_EQ(RectExtent({-8, -31, 1032, 776}), (Size{1040, 807}));
    EXPECT_EQ(RectExtent({50, 50, 40, 10}), (Size{-10, -40}));
    EXPECT_EQ(RectExtent({kMin, 0, -1, 1}), (Size{kMax, 1}));
}

TEST(RectExtent, OverflowOnEitherAxisIsRefused) {
    EXPECT_FALSE(RectExtent({kMin, 0, 0, 1}).has_value());       // 0 - MIN
    EXPECT_FALSE(RectExtent({-1, 0, kMax, 1}).has_value());      // MAX + 1
    EXPECT_FALSE(RectExtent({0, kMin, 1, kMax}).has_value());    // height only
    EXPECT_FALSE(RectExtent({kMax, 0, kMin, 1}).has_value());    // MIN - MAX
    EXPECT_TRUE(RectExtent({kMax, 0, 0, 1}).has_value());        // -MAX fits
}

TEST(ScreenCaptureSize, EqualsTheScreenAtCommonAndOddDpi) {
    for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        const double tpp = TwipsPerPixel(dpi);
        for (Size screen : {Size{1024, 768}, Size{1920, 1080}, Size{3840, 2160}, Size{1366, 768},
                            Size{2560, 1600}, Size{7680, 4320}, Size{1, 1}}) {
            EXPECT_EQ(ScreenCaptureSize(screen, tpp, tpp), screen) << dpi << " dpi";
        }
    }
}

TEST(ScreenCaptureSize, AxesUseTheirOwnScale) {
    EXPECT_EQ(ScreenCaptureSize({1920, 1080}, 15.0, 7.5), (Size{1920, 1080}));
    EXPECT_EQ(PixelsThroughTwips(3840, 7.5), 3840);
    EXPECT_EQ(PixelsThroughTwips(0, 12.0), 0);
    // A display reporting no resolution is measured as 96 dpi.
    EXPECT_EQ(PixelsThroughTwips(1023, TwipsPerPixel(0)), 1023);
}
