#pragma once
// Where a picture goes on the printed page: at the size it has on screen,
// shrunk to fit the printable area if needed, centred.
#include <cstdint>
#include <optional>

#include "core/geometry.h"

namespace grabwell::core {

// Printer device units, relative to the printable area's top-left corner.
struct PagePlacement {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
    friend bool operator==(const PagePlacement&, const PagePlacement&) = default;
};

// Never enlarges beyond the screen size and keeps the aspect ratio; nullopt
// when any size or resolution is not positive.
std::optional<PagePlacement> PlaceOnPage(Size picturePixels, Size screenDpi, Size printerDpi,
                                         Size printableArea);

}  // namespace grabwell::core
