#pragma once
// The free rectangle's pixels: the chosen screen area copied into a bitmap
// and handed to the clipboard.
#include "capture/picture.h"
#include "platform/unique_any.h"
#include "platform/win32.h"

namespace grabwell::capture {

struct FreeRectangleCopy {
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
FreeRectangleCopy CopyScreenRectToClipboard(HWND owner, int left, int top, int right, int bottom);

}  // namespace grabwell::capture
