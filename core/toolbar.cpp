#include "core/toolbar.h"

namespace grabwell::core {

const ToolbarButton* ToolbarButtonAt(std::int32_t position) {
    if (position < 1 || position > kToolbarButtonCount) return nullptr;
    return &kToolbarButtons[static_cast<std::size_t>(position - 1)];
}

std::optional<CommandId> ToolbarCommand(std::int16_t buttonIndex) {
    const ToolbarButton* button = ToolbarButtonAt(buttonIndex);
    return button ? button->command : std::nullopt;
}

}  // namespace grabwell::core
