#include "capture/free_rectangle_copy.h"

#include <cstdint>

#include "capture/picture_clipboard.h"
#include "platform/display_dc.h"

namespace grabwell::capture {

platform::unique_hbitmap CopyScreenRect(int left, int top, int right, int bottom) {
    const std::int64_t width = std::int64_t{right} - left;
    const std::int64_t height = std::int64_t{bottom} - top;
    if (width < 0 || height < 0 || width > INT32_MAX || height > INT32_MAX) return {};
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);

    // The platform answers a zero-size compatible bitmap with its shared
    // stock 1 x 1 monochrome one, which must never go to the clipboard (that
    // would delete it): the same answer, but a bitmap of our own.
    if (w == 0 || h == 0) return platform::unique_hbitmap(::CreateBitmap(1, 1, 1, 1, nullptr));

    platform::unique_hdc screen = platform::DisplayDc();
    if (!screen) return {};
    platform::unique_hdc memory(::CreateCompatibleDC(screen.get()));
    platform::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen.get(), w, h));
    if (!memory || !bitmap) return {};
    platform::unique_select_object select(memory.get(), bitmap.get());
    if (!select) return {};
    const bool copied =
        ::BitBlt(memory.get(), 0, 0, w, h, screen.get(), left, top, SRCCOPY) != FALSE;
    select.restore();
    if (!copied) return {};
    return bitmap;
}

FreeRectangleCopy CopyScreenRectToClipboard(HWND owner, int left, int top, int right, int bottom) {
    FreeRectangleCopy copy;
    platform::unique_hbitmap bitmap = CopyScreenRect(left, top, right, bottom);
    if (!bitmap) return copy;
    if (PutBitmapOnClipboard(owner, bitmap)) {
        copy.onClipboard = true;
    } else {
        copy.direct = PictureFromBitmap(std::move(bitmap));
    }
    return copy;
}

}  // namespace grabwell::capture
