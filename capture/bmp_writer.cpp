#include "capture/bmp_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "platform/unique_any.h"

namespace grabwell::capture {

namespace {

// The plan counts in the sizes of these very structures.
static_assert(sizeof(BITMAPFILEHEADER) == core::kBmpFileHeaderBytes);
static_assert(sizeof(BITMAPINFOHEADER) == core::kBmpInfoHeaderBytes);
static_assert(sizeof(RGBQUAD) == core::kBmpColourBytes);

struct BmpInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

// 32-bit rows from GetDIBits packed into 24-bit file rows: GDI's own 24-bit
// conversion is several times slower than this loop.
void PackRows(const BYTE* from, BYTE* to, int width, int rows, std::uint32_t stride) {
    const std::size_t pixels = static_cast<std::size_t>(width);
    for (int r = 0; r < rows; ++r) {
        BYTE* out = to + std::size_t{stride} * static_cast<std::size_t>(r);
        const BYTE* in = from + 4 * pixels * static_cast<std::size_t>(r);
        // Whole 4-byte stores, each overwriting the previous one's spare
        // byte; the row's last pixel stops at its own three bytes.
        for (std::size_t x = 0; x + 1 < pixels; ++x, in += 4, out += 3) std::memcpy(out, in, 4);
        std::memcpy(out, in, 3);
        std::memset(out + 3, 0, stride - 3 * pixels);
    }
}

}  // namespace

bool WriteBmp(const Picture& picture, const core::BmpLayout& layout,
              platform::ReplacementFile& out) {
    auto screen = platform::unique_window_dc::Client(nullptr);
    if (!screen) return false;
    // GetDIBits takes an 8-bit colour table from the palette selected in the
    // DC it is given, so palette pictures go through a DC of their own.
    platform::unique_hdc memory(::CreateCompatibleDC(screen.get()));
    if (!memory) return false;
    platform::unique_select_palette selectPalette(memory.get(), picture.palette());
    if (picture.palette()) ::RealizePalette(memory.get());

    const bool packed = layout.bits == 24;
    const std::uint32_t readStride =
        packed ? 4 * static_cast<std::uint32_t>(layout.width) : layout.stride;
    BmpInfo info{};
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = layout.width;
    info.header.biHeight = layout.height;  // bottom-up: file order from scan line 0
    info.header.biPlanes = 1;
    info.header.biBitCount = packed ? WORD{32} : layout.bits;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = layout.colours;

    const int rows = core::RowsPerStrip(readStride, layout.height);
    std::vector<BYTE> strip;
    std::vector<BYTE> fileRows;
    try {
        strip.resize(std::size_t{readStride} * static_cast<std::size_t>(rows));
        if (packed) fileRows.resize(std::size_t{layout.stride} * static_cast<std::size_t>(rows));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int scan = 0; scan < layout.height; scan += rows) {
        const int n = std::min(rows, layout.height - scan);
        if (::GetDIBits(memory.get(), picture.handle(), static_cast<UINT>(scan),
                        static_cast<UINT>(n), strip.data(),
                        reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != n) {
            return false;
        }
        if (scan == 0) {
            // The colour table is known once GetDIBits has filled it in.
            BITMAPFILEHEADER file{};
            file.bfType = 0x4D42;  // "BM"
            file.bfSize = layout.fileSize;
            file.bfOffBits = layout.pixelOffset;
            BITMAPINFOHEADER header = info.header;
            header.biBitCount = layout.bits;
            header.biClrUsed = layout.colours;
            header.biSizeImage = layout.stride * static_cast<std::uint32_t>(layout.height);
            header.biXPelsPerMeter = header.biYPelsPerMeter = 0;
            if (!out.Write(&file, sizeof(file)) || !out.Write(&header, sizeof(header)) ||
                !out.Write(info.colors, layout.colours * sizeof(RGBQUAD))) {
                return false;
            }
        }
        if (packed) PackRows(strip.data(), fileRows.data(), layout.width, n, layout.stride);
        const BYTE* rowsOut = packed ? fileRows.data() : strip.data();
        if (!out.Write(rowsOut, std::size_t{layout.stride} * static_cast<std::size_t>(n))) {
            return false;
        }
    }
    return true;
}

}  // namespace grabwell::capture
