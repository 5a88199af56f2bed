#include "capture/picture_decode.h"

#include <wincodec.h>

#include <cstdint>

#include "platform/com.h"
#include "platform/dib.h"
#include "platform/unique_any.h"

namespace grabwell::capture {

namespace {

// What the decoder gives, when GDI draws it as it is: the bits a pixel of
// the bitmap that takes the decoded rows unchanged; 0 for anything else.
WORD BitsGdiTakes(const WICPixelFormatGUID& format) {
    if (format == GUID_WICPixelFormat24bppBGR) return 24;  // every colour JPEG
    if (format == GUID_WICPixelFormat32bppBGR) return 32;
    if (format == GUID_WICPixelFormat8bppGray) return 8;   // grey JPEGs; the bitmap's table is grey
    return 0;
}

// The source's pixels written straight into the memory of the bitmap the
// Picture keeps: no copy of our own, no second full-size buffer.
Picture DecodeInto(IWICBitmapSource* source, WORD bits, int width, int height) {
    platform::DibSection dib = platform::CreateTopDownDibSection(width, height, bits);
    if (!dib.bitmap) return {};
    // At most kMaxPixels x 4 bytes: inside a UINT.
    const auto size = static_cast<UINT>(std::uint64_t{dib.stride} * static_cast<std::uint64_t>(height));
    if (FAILED(source->CopyPixels(nullptr, dib.stride, size, dib.pixels))) return {};
    return PictureFromBitmap(std::move(dib.bitmap));
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
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    if (const WORD bits = BitsGdiTakes(format)) return DecodeInto(frame.Get(), bits, w, h);
    if (FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return {};
    }
    return DecodeInto(converter.Get(), 32, w, h);
}

}  // namespace grabwell::capture
