#pragma once
#include <cstdint>

#include "platform/unique_any.h"

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

// A bitmap whose pixels lie in our own memory, rows top-down, so a decoder
// can write them in place and GDI draw them as they are.
struct DibSection {
    unique_hbitmap bitmap;
    BYTE* pixels = nullptr;    // valid while `bitmap` lives
    std::uint32_t stride = 0;  // bytes a row, padding included
};

// 32 or 24 bits a pixel in blue-green-red order, or 8 bits of grey (its
// colour table runs from black to white). Empty when it cannot be had.
DibSection CreateTopDownDibSection(int width, int height, WORD bits);

}  // namespace grabwell::platform
