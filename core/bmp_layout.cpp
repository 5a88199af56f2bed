#include "core/bmp_layout.h"

#include <algorithm>
#include <limits>

namespace grabwell::core {

std::optional<std::uint64_t> BmpStride(std::uint64_t width, unsigned bitsPerPixel) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    if (bitsPerPixel != 0 && width > kMax / bitsPerPixel) return std::nullopt;
    const std::uint64_t rowBits = width * bitsPerPixel;
    if (rowBits > kMax - 31) return std::nullopt;
    return (rowBits + 31) / 32 * 4;
}

std::optional<BmpLayout> PlanBmp(Size size, bool indexed) {
    if (size.cx <= 0 || size.cy <= 0) return std::nullopt;
    BmpLayout layout;
    layout.width = size.cx;
    layout.height = size.cy;
    layout.bits = indexed ? 8 : 24;
    layout.colours = indexed ? 256 : 0;
    // A positive 32-bit width at 24 bits stays far inside 64 bits.
    const std::uint64_t stride = *BmpStride(static_cast<std::uint64_t>(size.cx), layout.bits);
    const std::uint64_t offset = std::uint64_t{kBmpFileHeaderBytes} + kBmpInfoHeaderBytes +
                                 std::uint64_t{layout.colours} * kBmpColourBytes;
    const std::uint64_t total = offset + stride * static_cast<std::uint64_t>(size.cy);
    if (total > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    layout.stride = static_cast<std::uint32_t>(stride);
    layout.pixelOffset = static_cast<std::uint32_t>(offset);
    layout.fileSize = static_cast<std::uint32_t>(total);
    return layout;
}

int RowsPerStrip(std::uint64_t stride, int height) {
    if (height <= 0) return 0;
    const std::uint64_t rows = stride == 0 ? 1 : std::max<std::uint64_t>(1, kStripBytes / stride);
    return static_cast<int>(std::min<std::uint64_t>(rows, static_cast<std::uint64_t>(height)));
}

}  // namespace grabwell::core
