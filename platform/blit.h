#pragma once
#include "platform/win32.h"

namespace grabwell::platform {

// The WM_PAINT of every window that shows a bitmap at its natural size: only
// the part that needs painting, through `palette` when there is one, and
// `background` when there is no bitmap to show.
void PaintBitmap(HWND window, HBITMAP bitmap, HPALETTE palette, HBRUSH background);

}  // namespace grabwell::platform
