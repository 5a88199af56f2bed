#include "core/toolbar.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

using namespace grabwell::core;

TEST(ToolbarDispatch, EverySixteenBitIndexRunsItsRowsCommandOrNothing) {
    for (int index = std::numeric_limits<std::int16_t>::min();
         index <= std::numeric_limits<std::int16_t>::max(); ++index) {
        const auto command = ToolbarCommand(static_cast<std::int16_t>(index));
        if (index >= 1 && index <= kToolbarButtonCount) {
            EXPECT_EQ(command, kToolbarButtons[static_cast<std::size_t>(index - 1)].command)
                << index;
        } else {
            ASSERT_FALSE(command.has_value()) << index;
        }
    }
}

TEST(ToolbarButtons, OnlyButtonsRunCommandsAndLookAlikesRunDifferentOnes) {
    std::set<CommandId> seen;
    for (int position = 1; position <= kToolbarButtonCount; ++position) {
        const ToolbarButton& row = *ToolbarButtonAt(position);
        if (row.kind == ToolbarKind::Button) {
            EXPECT_GE(row.picture, 1) << position;
            EXPECT_LE(row.picture, kToolbarPictureCount) << position;
            EXPECT_FALSE(row.tooltip.empty()) << position;
        } else {
            EXPECT_EQ(row.picture, 0) << position;
            EXPECT_TRUE(row.tooltip.empty()) << position;
            EXPECT_FALSE(row.command.has_value()) << position;
        }
        if (row.command) {
            EXPECT_TRUE(seen.insert(*row.command).second) << "twice: " << position;
        }
    }
    EXPECT_FALSE(ToolbarCommand(1)) << "the gap in front";
    // 8 and 9 share a tooltip, yet one takes the client area, the other the
    // whole window; 6 is the menu's free rectangle.
    EXPECT_EQ(ToolbarButtonAt(8)->tooltip, ToolbarButtonAt(9)->tooltip);
    EXPECT_EQ(ToolbarCommand(8), CommandId::mnuClient);
    EXPECT_EQ(ToolbarCommand(9), CommandId::mnuTitleBar);
    EXPECT_EQ(ToolbarCommand(6), CommandId::mnuDistrict);
    // 10 looks like a button but has nothing to run.
    EXPECT_EQ(ToolbarButtonAt(10)->kind, ToolbarKind::Button);
    EXPECT_FALSE(ToolbarCommand(10));
}

TEST(ToolbarMetrics, PicturesAreNeverEnlargedAndButtonsGrowWithTheScale) {
    struct Case {
        int dpi;
        ToolbarMetrics want;
    };
    // 100% is the toolbar as it always was; 175% (168) has no 28-pixel
    // pictures and takes the 24s rather than blurring 32s down.
    const Case cases[] = {
        {96, {16, 23, 22, 0}},   {120, {20, 29, 28, 10}}, {144, {24, 35, 33, 12}},
        {168, {24, 40, 39, 14}}, {192, {32, 46, 44, 16}}, {288, {32, 69, 66, 24}},
        {72, {16, 23, 22, 0}},   {0, {16, 23, 22, 0}},
    };
    for (const Case& c : cases) {
        const ToolbarMetrics got = ToolbarMetricsAt(c.dpi);
        EXPECT_EQ(got.pictureSize, c.want.pictureSize) << c.dpi;
        EXPECT_EQ(got.buttonWidth, c.want.buttonWidth) << c.dpi;
        EXPECT_EQ(got.buttonHeight, c.want.buttonHeight) << c.dpi;
        EXPECT_EQ(got.separatorWidth, c.want.separatorWidth) << c.dpi;
    }
}
