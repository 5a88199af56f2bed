#include "core/placement.h"

#include <gtest/gtest.h>

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
