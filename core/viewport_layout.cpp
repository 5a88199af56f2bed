#include "core/viewport_layout.h"

#include <algorithm>
#include <limits>

#include "core/rounding.h"

namespace grabwell::core {

namespace {

// overflow: how much of the picture does not fit; length: the visible part.
ScrollBarLayout VisibleBar(double overflow, double length, double twipsPerPixel) {
    ScrollBarLayout bar;
    bar.visible = true;
    bar.value = 0;
    bar.max = RoundToInt32(overflow);
    bar.smallChange = RoundToInt32(twipsPerPixel);
    if (const auto whole = RoundToInt32(length)) {
        bar.page = *whole;
        bar.largeChange = *whole / 3;
        // A viewport under three twips would otherwise page by nothing.
        if (*bar.largeChange == 0) bar.largeChange = bar.smallChange;
    }
    return bar;
}

// A hidden bar still goes back to 0, so a picture scrolled earlier does not
// stay shifted out of reach once the whole of it fits.
ScrollBarLayout HiddenBar() {
    ScrollBarLayout bar;
    bar.value = 0;
    return bar;
}

}  // namespace

ViewportLayout ComputeViewportLayout(const ViewportInput& in) {
    ViewportLayout out;
    if (in.minimized) return out;
    out.changed = true;

    // A negative (or NaN) size cannot be given to a control: it keeps the
    // size it has, and everything below is laid out around that.
    const double wantedWidth = in.clientWidth - in.vScrollWidth;
    const double wantedHeight =
        in.clientHeight - in.hScrollHeight - in.statusBarHeight - in.toolbarHeight;
    const bool widthApplied = wantedWidth >= 0;
    const bool heightApplied = wantedHeight >= 0;
    const double width = widthApplied ? wantedWidth : in.previousViewportWidth;
    const double height = heightApplied ? wantedHeight : in.previousViewportHeight;

    out.viewportLeft = 0;
    out.viewportTop = in.toolbarHeight;
    out.viewportWidth = width;
    out.viewportHeight = height;
    out.hScrollTop = in.toolbarHeight + height;
    out.hScrollWidth = width;
    out.vScrollLeft = out.viewportLeft + width;
    out.vScrollHeight = height;

    // A bar that is not needed gives its room to the viewport. A size that
    // was kept from before is not grown: it may already hold that room, and
    // growing it on every resize of a tiny window would have no end.
    if (in.pictureWidth <= width) {
        out.h = HiddenBar();
        if (heightApplied) out.viewportHeight += in.hScrollHeight;
    } else {
        out.h = VisibleBar(in.pictureWidth - width, width, in.twipsPerPixelX);
    }

    // Equal height still shows the bar (with nothing to scroll), unlike width.
    if (out.viewportHeight > in.pictureHeight) {
        out.v = HiddenBar();
        if (widthApplied) {
            out.viewportWidth += in.vScrollWidth;
            // The horizontal range was measured against the narrower
            // viewport; measured against the wider one, Max still puts the
            // picture's far edge on the viewport's far edge.
            if (out.h.visible) {
                out.h = VisibleBar(std::max(in.pictureWidth - out.viewportWidth, 0.0),
                                   out.viewportWidth, in.twipsPerPixelX);
            }
        }
    } else {
        out.v = VisibleBar(in.pictureHeight - out.viewportHeight, out.viewportHeight,
                           in.twipsPerPixelY);
    }
    return out;
}

ScrollControlRange ControlRange(std::int32_t max, std::int32_t page) {
    constexpr std::int64_t kTop = std::numeric_limits<std::int32_t>::max();
    const std::int64_t last = std::max<std::int64_t>(max, 0);
    std::int64_t length = std::max<std::int64_t>(page, 0);
    // An empty page keeps the range at max: the thumb is then the control's
    // own small square and its near end goes all the way.
    if (length == 0) return {static_cast<std::int32_t>(last), 0};
    length = std::min(length, kTop - last + 1);
    return {static_cast<std::int32_t>(last + length - 1), static_cast<std::uint32_t>(length)};
}

std::int32_t HighestPosition(std::int32_t rangeEnd, std::uint32_t page) {
    const std::int64_t back = page > 0 ? std::int64_t{page} - 1 : 0;
    return static_cast<std::int32_t>(std::max<std::int64_t>(std::int64_t{rangeEnd} - back, 0));
}

std::int32_t PictureOffsetPixels(std::int32_t scrollValueTwips, double twipsPerPixel) {
    if (!(twipsPerPixel > 0)) return 0;
    // Halves-to-even is symmetric, so rounding the negated value is the same
    // as negating the rounded one, and it cannot overflow on negation.
    return TwipsToPixels(-static_cast<double>(scrollValueTwips), twipsPerPixel);
}

std::int32_t ScrollStep(ScrollAction action, std::int32_t value, std::int32_t max,
                        std::int32_t smallChange, std::int32_t largeChange,
                        std::int32_t trackPos) {
    // 64 bits so that value + step cannot overflow before the clamp.
    std::int64_t next = value;
    switch (action) {
        case ScrollAction::LineUp: next -= smallChange; break;
        case ScrollAction::LineDown: next += smallChange; break;
        case ScrollAction::PageUp: next -= largeChange; break;
        case ScrollAction::PageDown: next += largeChange; break;
        case ScrollAction::Top: next = 0; break;
        case ScrollAction::Bottom: next = max; break;
        case ScrollAction::ThumbTrack:
        case ScrollAction::ThumbPosition: next = trackPos; break;
        case ScrollAction::EndScroll: break;
    }
    const std::int64_t upper = std::max<std::int64_t>(max, 0);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(next, 0, upper));
}

}  // namespace grabwell::core
