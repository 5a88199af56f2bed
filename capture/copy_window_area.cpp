#include "capture/copy_window_area.h"

#include "capture/palette.h"
#include "platform/compositor.h"
#include "platform/dib.h"

namespace grabwell::capture {

bool UsesSystemPalette(int rasterCaps, int sizePalette) {
    return (rasterCaps & RC_PALETTE) != 0 && sizePalette == kSystemPaletteSize;
}

platform::unique_hbitmap CreateCaptureBitmap(HDC reference, int width, int height) {
    platform::unique_hbitmap bitmap(::CreateCompatibleBitmap(reference, width, height));
    if (!bitmap) bitmap = platform::CreateTopDownDibSection(width, height, 32).bitmap;
    return bitmap;
}

Picture CopyFromDc(HDC source, int left, int top, int width, int height,
                   SystemPalette palette) {
    // GDI would mirror a negative size; zero goes on as it is.
    if (!source || width < 0 || height < 0) return {};
    platform::unique_hdc memory(::CreateCompatibleDC(source));
    if (!memory) return {};
    platform::unique_hbitmap bitmap = CreateCaptureBitmap(source, width, height);
    if (!bitmap) return {};

    platform::unique_select_object selectBitmap(memory.get(), bitmap.get());
    if (!selectBitmap) return {};

    platform::unique_hpalette systemPalette;
    const bool wantPalette =
        palette == SystemPalette::Always ||
        UsesSystemPalette(::GetDeviceCaps(source, RASTERCAPS), ::GetDeviceCaps(source, SIZEPALETTE));
    if (wantPalette) {
        systemPalette = CopySystemPalette(source);
        if (!systemPalette) return {};
    }
    platform::unique_select_palette selectPalette(memory.get(), systemPalette.get());
    if (systemPalette) ::RealizePalette(memory.get());

    const bool copied =
        ::BitBlt(memory.get(), 0, 0, width, height, source, left, top, SRCCOPY) != FALSE;

    // Unwind in reverse: the bitmap comes out first, then the palette, so
    // neither is still selected anywhere when the Picture takes them.
    selectBitmap.restore();
    selectPalette.restore();
    memory.reset();
    if (!copied) return {};
    return PictureFromBitmap(std::move(bitmap), std::move(systemPalette));
}

std::optional<RECT> WindowOnScreen(HWND window, bool client) {
    if (!client) return platform::TheCompositor().VisibleBounds(window);
    RECT area{};
    POINT origin{0, 0};
    if (!::GetClientRect(window, &area) || !::ClientToScreen(window, &origin)) return std::nullopt;
    ::OffsetRect(&area, origin.x, origin.y);
    return area;
}

Picture CopyWindowArea(HWND window, bool client, int left, int top, int width, int height,
                       SystemPalette palette) {
    if (width < 0 || height < 0) return {};
    const std::optional<RECT> shown = WindowOnScreen(window, client);
    if (!shown) return {};
    // The desktop window's DC, in screen coordinates wherever the monitors lie.
    const auto screen = platform::unique_window_dc::Client(nullptr);
    return CopyFromDc(screen.get(), shown->left + left, shown->top + top, width, height, palette);
}

}  // namespace grabwell::capture
