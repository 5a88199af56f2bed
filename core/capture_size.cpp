#include "core/capture_size.h"

#include <limits>

#include "core/rounding.h"

namespace grabwell::core {

namespace {
std::optional<std::int32_t> Difference(std::int32_t high, std::int32_t low) {
    const std::int64_t d = static_cast<std::int64_t>(high) - low;
    if (d < std::numeric_limits<std::int32_t>::min() || d > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(d);
}
}  // namespace

std::optional<Size> RectExtent(const Rect& rect) {
    const auto width = Difference(rect.right, rect.left);
    const auto height = Difference(rect.bottom, rect.top);
    if (!width || !height) return std::nullopt;
    return Size{*width, *height};
}

std::int32_t PixelsThroughTwips(std::int32_t pixels, double twipsPerPixel) {
    const std::int32_t twips = PixelsToTwips(pixels, twipsPerPixel);
    return TwipsToPixels(twips, twipsPerPixel);
}

Size ScreenCaptureSize(Size screenPixels, double twipsPerPixelX, double twipsPerPixelY) {
    return {PixelsThroughTwips(screenPixels.cx, twipsPerPixelX),
            PixelsThroughTwips(screenPixels.cy, twipsPerPixelY)};
}

}  // namespace grabwell::core
