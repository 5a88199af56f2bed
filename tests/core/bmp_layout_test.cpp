#include "core/bmp_layout.h"

#include <gtest/gtest.h>

#include <limits>

namespace grabwell::core {
namespace {

TEST(BmpLayout, RowsArePaddedToWholeWordsAtEveryDepth) {
    struct Case {
        std::uint64_t width;
        unsigned bits;
        std::uint64_t stride;
    };
    for (const Case& c : {Case{0, 24, 0}, Case{1, 1, 4}, Case{32, 1, 4}, Case{33, 1, 8},
                          Case{1, 8, 4}, Case{5, 8, 8}, Case{3, 24, 12}, Case{4, 24, 12},
                          Case{5, 24, 16}, Case{1, 32, 4}, Case{7, 32, 28}}) {
        EXPECT_EQ(BmpStride(c.width, c.bits), c.stride) << c.width << " x " << c.bits;
    }
    constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
    EXPECT_FALSE(BmpStride(kMax, 1)) << "padding would wrap";
    EXPECT_FALSE(BmpStride(kMax / 2 + 1, 2)) << "bits would wrap";
}

TEST(BmpLayout, PlanPutsThePixelsAfterHeadersAndColourTableWithinFourGigabytes) {
    const auto rgb = PlanBmp({3, 2}, false);
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->bits, 24);
    EXPECT_EQ(rgb->stride, 12u);
    EXPECT_EQ(rgb->colours, 0u);
    EXPECT_EQ(rgb->pixelOffset, 54u);
    EXPECT_EQ(rgb->fileSize, 54u + 2 * 12);

    const auto indexed = PlanBmp({5, 1}, true);
    ASSERT_TRUE(indexed);
    EXPECT_EQ(indexed->bits, 8);
    EXPECT_EQ(indexed->stride, 8u);
    EXPECT_EQ(indexed->colours, 256u);
    EXPECT_EQ(indexed->pixelOffset, 54u + 256 * 4);
    EXPECT_EQ(indexed->fileSize, 54u + 256 * 4 + 8);

    for (const Size empty : {Size{0, 5}, Size{5, 0}, Size{-1, 5}, Size{5, -1}}) {
        EXPECT_FALSE(PlanBmp(empty, false)) << empty.cx << " x " << empty.cy;
    }
    // 90000-byte rows: 47721 of them still fit a 32-bit file size, 47722 do not.
    ASSERT_TRUE(PlanBmp({30000, 47721}, false));
    EXPECT_EQ(PlanBmp({30000, 47721}, false)->fileSize, 54u + 90000u * 47721u);
    EXPECT_FALSE(PlanBmp({30000, 47722}, false));
}

TEST(BmpLayout, StripsHoldAtLeastOneRowAndNeverMoreThanThePicture) {
    EXPECT_EQ(RowsPerStrip(kStripBytes * 2, 10), 1);
    EXPECT_EQ(RowsPerStrip(4, 3), 3);
    EXPECT_EQ(RowsPerStrip(1024, 100000), static_cast<int>(kStripBytes / 1024));
}

}  // namespace
}  // namespace grabwell::core
