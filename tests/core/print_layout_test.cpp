#include "core/print_layout.h"

#include <gtest/gtest.h>

namespace grabwell::core {
namespace {

constexpr Size kScreen{96, 96};
constexpr Size kPrinter{600, 600};
constexpr Size kA4At600{4800, 6600};

TEST(PlaceOnPage, SmallPictureKeepsItsScreenSizeAndIsCentred) {
    // 100x50 px at 96 dpi is 625x312.5 printer dots; halves go to even.
    EXPECT_EQ(PlaceOnPage({100, 50}, kScreen, kPrinter, kA4At600),
              (PagePlacement{2088, 3144, 625, 312}));
    // Exactly the printable size: fills it, no scaling either way.
    EXPECT_EQ(PlaceOnPage({768, 1056}, kScreen, kPrinter, kA4At600),
              (PagePlacement{0, 0, 4800, 6600}));
}

TEST(PlaceOnPage, LargePictureShrinksToTheTighterSide) {
    EXPECT_EQ(PlaceOnPage({2000, 1000}, kScreen, kPrinter, kA4At600),
              (PagePlacement{0, 2100, 4800, 2400}));
    EXPECT_EQ(PlaceOnPage({1000, 2000}, kScreen, kPrinter, kA4At600),
              (PagePlacement{750, 0, 3300, 6600}));
    // 1366x768 does not divide evenly: the ratio stays within one dot, and
    // the 1950.5 offset goes to the even neighbour.
    const auto p = PlaceOnPage({1366, 768}, kScreen, kPrinter, kA4At600);
    ASSERT_TRUE(p);
    EXPECT_NEAR(p->height, 4800.0 * 768 / 1366, 1.0);
    EXPECT_EQ(*p, (PagePlacement{0, 1950, 4800, 2699}));
}

TEST(PlaceOnPage, NonSquareResolutions) {
    // 600x300 dpi printer: a square picture is half as many dots tall.
    EXPECT_EQ(PlaceOnPage({96, 96}, kScreen, {600, 300}, kA4At600),
              (PagePlacement{2100, 3150, 600, 300}));
    // Shrunk to the width, the height keeps the same physical proportion.
    const auto p = PlaceOnPage({1920, 1080}, {120, 96}, {600, 300}, {4800, 3300});
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 4800);
    EXPECT_NEAR(p->height, 4800.0 * (1080.0 * 300 / 96) / (1920.0 * 600 / 120), 1.0);
    EXPECT_LE(p->height, 3300);
}

TEST(PlaceOnPage, ThinPictureStillGetsAVisibleLine) {
    EXPECT_EQ(PlaceOnPage({10000, 1}, kScreen, kScreen, {4000, 5000}),
              (PagePlacement{0, 2500, 4000, 1}));
}

TEST(PlaceOnPage, RejectsEmptyPicturesAndBadDeviceSizes) {
    EXPECT_FALSE(PlaceOnPage({0, 10}, kScreen, kPrinter, kA4At600));
    EXPECT_FALSE(PlaceOnPage({10, -1}, kScreen, kPrinter, kA4At600));
    EXPECT_FALSE(PlaceOnPage({10, 10}, {0, 96}, kPrinter, kA4At600));
    EXPECT_FALSE(PlaceOnPage({10, 10}, kScreen, {600, -600}, kA4At600));
    EXPECT_FALSE(PlaceOnPage({10, 10}, kScreen, kPrinter, {0, 0}));
}

}  // namespace
}  // namespace grabwell::core
