#pragma once
// Twips (1/1440 inch) are the window's unit of measure; pixels are the
// screen's. Every conversion between them rounds half to even, so the same
// value converts the same way in every part of the program.
#include <cstdint>
#include <optional>

namespace grabwell::core {

inline constexpr int kTwipsPerInch = 1440;
// The display scale of 100%, which every length in pixels is designed for.
inline constexpr int kDefaultDpi = 96;

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// As RoundHalfEven, but only when the result fits a signed 32-bit integer.
std::optional<std::int32_t> RoundToInt32(double value);

// 1440 / dpi: 15 at 96 dpi, 12 at 120, 10 at 144, 7.5 at 192.
double TwipsPerPixel(int dotsPerInch);

// A length designed in pixels at 100%, at another display scale: the nearest
// whole pixel, halves up, as Windows scales its own metrics. An unusable DPI
// counts as 100%.
int ScaleForDpi(int pixelsAt100, int dotsPerInch);

std::int32_t TwipsToPixels(double twips, double twipsPerPixel);
std::int32_t PixelsToTwips(double pixels, double twipsPerPixel);

}  // namespace grabwell::core
