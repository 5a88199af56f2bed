#include "picture_fixture.h"

namespace grabwell::test {

capture::Picture SolidPicture(int width, int height, COLORREF colour) {
    HDC screen = ::GetDC(nullptr);
    platform::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    platform::unique_hdc memory(::CreateCompatibleDC(screen));
    ::ReleaseDC(nullptr, screen);
    {
        platform::unique_select_object select(memory.get(), bitmap.get());
        platform::unique_hbrush brush(::CreateSolidBrush(colour));
        RECT all{0, 0, width, height};
        ::FillRect(memory.get(), &all, brush.get());
        ::SetPixel(memory.get(), 0, 0, RGB(1, 2, 3));
    }
    return capture::PictureFromBitmap(std::move(bitmap));
}

std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof(info), &info);
    width = info.bmWidth;
    height = info.bmHeight;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &bmi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    for (auto& p : pixels) p &= 0x00FFFFFF;
    return pixels;
}

}  // namespace grabwell::test
