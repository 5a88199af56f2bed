#include "platform/dib.h"

#include "core/bmp_layout.h"

namespace grabwell::platform {

DibSection CreateTopDownDibSection(int width, int height, WORD bits) {
    if (width <= 0 || height <= 0 || (bits != 8 && bits != 24 && bits != 32)) return {};
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD greys[256];
    } info{};
    info.header = TopDownDib32(width, height).bmiHeader;
    info.header.biBitCount = bits;
    if (bits == 8) {
        info.header.biClrUsed = 256;
        for (int i = 0; i < 256; ++i) {
            const auto level = static_cast<BYTE>(i);
            info.greys[i] = {level, level, level, 0};
        }
    }
    DibSection dib;
    void* pixels = nullptr;
    dib.bitmap.reset(::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info),
                                        DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!dib.bitmap || !pixels) return {};
    dib.pixels = static_cast<BYTE*>(pixels);
    // A positive 32-bit width at 32 bits stays far inside 32 bits a row.
    dib.stride = static_cast<std::uint32_t>(*core::BmpStride(static_cast<std::uint64_t>(width), bits));
    return dib;
}

}  // namespace grabwell::platform
