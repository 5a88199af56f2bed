#include "capture/bmp_decode.h"

#include <cstring>

#include "platform/dib.h"
#include "platform/unique_any.h"

namespace grabwell::capture {

namespace {

// Every header form becomes the plain 40-byte one, the form every GDI reads
// alike, with the bit fields or the colour table right after it.
struct DibHeader {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

void FillHeader(DibHeader& out, std::span<const std::uint8_t> file, const core::BmpDib& dib) {
    BITMAPINFOHEADER& h = out.header;
    h.biSize = sizeof(h);
    h.biWidth = dib.width;
    h.biHeight = dib.height;
    h.biPlanes = 1;
    h.biBitCount = dib.bits;
    h.biCompression = dib.compression;
    // A run-length stream is read no further than this.
    const bool rle = dib.compression == BI_RLE8 || dib.compression == BI_RLE4;
    h.biSizeImage = rle ? static_cast<DWORD>(dib.pixelBytes) : 0;
    h.biClrUsed = dib.tableEntries;
    if (dib.compression == BI_BITFIELDS) {
        static_assert(sizeof(dib.masks) <= sizeof(out.colours));
        std::memcpy(out.colours, dib.masks, sizeof(dib.masks));
    }
    const std::uint8_t* entry = file.data() + dib.tableOffset;
    for (std::uint32_t i = 0; i < dib.tableEntries; ++i, entry += dib.entryBytes) {
        out.colours[i] = {entry[0], entry[1], entry[2], 0};
    }
}

}  // namespace

Picture DecodeBmp(std::span<const std::uint8_t> file, const core::BmpDib& dib) {
    // The header check vouched for these; a caller that skipped it gets nothing.
    if (dib.width <= 0 || dib.height == 0 || dib.tableEntries > 256 ||
        dib.tableOffset + std::uint64_t{dib.tableEntries} * dib.entryBytes > file.size() ||
        dib.pixelOffset > file.size() || dib.pixelBytes > file.size() - dib.pixelOffset) {
        return {};
    }
    DibHeader info{};
    FillHeader(info, file, dib);
    const int height = dib.height < 0 ? -dib.height : dib.height;
    platform::DibSection target = platform::CreateTopDownDibSection(dib.width, height, 32);
    auto screen = platform::unique_window_dc::Client(nullptr);
    if (!target.bitmap || !screen) return {};
    // Pixels a run-length stream skips over stay black.
    const int rows = ::SetDIBits(screen.get(), target.bitmap.get(), 0, static_cast<UINT>(height),
                                 file.data() + dib.pixelOffset,
                                 reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
    const bool rle = dib.compression == BI_RLE8 || dib.compression == BI_RLE4;
    if (rle ? rows <= 0 : rows != height) return {};
    return PictureFromBitmap(std::move(target.bitmap));
}

}  // namespace grabwell::capture
