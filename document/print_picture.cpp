#include "document/print_picture.h"

#include <cstdint>
#include <new>
#include <optional>
#include <vector>

#include "core/bmp_layout.h"
#include "core/print_layout.h"

namespace grabwell::document {

namespace {

// The picture as a bottom-up 24-bit DIB, which every printer driver takes.
struct Dib {
    BITMAPINFO info{};
    std::vector<BYTE> bits;
};

std::optional<Dib> ScreenDib(const capture::Picture& picture, HDC screen) {
    const core::Size size = picture.size();
    if (size.cx <= 0 || size.cy <= 0) return std::nullopt;
    Dib dib;
    BITMAPINFOHEADER& header = dib.info.bmiHeader;
    header.biSize = sizeof(header);
    header.biWidth = size.cx;
    header.biHeight = size.cy;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const std::uint64_t stride = *core::BmpStride(static_cast<std::uint64_t>(size.cx), 24);
    const std::uint64_t total = stride * static_cast<std::uint64_t>(size.cy);
    if (total > UINT32_MAX) return std::nullopt;
    try {
        dib.bits.resize(static_cast<std::size_t>(total));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    // A palette picture's indices mean its own palette's colours.
    platform::unique_select_palette palette(screen, picture.palette());
    if (picture.palette()) ::RealizePalette(screen);
    const int lines = ::GetDIBits(screen, picture.handle(), 0, static_cast<UINT>(size.cy),
                                  dib.bits.data(), &dib.info, DIB_RGB_COLORS);
    if (lines != size.cy) return std::nullopt;
    return dib;
}

core::Size DeviceDpi(HDC dc) {
    return {::GetDeviceCaps(dc, LOGPIXELSX), ::GetDeviceCaps(dc, LOGPIXELSY)};
}

}  // namespace

bool DrawPictureOnPage(HDC page, const capture::Picture& picture) {
    if (!page || picture.empty()) return false;
    const platform::unique_window_dc screen(nullptr, ::GetDC(nullptr));
    if (!screen) return false;
    const std::optional<core::PagePlacement> place = core::PlaceOnPage(
        picture.size(), DeviceDpi(screen.get()), DeviceDpi(page),
        {::GetDeviceCaps(page, HORZRES), ::GetDeviceCaps(page, VERTRES)});
    if (!place) return false;
    const std::optional<Dib> dib = ScreenDib(picture, screen.get());
    if (!dib) return false;

    // Shrinking by dropping rows would lose thin lines; halftone averages.
    ::SetStretchBltMode(page, HALFTONE);
    ::SetBrushOrgEx(page, 0, 0, nullptr);
    const core::Size size = picture.size();
    const int drawn = ::StretchDIBits(page, place->x, place->y, place->width, place->height, 0, 0,
                                      size.cx, size.cy, dib->bits.data(), &dib->info,
                                      DIB_RGB_COLORS, SRCCOPY);
    return drawn > 0;  // 0 or GDI_ERROR (-1) on failure
}

bool PrintPicture(HDC printer, const capture::Picture& picture) {
    if (!printer || picture.empty()) return false;
    DOCINFOW document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = L"Grabwell";
    if (::StartDocW(printer, &document) <= 0) return false;
    const bool printed = ::StartPage(printer) > 0 && DrawPictureOnPage(printer, picture) &&
                         ::EndPage(printer) > 0;
    if (!printed) {
        ::AbortDoc(printer);
        return false;
    }
    return ::EndDoc(printer) > 0;
}

}  // namespace grabwell::document
