#include "core/rounding.h"

#include <cmath>
#include <limits>

namespace grabwell::core {

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::optional<std::int32_t> RoundToInt32(double value) {
    const double rounded = RoundHalfEven(value);
    if (!std::isfinite(rounded) ||
        rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

double TwipsPerPixel(int dotsPerInch) {
    // A DC that reports no resolution is treated as the classic 96 dpi.
    return static_cast<double>(kTwipsPerInch) / (dotsPerInch > 0 ? dotsPerInch : kDefaultDpi);
}

int ScaleForDpi(int pixelsAt100, int dotsPerInch) {
    if (dotsPerInch <= 0) return pixelsAt100;
    const long long scaled = static_cast<long long>(pixelsAt100) * dotsPerInch;
    const long long half = kDefaultDpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kDefaultDpi : (scaled - half) / kDefaultDpi);
}

namespace {
std::int32_t Saturate(double value) {
    if (auto v = RoundToInt32(value)) return *v;
    if (std::isnan(value)) return 0;
    return value < 0 ? std::numeric_limits<std::int32_t>::min()
                     : std::numeric_limits<std::int32_t>::max();
}
}  // namespace

std::int32_t TwipsToPixels(double twips, double twipsPerPixel) {
    return Saturate(twips / twipsPerPixel);
}

std::int32_t PixelsToTwips(double pixels, double twipsPerPixel) {
    return Saturate(pixels * twipsPerPixel);
}

}  // namespace grabwell::core
