#include "capture/free_rectangle_copy.h"

#include <cstdint>

#include "capture/picture_clipboard.h"
#include "platform/display_dc.h"

namespace grabwell::capture {

namespace {

// `source`'s area at (x, y) of width x height in a new bitmap compatible
// with `reference`.
platform::unique_hbitmap CopyArea(HDC reference, HDC source, int x, int y, int width,
                                  int height) {
    platform::unique_hdc memory(::CreateCompatibleDC(reference));
    platform::unique_hbitmap bitmap(::CreateCompatibleBitmap(reference, width, height));
    if (!memory || !bitmap) return {};
    platform::unique_select_object select(memory.get(), bitmap.get());
    if (!select) return {};
    const bool copied =
        ::BitBlt(memory.get(), 0, 0, width, height, source, x, y, SRCCOPY) != FALSE;
    select.restore();
    if (!copied) return {};
    return bitmap;
}

}  // namespace

ScreenSnapshot SnapshotScreenRect(int left, int top, int right, int bottom) {
    return {CopyScreenRect({}, left, top, right, bottom), {left, top}};
}

platform::unique_hbitmap CopyScreenRect(const ScreenSnapshot& from, int left, int top, int right,
                                        int bottom) {
    const std::int64_t width = std::int64_t{right} - left;
    const std::int64_t height = std::int64_t{bottom} - top;
    if (width < 0 || height < 0 || width > INT32_MAX || height > INT32_MAX) return {};
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);

    // The platform answers a zero-size compatible bitmap with its shared
    // stock 1 x 1 monochrome one, which must never go to the clipboard (that
    // would delete it): the same answer, but a bitmap of our own.
    if (w == 0 || h == 0) return platform::unique_hbitmap(::CreateBitmap(1, 1, 1, 1, nullptr));

    // The display DC is the reference either way: a bitmap compatible with
    // a memory DC would be monochrome.
    platform::unique_hdc screen = platform::DisplayDc();
    if (!screen) return {};
    if (!from.bitmap) return CopyArea(screen.get(), screen.get(), left, top, w, h);

    platform::unique_hdc still(::CreateCompatibleDC(screen.get()));
    if (!still) return {};
    platform::unique_select_object select(still.get(), from.bitmap.get());
    if (!select) return {};
    return CopyArea(screen.get(), still.get(), left - from.origin.x, top - from.origin.y, w, h);
}

Picture PictureOfScreenRect(const ScreenSnapshot& from, int left, int top, int right,
                            int bottom) {
    return PictureFromBitmap(CopyScreenRect(from, left, top, right, bottom));
}

bool CopyScreenRectToClipboard(HWND owner, const ScreenSnapshot& from, int left, int top,
                               int right, int bottom) {
    platform::unique_hbitmap bitmap = CopyScreenRect(from, left, top, right, bottom);
    return PutBitmapOnClipboard(owner, bitmap);
}

}  // namespace grabwell::capture
