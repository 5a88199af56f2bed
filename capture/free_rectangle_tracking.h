#pragma once
// The free rectangle's modal drag: a loop that follows the mouse with an
// inverted rubber band and a size label, drawn straight onto the display.
#include <functional>

#include "core/geometry.h"
#include "platform/win32.h"

namespace grabwell::capture {

struct FreeRectangleDrag {
    core::Rect rect;       // normalised, screen pixels
    bool cancelled = false;  // the mouse capture went away before the release
    MSG last{};            // the message that ended the loop
};

// Follows the mouse from `start` (client pixels of `window` on entry, screen
// pixels on return) until the left button comes up. Only mouse messages
// (WM_MOUSEMOVE..WM_MBUTTONDBLCLK) are taken from the queue, and none is
// dispatched. `cancelled` is asked after every wake-up. The band is erased
// before returning and the mouse capture released; on a release the
// WM_LBUTTONUP is posted back to `window`.
FreeRectangleDrag TrackRubberBand(HWND window, POINT& start,
                                  const std::function<bool()>& cancelled);

// Inverts the outline and the "WxH" label; drawing the same rectangle twice
// restores the screen.
void DrawRubberBand(HDC dc, const core::Rect& rect);

// Makes the label's 1-bit bitmap of width x height; null skips the label.
using LabelBitmapMaker = std::function<HBITMAP(int width, int height)>;
// The same, with the label bitmap made by `makeLabelBitmap` (tests use it to
// see what happens when that bitmap cannot be had).
void DrawRubberBand(HDC dc, const core::Rect& rect, const LabelBitmapMaker& makeLabelBitmap);

}  // namespace grabwell::capture
