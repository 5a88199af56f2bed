#pragma once
// Pictures with known pixels for tests that need one in the window.
#include <cstdint>
#include <vector>

#include "capture/picture.h"

namespace grabwell::test {

// A picture of the given size in the display's format, filled with `colour`
// and with a distinct 1-pixel marker at its top-left corner.
capture::Picture SolidPicture(int width, int height, COLORREF colour);

// The 32-bit pixels (0x00RRGGBB, top-down) of a bitmap.
std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap, int& width, int& height);

}  // namespace grabwell::test
