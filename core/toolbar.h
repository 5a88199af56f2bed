#pragma once
// The toolbar: one row per position, left to right, saying everything about
// that position. Building the buttons, their tooltips, which of them are
// enabled and what a click runs all read this one table.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/commands.h"

namespace grabwell::core {

enum class ToolbarKind : std::uint8_t { Placeholder, Button, Separator };

struct ToolbarButton {
    ToolbarKind kind;
    int picture;                       // 1-based picture in the image list; 0 for none
    std::u16string_view tooltip;       // empty for none
    std::optional<CommandId> command;  // what a click runs; none for an inert position
};

inline constexpr int kToolbarPictureCount = 23;

// The pictures are drawn at each of these sizes, for 100%, 125%, 150% and
// 200%; each size is a strip of its own among the resources.
inline constexpr std::array<int, 4> kToolbarPictureSizes{16, 20, 24, 32};

// What the toolbar measures in pixels at a display scale.
struct ToolbarMetrics {
    int pictureSize;   // one of kToolbarPictureSizes
    int buttonWidth;   // 23 x 22 at 100%, grown with the scale
    int buttonHeight;
    int separatorWidth;  // 0: the control's own, which is what 100% shows
};

// The largest drawn picture no bigger than 16 pixels grown to this DPI, in
// buttons grown with the scale.
ToolbarMetrics ToolbarMetricsAt(int dotsPerInch);

inline constexpr std::array kToolbarButtons{
    ToolbarButton{ToolbarKind::Placeholder, 0, u"", std::nullopt},
    ToolbarButton{ToolbarKind::Button, 1, u"打开", CommandId::mnuOpen},
    ToolbarButton{ToolbarKind::Button, 2, u"保存图片", CommandId::mnusave},
    ToolbarButton{ToolbarKind::Placeholder, 0, u"", std::nullopt},
    ToolbarButton{ToolbarKind::Button, 6, u"捕获全屏", CommandId::mnuScreen},
    ToolbarButton{ToolbarKind::Button, 3, u"区域到剪切板", CommandId::mnuDistrict},
    ToolbarButton{ToolbarKind::Button, 7, u"延时捕获活动窗口", CommandId::mnuAtiveWindow},
    ToolbarButton{ToolbarKind::Button, 8, u"捕获当前窗口", CommandId::mnuClient},
    ToolbarButton{ToolbarKind::Button, 9, u"捕获当前窗口", CommandId::mnuTitleBar},
    // Has a picture and a tooltip but nothing to run: shown greyed.
    ToolbarButton{ToolbarKind::Button, 10, u"捕获工作区", std::nullopt},
    ToolbarButton{ToolbarKind::Placeholder, 0, u"", std::nullopt},
    ToolbarButton{ToolbarKind::Button, 12, u"用画图编辑", CommandId::mnuMspaint},
    ToolbarButton{ToolbarKind::Button, 20, u"设为墙纸", CommandId::mnuWallpaper},
    ToolbarButton{ToolbarKind::Button, 21, u"打印", CommandId::mnuprint},
    ToolbarButton{ToolbarKind::Separator, 0, u"", std::nullopt},
    ToolbarButton{ToolbarKind::Button, 23, u"帮助", CommandId::mnuHowto},
    ToolbarButton{ToolbarKind::Button, 18, u"关于", CommandId::mnuAbout},
};

inline constexpr int kToolbarButtonCount = static_cast<int>(kToolbarButtons.size());

// The row of a 1-based position; null outside 1..kToolbarButtonCount.
const ToolbarButton* ToolbarButtonAt(std::int32_t position);

// The command behind the button at a 1-based position, which arrives as a
// 16-bit index; anything outside the table runs nothing.
std::optional<CommandId> ToolbarCommand(std::int16_t buttonIndex);

}  // namespace grabwell::core
