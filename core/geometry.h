#pragma once
// Screen geometry shared by the capture routines and the layout code. Mirrors
// the platform's RECT and POINT (signed 32-bit, right and bottom exclusive)
// without pulling in Windows headers.
#include <cstdint>

namespace grabwell::core {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace grabwell::core
