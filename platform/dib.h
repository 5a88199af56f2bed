#pragma once
#include "platform/win32.h"

namespace grabwell::platform {

// The header of a 32-bit DIB of width x height with its rows top-down, as the
// screen has them: the one layout in which pixels go to GDI and come back.
inline BITMAPINFO TopDownDib32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace grabwell::platform
