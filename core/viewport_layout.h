#pragma once
// Where the main window puts its picture viewport and the two scroll bars
// around it, and how those bars scroll. Lengths are twips; the caller applies
// the result to the real controls.
#include <cstdint>
#include <optional>

namespace grabwell::core {

inline constexpr double kScrollBarThicknessTwips = 255;

struct ViewportInput {
    bool minimized = false;
    // Inner size of the window, toolbar and status bar included.
    double clientWidth = 0;
    double clientHeight = 0;
    double toolbarHeight = 0;
    double statusBarHeight = 0;
    double hScrollHeight = kScrollBarThicknessTwips;
    double vScrollWidth = kScrollBarThicknessTwips;
    // Outer size of the picture; 0 x 0 when there is none.
    double pictureWidth = 0;
    double pictureHeight = 0;
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
    // What the viewport has now; kept when the window is too small for a
    // non-negative size.
    double previousViewportWidth = 0;
    double previousViewportHeight = 0;
};

// An empty field is one that did not fit 32 bits (or, for a hidden bar, has
// no meaning): the caller leaves the control's current value alone.
struct ScrollBarLayout {
    bool visible = false;
    std::optional<std::int32_t> value;
    std::optional<std::int32_t> max;
    // The viewport's extent along the bar, in the same twips as the values:
    // the thumb's length, so that it shows how much of the picture is in view.
    std::optional<std::int32_t> page;
    std::optional<std::int32_t> largeChange;
    std::optional<std::int32_t> smallChange;
};

struct ViewportLayout {
    bool changed = false;  // false when minimized: apply nothing
    double viewportLeft = 0;
    double viewportTop = 0;
    double viewportWidth = 0;
    double viewportHeight = 0;
    double hScrollTop = 0;
    double hScrollWidth = 0;
    double vScrollLeft = 0;
    double vScrollHeight = 0;
    ScrollBarLayout h;
    ScrollBarLayout v;
};

ViewportLayout ComputeViewportLayout(const ViewportInput& input);

// What a scroll-bar control is given for the values 0..max with a thumb one
// page long. The control stops the thumb's near end a page short of its
// range's end, so that end is max + page - 1. Past 32 bits the page shrinks;
// max, the far edge of the picture, never moves.
struct ScrollControlRange {
    std::int32_t rangeEnd;
    std::uint32_t page;
};
ScrollControlRange ControlRange(std::int32_t max, std::int32_t page);

// Back from a control's range and page to the highest value it lets the
// thumb reach: max again.
std::int32_t HighestPosition(std::int32_t rangeEnd, std::uint32_t page);

// The picture sits at minus the scroll value inside the viewport.
std::int32_t PictureOffsetPixels(std::int32_t scrollValueTwips, double twipsPerPixel);

enum class ScrollAction {
    LineUp,      // arrow
    LineDown,
    PageUp,      // click in the track
    PageDown,
    Top,
    Bottom,
    ThumbTrack,  // dragging the thumb
    ThumbPosition,
    EndScroll,   // no movement
};

// New scroll value for a scroll-bar action, kept within [0, max].
std::int32_t ScrollStep(ScrollAction action, std::int32_t value, std::int32_t max,
                        std::int32_t smallChange, std::int32_t largeChange,
                        std::int32_t trackPos);

}  // namespace grabwell::core
