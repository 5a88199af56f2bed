#include "core/placement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/rounding.h"

namespace grabwell::core {

namespace {
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
}  // namespace

std::optional<double> ParsePlacementValue(std::u16string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == u' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';

    double value = 0.0;
    std::size_t digits = 0;
    for (; i < n && IsDigit(text[i]); ++i, ++digits) value = value * 10.0 + (text[i] - u'0');
    if (i < n && text[i] == u'.') {
        double scale = 0.1;
        for (++i; i < n && IsDigit(text[i]); ++i, ++digits, scale /= 10.0) {
            value += (text[i] - u'0') * scale;
        }
    }
    while (i < n && text[i] == u' ') ++i;
    if (digits == 0 || i != n) return std::nullopt;

    if (negative) value = -value;
    // Beyond 32 bits the value cannot be a window coordinate in any unit.
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return value;
}

double PlacementValueOr(const std::optional<std::u16string>& stored, double defaultTwips) {
    if (!stored) return defaultTwips;
    return ParsePlacementValue(*stored).value_or(defaultTwips);
}

std::u16string FormatPlacementValue(double twips) {
    const auto whole = RoundToInt32(twips).value_or(0);
    const std::string ascii = std::to_string(whole);
    return {ascii.begin(), ascii.end()};
}

Rect MoveInside(const Rect& frame, const Rect& area) {
    // 64-bit sums: any two 32-bit coordinates may lie further apart than
    // a 32-bit difference holds.
    const auto fit = [](std::int64_t low, std::int64_t high, std::int64_t areaLow,
                        std::int64_t areaHigh) {
        const std::int64_t length = std::min(high - low, areaHigh - areaLow);
        const std::int64_t start = std::clamp(low, areaLow, areaHigh - length);
        return std::pair<std::int32_t, std::int32_t>(static_cast<std::int32_t>(start),
                                                     static_cast<std::int32_t>(start + length));
    };
    const auto [left, right] = fit(frame.left, frame.right, area.left, area.right);
    const auto [top, bottom] = fit(frame.top, frame.bottom, area.top, area.bottom);
    return {left, top, right, bottom};
}

}  // namespace grabwell::core
