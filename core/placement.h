#pragma once
// The window placement kept per user between runs: four values in twips,
// stored as decimal text.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/geometry.h"

namespace grabwell::core {

struct PlacementKey {
    std::u16string_view name;
    double defaultTwips;
};

// In the order they are read and applied at start-up, and written at close.
inline constexpr std::array<PlacementKey, 4> kPlacementKeys{{
    {u"MainLeft", 1000.0},
    {u"MainTop", 1000.0},
    {u"MainWidth", 6500.0},
    {u"MainHeight", 6500.0},
}};

struct PlacementTwips {
    double left = 1000.0;
    double top = 1000.0;
    double width = 6500.0;
    double height = 6500.0;
};

// A decimal number, optionally signed, with an optional fraction, surrounded
// by nothing but spaces. Anything else (garbage, empty text, a value too large
// for a window coordinate) is not a number.
std::optional<double> ParsePlacementValue(std::u16string_view text);

// The stored text, or the key's default when there is none or it is garbage.
double PlacementValueOr(const std::optional<std::u16string>& stored, double defaultTwips);

// Whole twips, halves to even, as plain decimal text with a leading minus.
std::u16string FormatPlacementValue(double twips);

// A frame moved the least distance that puts it wholly inside the area,
// shrunk to the area's size where it is larger.
Rect MoveInside(const Rect& frame, const Rect& area);

}  // namespace grabwell::core
