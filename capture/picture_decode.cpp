#include "capture/picture_decode.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "capture/copy_window_area.h"
#include "core/bmp_layout.h"
#include "platform/com.h"
#include "platform/dib.h"
#include "platform/unique_any.h"

namespace grabwell::capture {

namespace {

// Rows of 24bppBGR widened to 32bppBGR; WIC's own converter takes several
// times as long for the most common decoded format (every JPEG).
void WidenRows(const BYTE* from, BYTE* to, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i, from += 3, to += 4) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        to[3] = 0;
    }
}

// Draws a 32bppBGR source, or a 24bppBGR one when `threeBytes`, into a
// bitmap in the screen's format.
Picture ToDisplayBitmap(IWICBitmapSource* source, bool threeBytes, int width, int height) {
    auto screen = platform::unique_window_dc::Client(nullptr);
    if (!screen) return {};
    platform::unique_hbitmap bitmap = CreateCaptureBitmap(screen.get(), width, height);
    platform::unique_hdc memory(::CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory) return {};
    platform::unique_select_object select(memory.get(), bitmap.get());
    if (!select) return {};

    const std::uint64_t stride = *core::BmpStride(static_cast<std::uint64_t>(width), 32);
    const std::uint64_t sourceStride = static_cast<std::uint64_t>(width) * (threeBytes ? 3 : 4);
    const int rows = core::RowsPerStrip(stride, height);
    std::vector<BYTE> strip;
    std::vector<BYTE> narrow;
    try {
        strip.resize(static_cast<std::size_t>(stride * static_cast<std::uint64_t>(rows)));
        if (threeBytes) {
            narrow.resize(static_cast<std::size_t>(sourceStride * static_cast<std::uint64_t>(rows)));
        }
    } catch (const std::bad_alloc&) {
        return {};
    }
    BYTE* const decoded = threeBytes ? narrow.data() : strip.data();
    for (int y = 0; y < height; y += rows) {
        const int n = std::min(rows, height - y);
        const WICRect area{0, y, width, n};
        if (FAILED(source->CopyPixels(&area, static_cast<UINT>(sourceStride),
                                      static_cast<UINT>(sourceStride * static_cast<UINT>(n)),
                                      decoded))) {
            return {};
        }
        if (threeBytes) {
            WidenRows(decoded, strip.data(),
                      static_cast<std::size_t>(width) * static_cast<std::size_t>(n));
        }
        const BITMAPINFO info = platform::TopDownDib32(width, n);  // a DIB of its own a strip
        if (::SetDIBitsToDevice(memory.get(), 0, y, static_cast<DWORD>(width),
                                static_cast<DWORD>(n), 0, 0, 0, static_cast<UINT>(n),
                                strip.data(), &info, DIB_RGB_COLORS) == 0) {
            return {};
        }
    }
    select.restore();
    return PictureFromBitmap(std::move(bitmap));
}

}  // namespace

Picture DecodePicture(std::span<const std::uint8_t> bytes, const core::ImageHeaderInfo& header) {
    platform::ComInit com;
    if (!com.usable()) return {};
    platform::ComPtr<IWICImagingFactory> factory;
    platform::ComPtr<IWICStream> stream;
    platform::ComPtr<IWICBitmapDecoder> decoder;
    platform::ComPtr<IWICBitmapFrameDecode> frame;
    platform::ComPtr<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    // WIC only reads the memory it is given.
    auto* data = const_cast<BYTE*>(bytes.data());
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(data, static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height))) {
        return {};
    }
    if (!core::PixelCountAllowed(width, height)) return {};
    // The codec must see the picture the header check saw.
    if (header.width != 0 && (header.width != width || header.height != height)) return {};
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetPixelFormat(&format))) return {};
    if (format == GUID_WICPixelFormat24bppBGR || format == GUID_WICPixelFormat32bppBGR) {
        return ToDisplayBitmap(frame.Get(), format == GUID_WICPixelFormat24bppBGR,
                               static_cast<int>(width), static_cast<int>(height));
    }
    if (FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return {};
    }
    return ToDisplayBitmap(converter.Get(), false, static_cast<int>(width),
                           static_cast<int>(height));
}

}  // namespace grabwell::capture
