#include "core/placement.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace grabwell::core;

TEST(Placement, KeysAndDefaultsInApplyOrder) {
    ASSERT_EQ(kPlacementKeys.size(), 4u);
    EXPECT_EQ(kPlacementKeys[0].name, u"MainLeft");
    EXPECT_EQ(kPlacementKeys[1].name, u"MainTop");
    EXPECT_EQ(kPlacementKeys[2].name, u"MainWidth");
    EXPECT_EQ(kPlacementKeys[3].name, u"MainHeight");
    EXPECT_EQ(kPlacementKeys[0].defaultTwips, 1000.0);
    EXPECT_EQ(kPlacementKeys[1].defaultTwips, 1000.0);
    EXPECT_EQ(kPlacementKeys[2].defaultTwips, 6500.0);
    EXPECT_EQ(kPlacementKeys[3].defaultTwips, 6500.0);
}

TEST(Placement, ParsesStoredNumbers) {
    EXPECT_EQ(ParsePlacementValue(u"1000"), 1000.0);
    EXPECT_EQ(ParsePlacementValue(u"-120"), -120.0);
    EXPECT_EQ(ParsePlacementValue(u"+15"), 15.0);
    EXPECT_EQ(ParsePlacementValue(u" 6500 "), 6500.0);
    EXPECT_EQ(ParsePlacementValue(u"7.5"), 7.5);
    EXPECT_EQ(ParsePlacementValue(u"0"), 0.0);
}

TEST(Placement, GarbageIsNotANumber) {
    for (std::u16string_view text :
         {u"", u" ", u"-", u".", u"abc", u"12abc", u"1 2", u"0x10", u"1e3", u"１０００",
          u"99999999999", u"--5", u"1.2.3", u"\t100"}) {
        EXPECT_FALSE(ParsePlacementValue(text).has_value())
            << std::string(text.begin(), text.end());
    }
}

TEST(Placement, MissingOrGarbageUsesTheKeysDefault) {
    EXPECT_EQ(PlacementValueOr(std::nullopt, 6500.0), 6500.0);
    EXPECT_EQ(PlacementValueOr(std::u16string(u"garbage"), 1000.0), 1000.0);
    EXPECT_EQ(PlacementValueOr(std::u16string(u"-300"), 1000.0), -300.0);
}

TEST(Placement, FormatsWholeTwips) {
    EXPECT_EQ(FormatPlacementValue(1005), u"1005");
    EXPECT_EQ(FormatPlacementValue(-120), u"-120");
    EXPECT_EQ(FormatPlacementValue(22.5), u"22");
    EXPECT_EQ(FormatPlacementValue(23.5), u"24");
    // What is written reads back as the same value.
    for (double v : {0.0, 1.0, -1.0, 14985.0, -32000.0}) {
        EXPECT_EQ(ParsePlacementValue(FormatPlacementValue(v)), v);
    }
}

TEST(Placement, MoveInsideKeepsTheSizeThatFitsAndMovesTheLeastDistance) {
    const Rect area{0, 0, 1024, 738};
    // Beyond the right edge and below: back to the nearest corner, same size.
    EXPECT_EQ(MoveInside({3000, 900, 3433, 1333}, area), (Rect{591, 305, 1024, 738}));
    // Far off to the upper left, at the ends of the coordinate range.
    EXPECT_EQ(MoveInside({INT32_MIN, INT32_MIN, INT32_MIN + 400, INT32_MIN + 300}, area),
              (Rect{0, 0, 400, 300}));
    // Larger than the area: shrunk to it.
    EXPECT_EQ(MoveInside({-5000, 2000, -3000, 4000}, area), area);
    // An area that does not start at 0, as a second monitor's.
    EXPECT_EQ(MoveInside({0, 0, 200, 100}, {-1280, 40, 0, 1064}), (Rect{-200, 40, 0, 140}));
}
