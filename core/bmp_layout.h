#pragma once
// The arithmetic of an uncompressed BMP: how long its rows are and where its
// parts lie in the file. The header check and the writer both count with it.
#include <cstdint>
#include <optional>

#include "core/geometry.h"

namespace grabwell::core {

inline constexpr std::uint32_t kBmpFileHeaderBytes = 14;  // BITMAPFILEHEADER
inline constexpr std::uint32_t kBmpInfoHeaderBytes = 40;  // BITMAPINFOHEADER
inline constexpr std::uint32_t kBmpColourBytes = 4;       // one RGBQUAD

// Bytes in one row of `width` pixels at `bitsPerPixel`, padded to whole
// 32-bit words; nullopt when that does not fit in 64 bits.
std::optional<std::uint64_t> BmpStride(std::uint64_t width, unsigned bitsPerPixel);

struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bits = 24;
    std::uint32_t stride = 0;
    std::uint32_t colours = 0;  // entries in the colour table
    std::uint32_t pixelOffset = 0;
    std::uint32_t fileSize = 0;
};

// The file a picture of `size` becomes: 24-bit, or 8-bit with a table of 256
// colours when `indexed`. Nullopt for an empty size, or one whose file would
// be larger than a BMP's 32-bit size fields can say.
std::optional<BmpLayout> PlanBmp(Size size, bool indexed);

// Pixels move between GDI and files in strips of about this many bytes: a
// large picture never needs a second full-size buffer, and a strip stays in
// the processor's cache. With strips of 8 MiB a save of 3840 x 2160 spent a
// third of its time zeroing and faulting in fresh memory.
inline constexpr std::uint64_t kStripBytes = 256u << 10;

// Rows of `stride` bytes in one strip: at least one, at most `height`.
int RowsPerStrip(std::uint64_t stride, int height);

}  // namespace grabwell::core
