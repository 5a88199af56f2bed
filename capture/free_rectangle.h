#pragma once
// The free-rectangle capture's drawing and copying: a modal loop that
// follows the mouse with an inverted rubber band and a size label, and the
// copy of the chosen screen area onto the clipboard.
#include <functional>

#include "capture/picture.h"
#include "core/geometry.h"
#include "platform/unique_any.h"
#include "platform/win32.h"

namespace grabwell::capture {

struct TrackResult {
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
TrackResult TrackRubberBand(HWND window, POINT& start, const std::function<bool()>& cancelled);

// Inverts the outline and the "WxH" label; drawing the same rectangle twice
// restores the screen.
void DrawRubberBand(HDC dc, const core::Rect& rect);

// Makes the label's 1-bit bitmap of width x height; null skips the label.
using LabelBitmapMaker = std::function<HBITMAP(int width, int height)>;
// The same, with the label bitmap made by `makeLabelBitmap` (tests use it to
// see what happens when that bitmap cannot be had).
void DrawRubberBand(HDC dc, const core::Rect& rect, const LabelBitmapMaker& makeLabelBitmap);

struct ScreenCopy {
    bool onClipboard = false;  // the clipboard took the bitmap
    Picture direct;            // when it did not: the captured pixels themselves
};

// The screen area [left, right) x [top, bottom) in a compatible bitmap (never
// a DIB section, which Wine cannot hand to another process through the
// clipboard). Null when the size is negative or the bitmap cannot be made;
// for a zero size a 1 x 1 monochrome bitmap, as the platform would answer.
platform::unique_hbitmap CopyScreenRect(int left, int top, int right, int bottom);

// Copies the screen area [left, right) x [top, bottom) into a compatible
// bitmap and hands it to the clipboard as CF_BITMAP. When the clipboard
// stays locked by another program the bitmap comes back as `direct`, so the
// capture is never lost.
ScreenCopy CopyScreenRectToClipboard(HWND owner, int left, int top, int right, int bottom);

}  // namespace grabwell::capture
