#include "core/free_rectangle.h"

#include <algorithm>
#include <limits>

#include "core/rounding.h"

namespace grabwell::core {

namespace {

constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();

// Edges far apart on a huge virtual desktop must not wrap around.
std::int32_t Extent(std::int32_t from, std::int32_t to) {
    const std::int64_t span = static_cast<std::int64_t>(to) - from;
    return static_cast<std::int32_t>(std::clamp(span, kMin32, kMax32));
}

// The last pixel inside an exclusive edge.
std::int32_t OneBefore(std::int32_t edge) {
    return static_cast<std::int32_t>(std::max<std::int64_t>(std::int64_t{edge} - 1, kMin32));
}

std::int32_t CentredStart(std::int32_t lo, std::int32_t hi, std::int32_t length) {
    const double start =
        (static_cast<double>(lo) + static_cast<double>(hi) - static_cast<double>(length)) / 2.0;
    if (const auto rounded = RoundToInt32(start)) return *rounded;
    return start < 0 ? std::numeric_limits<std::int32_t>::min()
                     : std::numeric_limits<std::int32_t>::max();
}

}  // namespace

void SwapValues(std::int32_t& a, std::int32_t& b) {
    const std::int32_t t = a;
    a = b;
    b = t;
}

void NormalizeRect(Rect& rect) {
    if (rect.right < rect.left) SwapValues(rect.left, rect.right);
    if (rect.bottom < rect.top) SwapValues(rect.top, rect.bottom);
}

bool IsRectEmpty(const Rect& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

Rect TrackedRect(Point start, Point cursor) {
    Rect rect{start.x, start.y, cursor.x, cursor.y};
    NormalizeRect(rect);
    return rect;
}

std::array<Stroke, 4> RubberBandStrokes(const Rect& r) {
    return {{
        {r.left, r.top, Extent(r.left, r.right), 1},
        {r.left, r.bottom, 1, Extent(r.bottom, r.top)},
        {OneBefore(r.right), r.top, 1, Extent(r.top, r.bottom)},
        {r.right, OneBefore(r.bottom), Extent(r.right, r.left), 1},
    }};
}

std::string RubberBandLabel(const Rect& rect) {
    Rect r = rect;
    NormalizeRect(r);
    const std::int64_t width = static_cast<std::int64_t>(r.right) - r.left;
    const std::int64_t height = static_cast<std::int64_t>(r.bottom) - r.top;
    return std::to_string(width) + "x" + std::to_string(height);
}

Point LabelOrigin(const Rect& rect, Size label) {
    return {CentredStart(rect.left, rect.right, label.cx),
            CentredStart(rect.top, rect.bottom, label.cy)};
}

}  // namespace grabwell::core
