#pragma once
// The free rectangle's pixels: the chosen area of the still picture the user
// framed it on, copied into a bitmap and handed to the clipboard.
#include "capture/picture.h"
#include "platform/unique_any.h"
#include "platform/win32.h"

namespace grabwell::capture {

// A still picture of part of the screen, taken when the free rectangle is
// armed. The user frames the rectangle on it, so its pixels, not the live
// screen's a moment later, are the ones captured.
struct ScreenSnapshot {
    platform::unique_hbitmap bitmap;  // compatible with the display; null when none
    POINT origin{};                   // the screen point of its top-left pixel
};

// The screen area [left, right) x [top, bottom) as it shows now.
ScreenSnapshot SnapshotScreenRect(int left, int top, int right, int bottom);

// The area [left, right) x [top, bottom), in screen pixels, of `from` (of the
// live screen when `from` has no bitmap) in a new compatible bitmap: never a
// DIB section, which Wine cannot hand to another process through the
// clipboard. Null when the size is negative or the bitmap cannot be made; for
// a zero size a 1 x 1 monochrome bitmap, as the platform would answer.
platform::unique_hbitmap CopyScreenRect(const ScreenSnapshot& from, int left, int top, int right,
                                        int bottom);

// The area [left, right) x [top, bottom) of `from` (of the live screen when
// it has no bitmap) as a new picture; empty when it cannot be copied.
Picture PictureOfScreenRect(const ScreenSnapshot& from, int left, int top, int right, int bottom);

// Hands the clipboard its own copy of the same area, as CF_BITMAP: the
// clipboard owns what it is given and deletes it when it is emptied. False
// when the clipboard stays locked by another program; the picture alone
// holds the capture then.
bool CopyScreenRectToClipboard(HWND owner, const ScreenSnapshot& from, int left, int top,
                               int right, int bottom);

}  // namespace grabwell::capture
