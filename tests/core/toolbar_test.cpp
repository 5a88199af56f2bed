#include "core/toolbar.h"

#include <gtest/gtest.h>

#include <map>

using namespace grabwell::core;

TEST(ToolbarDispatch, MapsEveryIndexFromZeroToTwenty) {
    const std::map<int, CommandId> expected{
        {2, CommandId::mnuOpen},        {3, CommandId::mnusave},      {5, CommandId::mnuScreen},
        {6, CommandId::mnuDistrict},    {7, CommandId::mnuAtiveWindow},
        {8, CommandId::mnuClient},      {9, CommandId::mnuTitleBar},  {12, CommandId::mnuMspaint},
        {13, CommandId::mnuWallpaper},  {14, CommandId::mnuprint},    {16, CommandId::mnuHowto},
        {17, CommandId::mnuAbout},
    };
    for (int index = 0; index <= 20; ++index) {
        const auto command = ToolbarCommand(static_cast<std::int16_t>(index));
        const auto it = expected.find(index);
        if (it == expected.end()) {
            EXPECT_FALSE(command.has_value()) << "index " << index;
        } else {
            ASSERT_TRUE(command.has_value()) << "index " << index;
            EXPECT_EQ(*command, it->second) << "index " << index;
        }
    }
}

TEST(ToolbarDispatch, SixteenBitIndexesOutOfRangeRunNothing) {
    for (std::int16_t index : {std::int16_t{-1}, std::int16_t{-32768}, std::int16_t{18},
                               std::int16_t{32767}}) {
        EXPECT_FALSE(ToolbarCommand(index).has_value()) << index;
    }
}

TEST(ToolbarButtons, SeventeenSlotsWithPicturesInRange) {
    const auto& buttons = ToolbarButtons();
    int placeholders = 0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const auto& b = buttons[i];
        const int position = static_cast<int>(i) + 1;
        if (b.slot == ToolbarSlot::Button) {
            EXPECT_GE(b.picture, 1) << position;
            EXPECT_LE(b.picture, kToolbarPictureCount) << position;
            EXPECT_FALSE(b.tooltip.empty()) << position;
        } else {
            EXPECT_EQ(b.picture, 0) << position;
            EXPECT_TRUE(b.tooltip.empty()) << position;
            placeholders += b.slot == ToolbarSlot::Placeholder;
        }
    }
    EXPECT_EQ(placeholders, 3);
    EXPECT_EQ(buttons[14].slot, ToolbarSlot::Separator);
    // Every button with a command has a tooltip; the reverse is not true (10).
    for (int position = 1; position <= kToolbarButtonCount; ++position) {
        if (ToolbarCommand(static_cast<std::int16_t>(position))) {
            EXPECT_EQ(buttons[static_cast<std::size_t>(position - 1)].slot, ToolbarSlot::Button);
        }
    }
}
