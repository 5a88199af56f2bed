#pragma once
// Pictures to and from the clipboard. The clipboard owns what it holds, so a
// picture taken from it is always a copy, and a bitmap given to it is given
// up only once the clipboard has really taken it.
#include "capture/picture.h"
#include "platform/unique_any.h"

namespace grabwell::capture {

// The clipboard's bitmap (and palette, when it has one) copied into a new
// Picture in the display's format. Empty when the clipboard holds no bitmap
// or stays locked by another program.
Picture PictureFromClipboard(HWND owner);

// Empties the clipboard and hands it `bitmap`. On success `bitmap` is left
// empty (the clipboard owns it now); on failure it still holds the bitmap, so
// the caller's capture is never lost. owner must be a window of this thread.
bool PutBitmapOnClipboard(HWND owner, platform::unique_hbitmap& bitmap);

// A copy of `source` in the display's format, through `palette` when given.
platform::unique_hbitmap DuplicateBitmap(HBITMAP source, HPALETTE palette = nullptr);

}  // namespace grabwell::capture
