#include "capture/palette.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace grabwell::capture {

namespace {

platform::unique_hpalette PaletteOf(std::span<const PALETTEENTRY> colours) {
    if (colours.empty() || colours.size() > 0xFFFF) return {};
    // LOGPALETTE declares one entry; the others follow it in the same block.
    std::vector<BYTE> block(sizeof(LOGPALETTE) + (colours.size() - 1) * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(colours.size());
    std::copy(colours.begin(), colours.end(),
              reinterpret_cast<PALETTEENTRY*>(block.data() + offsetof(LOGPALETTE, palPalEntry)));
    return platform::unique_hpalette(::CreatePalette(log));
}

}  // namespace

platform::unique_hpalette CopySystemPalette(HDC device) {
    std::array<PALETTEENTRY, kSystemPaletteSize> colours{};
    ::GetSystemPaletteEntries(device, 0, kSystemPaletteSize, colours.data());
    return PaletteOf(colours);
}

platform::unique_hpalette DuplicatePalette(HPALETTE source) {
    WORD count = 0;
    if (!source || ::GetObjectW(source, sizeof(count), &count) != sizeof(count) || count == 0) {
        return {};
    }
    std::vector<PALETTEENTRY> colours(count);
    if (::GetPaletteEntries(source, 0, count, colours.data()) != count) return {};
    return PaletteOf(colours);
}

}  // namespace grabwell::capture
