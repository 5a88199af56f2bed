#include "capture/picture_clipboard.h"

#include "capture/copy_window_area.h"
#include "capture/palette.h"
#include "platform/clipboard.h"

namespace grabwell::capture {

platform::unique_hbitmap DuplicateBitmap(HBITMAP source, HPALETTE palette) {
    BITMAP info{};
    if (!source || ::GetObjectW(source, sizeof(info), &info) == 0) return {};
    const int width = info.bmWidth;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;

    auto screen = platform::unique_window_dc::Client(nullptr);
    if (!screen) return {};
    platform::unique_hbitmap copy = CreateCaptureBitmap(screen.get(), width, height);
    platform::unique_hdc from(::CreateCompatibleDC(screen.get()));
    platform::unique_hdc to(::CreateCompatibleDC(screen.get()));
    if (!copy || !from || !to) return {};

    platform::unique_select_object selectSource(from.get(), source);
    platform::unique_select_object selectCopy(to.get(), copy.get());
    if (!selectSource || !selectCopy) return {};
    platform::unique_select_palette paletteFrom(from.get(), palette);
    platform::unique_select_palette paletteTo(to.get(), palette);
    if (palette) ::RealizePalette(to.get());
    const bool copied =
        ::BitBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, SRCCOPY) != FALSE;
    paletteTo.restore();
    paletteFrom.restore();
    selectCopy.restore();
    selectSource.restore();
    if (!copied) return {};
    return copy;
}

Picture PictureFromClipboard(HWND owner) {
    platform::ClipboardSession session(owner);
    if (!session || !::IsClipboardFormatAvailable(CF_BITMAP)) return {};
    const auto bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    if (!bitmap) return {};
    const auto palette = ::IsClipboardFormatAvailable(CF_PALETTE)
                             ? static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE))
                             : nullptr;
    platform::unique_hpalette paletteCopy = DuplicatePalette(palette);
    platform::unique_hbitmap copy = DuplicateBitmap(bitmap, paletteCopy.get());
    return PictureFromBitmap(std::move(copy), std::move(paletteCopy));
}

bool PutBitmapOnClipboard(HWND owner, platform::unique_hbitmap& bitmap) {
    if (!bitmap) return false;
    platform::ClipboardSession session(owner);
    if (!session || !::EmptyClipboard()) return false;
    if (!::SetClipboardData(CF_BITMAP, bitmap.get())) return false;
    // The clipboard owns it now and will delete it when emptied.
    [[maybe_unused]] HBITMAP given = bitmap.release();
    return true;
}

}  // namespace grabwell::capture
