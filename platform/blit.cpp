#include "platform/blit.h"

#include "platform/unique_any.h"

namespace grabwell::platform {

namespace {

bool BlitArea(HDC target, const RECT& area, HBITMAP source, HPALETTE palette) {
    if (!source) return false;
    unique_hdc memory(::CreateCompatibleDC(target));
    if (!memory) return false;
    unique_select_palette selectedPalette(target, palette);
    if (palette) ::RealizePalette(target);
    unique_select_object selected(memory.get(), source);
    if (!selected) return false;
    return ::BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top,
                    memory.get(), area.left, area.top, SRCCOPY) != FALSE;
}

}  // namespace

void PaintBitmap(HWND window, HBITMAP bitmap, HPALETTE palette, HBRUSH background) {
    const unique_hdc_paint paint(window);
    if (!paint) return;
    if (!BlitArea(paint.get(), paint.area(), bitmap, palette)) {
        ::FillRect(paint.get(), &paint.area(), background);
    }
}

}  // namespace grabwell::platform
