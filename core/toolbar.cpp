#include "core/toolbar.h"

namespace grabwell::core {

const std::array<ToolbarButton, kToolbarButtonCount>& ToolbarButtons() {
    using enum ToolbarSlot;
    static const std::array<ToolbarButton, kToolbarButtonCount> buttons{{
        {Placeholder, 0, u""},
        {Button, 1, u"打开"},
        {Button, 2, u"保存图片"},
        {Placeholder, 0, u""},
        {Button, 6, u"捕获全屏"},
        {Button, 3, u"区域到剪切板"},
        {Button, 7, u"延时捕获活动窗口"},
        {Button, 8, u"捕获当前窗口"},
        {Button, 9, u"捕获当前窗口"},
        {Button, 10, u"捕获工作区"},
        {Placeholder, 0, u""},
        {Button, 12, u"用画图编辑"},
        {Button, 20, u"设为墙纸"},
        {Button, 21, u"打印"},
        {Separator, 0, u""},
        {Button, 23, u"帮助"},
        {Button, 18, u"关于"},
    }};
    return buttons;
}

std::optional<CommandId> ToolbarCommand(std::int16_t buttonIndex) {
    // Index 1 wraps to 0xFFFF here, which is how the placeholder in front
    // falls out of range together with everything past the last button.
    const auto slot = static_cast<std::uint16_t>(buttonIndex - 2);
    if (slot > 15) return std::nullopt;
    switch (slot) {
        case 0: return CommandId::mnuOpen;
        case 1: return CommandId::mnusave;
        case 3: return CommandId::mnuScreen;
        case 4: return CommandId::mnuDistrict;
        case 5: return CommandId::mnuAtiveWindow;
        case 6: return CommandId::mnuClient;
        case 7: return CommandId::mnuTitleBar;
        case 10: return CommandId::mnuMspaint;
        case 11: return CommandId::mnuWallpaper;
        case 12: return CommandId::mnuprint;
        case 14: return CommandId::mnuHowto;
        case 15: return CommandId::mnuAbout;
        default: return std::nullopt;  // 4 and 11 are gaps, 10 is inert, 15 divides
    }
}

}  // namespace grabwell::core
