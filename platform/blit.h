#pragma once
#include "platform/win32.h"

namespace grabwell::platform {

// Copies `area` of `source` to the same place on `target`, through `palette`
// when there is one: the paint step of every window that shows a bitmap at
// its natural size. False when nothing could be drawn.
bool BlitBitmapArea(HDC target, const RECT& area, HBITMAP source, HPALETTE palette = nullptr);

}  // namespace grabwell::platform
