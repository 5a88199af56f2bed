#include "core/print_layout.h"

#include <algorithm>

#include "core/rounding.h"

namespace grabwell::core {

namespace {

bool Positive(Size s) { return s.cx > 0 && s.cy > 0; }

// A scaled side that fits the page, at least one device unit so that a very
// thin picture still prints as a line rather than vanishing.
std::int32_t FittedSide(double exact, std::int32_t page) {
    const double rounded = RoundHalfEven(exact);
    return static_cast<std::int32_t>(std::clamp(rounded, 1.0, static_cast<double>(page)));
}

std::int32_t Centred(std::int32_t page, std::int32_t side) {
    return static_cast<std::int32_t>(RoundHalfEven((static_cast<double>(page) - side) / 2.0));
}

}  // namespace

std::optional<PagePlacement> PlaceOnPage(Size picturePixels, Size screenDpi, Size printerDpi,
                                         Size printableArea) {
    if (!Positive(picturePixels) || !Positive(screenDpi) || !Positive(printerDpi) ||
        !Positive(printableArea)) {
        return std::nullopt;
    }
    const double naturalW = static_cast<double>(picturePixels.cx) * printerDpi.cx / screenDpi.cx;
    const double naturalH = static_cast<double>(picturePixels.cy) * printerDpi.cy / screenDpi.cy;
    const double scale = std::min({1.0, printableArea.cx / naturalW, printableArea.cy / naturalH});
    const std::int32_t width = FittedSide(naturalW * scale, printableArea.cx);
    const std::int32_t height = FittedSide(naturalH * scale, printableArea.cy);
    return PagePlacement{Centred(printableArea.cx, width), Centred(printableArea.cy, height),
                         width, height};
}

}  // namespace grabwell::core
