#include "core/toolbar.h"

#include <algorithm>

#include "core/rounding.h"

namespace grabwell::core {

const ToolbarButton* ToolbarButtonAt(std::int32_t position) {
    if (position < 1 || position > kToolbarButtonCount) return nullptr;
    return &kToolbarButtons[static_cast<std::size_t>(position - 1)];
}

ToolbarMetrics ToolbarMetricsAt(int dotsPerInch) {
    constexpr int kButtonWidth = 23;
    constexpr int kButtonHeight = 22;
    // The control's default separator, which the 100% toolbar keeps.
    constexpr int kSeparatorWidth = 8;
    // Windows scales no lower than 100%; anything less is read as 100%.
    const int dpi = std::max(dotsPerInch, kDefaultDpi);
    ToolbarMetrics metrics{kToolbarPictureSizes.front(), ScaleForDpi(kButtonWidth, dpi),
                           ScaleForDpi(kButtonHeight, dpi), 0};
    for (int size : kToolbarPictureSizes) {
        if (size * kDefaultDpi <= kToolbarPictureSizes.front() * dpi) metrics.pictureSize = size;
    }
    if (dpi != kDefaultDpi) metrics.separatorWidth = ScaleForDpi(kSeparatorWidth, dpi);
    return metrics;
}

std::optional<CommandId> ToolbarCommand(std::int16_t buttonIndex) {
    const ToolbarButton* button = ToolbarButtonAt(buttonIndex);
    return button ? button->command : std::nullopt;
}

}  // namespace grabwell::core
