#include "core/rounding.h"

#include <gtest/gtest.h>

#include <limits>

using namespace grabwell::core;

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(1.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(-0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(2.4999), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5001), 3.0);
    EXPECT_EQ(RoundHalfEven(-7.6), -8.0);
}

TEST(RoundHalfEven, Int32RangeIsChecked) {
    EXPECT_EQ(RoundToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(RoundToInt32(-2147483648.0), std::numeric_limits<std::int32_t>::min());
    EXPECT_FALSE(RoundToInt32(2147483647.6).has_value());
    EXPECT_FALSE(RoundToInt32(std::numeric_limits<double>::quiet_NaN()).has_value());
    EXPECT_FALSE(RoundToInt32(std::numeric_limits<double>::infinity()).has_value());
}

struct DpiCase {
    int dpi;
    double twipsPerPixel;
    std::int32_t pixelsOf6500;  // the default window width
    std::int32_t pixelsOf1000;  // the default left edge
};

class TwipsAtDpi : public ::testing::TestWithParam<DpiCase> {};

TEST_P(TwipsAtDpi, ConvertsBothWaysWithHalfEvenRounding) {
    const auto& c = GetParam();
    EXPECT_DOUBLE_EQ(TwipsPerPixel(c.dpi), c.twipsPerPixel);
    EXPECT_EQ(TwipsToPixels(6500, TwipsPerPixel(c.dpi)), c.pixelsOf6500);
    EXPECT_EQ(TwipsToPixels(1000, TwipsPerPixel(c.dpi)), c.pixelsOf1000);
    // A pixel size survives the trip through twips unchanged.
    for (int px : {0, 1, 7, 640, 1023, 3840}) {
        EXPECT_EQ(TwipsToPixels(PixelsToTwips(px, c.twipsPerPixel), c.twipsPerPixel), px) << px;
    }
}

// 1000/15 = 66.67 -> 67; 6500/12 = 541.67 -> 542; 1000/7.5 = 133.33 -> 133.
INSTANTIATE_TEST_SUITE_P(CommonDisplays, TwipsAtDpi,
                         ::testing::Values(DpiCase{96, 15.0, 433, 67}, DpiCase{120, 12.0, 542, 83},
                                           DpiCase{144, 10.0, 650, 100},
                                           DpiCase{192, 7.5, 867, 133}));

TEST(TwipsConversion, HalfPixelsRoundToEven) {
    // At 192 dpi a pixel is 7.5 twips: odd pixel counts land on half twips.
    EXPECT_EQ(PixelsToTwips(1, 7.5), 8);   // 7.5 -> 8
    EXPECT_EQ(PixelsToTwips(3, 7.5), 22);  // 22.5 -> 22
    EXPECT_EQ(TwipsToPixels(22.5, 15.0), 2);  // 1.5 -> 2
    EXPECT_EQ(TwipsToPixels(37.5, 15.0), 2);  // 2.5 -> 2
    EXPECT_EQ(TwipsToPixels(-37.5, 15.0), -2);
}

TEST(TwipsConversion, UnusableDpiFallsBackTo96) {
    EXPECT_DOUBLE_EQ(TwipsPerPixel(0), 15.0);
    EXPECT_DOUBLE_EQ(TwipsPerPixel(-120), 15.0);
}
