#pragma once
// Geometry of the free rectangle: the rectangle between the press point and
// the cursor, the four inverted strokes that outline it and the size label
// drawn in its middle. All in screen pixels.
#include <array>
#include <cstdint>
#include <string>

#include "core/geometry.h"

namespace grabwell::core {

void SwapValues(std::int32_t& a, std::int32_t& b);

// Left <= right and top <= bottom afterwards; equal edges are left alone.
void NormalizeRect(Rect& rect);

bool IsRectEmpty(const Rect& rect);

// The rectangle spanned by the press point and the cursor, normalised.
Rect TrackedRect(Point start, Point cursor);

// One pattern-blit stroke. A negative extent runs left (or up) from x (or y):
// width w < 0 covers columns x + w .. x - 1.
struct Stroke {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
    friend bool operator==(const Stroke&, const Stroke&) = default;
};

// Top, left, right and bottom edges of a normalised rectangle, in that order.
std::array<Stroke, 4> RubberBandStrokes(const Rect& rect);

// "320x200" for a 320 by 200 selection.
std::string RubberBandLabel(const Rect& rect);

// Top-left corner that centres a label of the given size on the rectangle.
Point LabelOrigin(const Rect& rect, Size label);

}  // namespace grabwell::core
