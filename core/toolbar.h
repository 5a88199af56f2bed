#pragma once
// The toolbar's 17 positions and the mapping from a clicked position to the
// command it runs. Positions are 1-based, left to right.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/commands.h"

namespace grabwell::core {

enum class ToolbarSlot : std::uint8_t { Placeholder, Button, Separator };

struct ToolbarButton {
    ToolbarSlot slot;
    int picture;               // 1-based picture in the image list; 0 for none
    std::u16string_view tooltip;
};

inline constexpr int kToolbarButtonCount = 17;
inline constexpr int kToolbarPictureCount = 23;

const std::array<ToolbarButton, kToolbarButtonCount>& ToolbarButtons();

// The command behind the button at a 1-based position. The position arrives as
// a 16-bit index; anything outside 2..17, and the inert slots 4, 10, 11 and 15,
// run nothing.
std::optional<CommandId> ToolbarCommand(std::int16_t buttonIndex);

}  // namespace grabwell::core
