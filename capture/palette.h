#pragma once
// Palettes of our own, made from colours held elsewhere: the system palette
// of an indexed display, or a palette the clipboard owns.
#include "platform/unique_any.h"

namespace grabwell::capture {

// The entries of a full 8-bit system palette.
inline constexpr int kSystemPaletteSize = 256;

// The system palette of the device behind `device`, all of its entries.
platform::unique_hpalette CopySystemPalette(HDC device);

// A palette with the colours of `source`; null for none or an empty one.
platform::unique_hpalette DuplicatePalette(HPALETTE source);

}  // namespace grabwell::capture
