#pragma once
// Size arithmetic of the capture commands, kept apart from the Win32 calls so
// every edge (odd DPI, overflowing rectangles) can be checked without a
// screen.
#include <cstdint>
#include <optional>

#include "core/geometry.h"

namespace grabwell::core {

// Width and height of a rectangle as right - left and bottom - top. Nothing
// when either difference leaves the signed 32-bit range: a window reporting
// such a rectangle is broken, and a wrapped size must not reach the capture.
std::optional<Size> RectExtent(const Rect& rect);

// A pixel length taken through twips and back, as the form measures itself.
// The trip rounds half to even at both ends and never uses a rounded
// twips-per-pixel: at 192 dpi (7.5 twips a pixel) rounding the factor to 8
// first would lose one pixel in sixteen.
std::int32_t PixelsThroughTwips(std::int32_t pixels, double twipsPerPixel);

// The whole-screen capture size from the screen's pixel size and its
// twips-per-pixel on each axis.
Size ScreenCaptureSize(Size screenPixels, double twipsPerPixelX, double twipsPerPixelY);

}  // namespace grabwell::core
