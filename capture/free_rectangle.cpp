#include "capture/free_rectangle.h"

#include <cstdint>
#include <string>

#include "capture/picture_clipboard.h"
#include "core/rubber_band.h"
#include "platform/unique_any.h"

namespace grabwell::capture {

namespace {

// A DC on the whole display. Unlike GetDC(nullptr), whose DC belongs to the
// desktop window and under Wine is clipped by every window above it, a
// display DC draws over everything, which is what the band must do.
platform::unique_hdc DisplayDc() {
    return platform::unique_hdc(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
}

constexpr UINT kFirstMouseMessage = WM_MOUSEMOVE;      // 0x0200
constexpr UINT kLastMouseMessage = WM_MBUTTONDBLCLK;  // 0x0209

void DrawLabel(HDC dc, const core::Rect& rect, const LabelBitmapMaker& makeBitmap) {
    const std::string narrow = core::RubberBandLabel(rect);
    const std::wstring text(narrow.begin(), narrow.end());  // digits and 'x' only
    const int length = static_cast<int>(text.size());
    SIZE extent{};
    if (!::GetTextExtentPoint32W(dc, text.c_str(), length, &extent)) return;
    if (extent.cx <= 0 || extent.cy <= 0) return;
    const core::Point origin = core::LabelOrigin(rect, {extent.cx, extent.cy});

    platform::unique_hdc memory(::CreateCompatibleDC(dc));
    if (!memory) return;
    // Without its bitmap there is no label this time; the outline alone still
    // shows the selection, and the next step tries again.
    platform::unique_hbitmap bitmap(makeBitmap(extent.cx, extent.cy));
    if (!bitmap) return;
    {
        platform::unique_select_object select(memory.get(), bitmap.get());
        if (::GetCurrentObject(memory.get(), OBJ_BITMAP) != bitmap.get()) return;
        ::SetTextColor(memory.get(), RGB(255, 255, 255));
        ::SetBkColor(memory.get(), RGB(0, 0, 0));
        ::SetBkMode(memory.get(), OPAQUE);
        ::TextOutW(memory.get(), 0, 0, text.c_str(), length);
        // White glyph bits become the display DC's background (white) and
        // black ones its text colour (black): XOR inverts only the glyphs.
        ::BitBlt(dc, origin.x, origin.y, extent.cx, extent.cy, memory.get(), 0, 0, SRCINVERT);
    }
}

HBITMAP MakeMonochromeBitmap(int width, int height) {
    return ::CreateBitmap(width, height, 1, 1, nullptr);
}

}  // namespace

void DrawRubberBand(HDC dc, const core::Rect& rect) {
    DrawRubberBand(dc, rect, &MakeMonochromeBitmap);
}

void DrawRubberBand(HDC dc, const core::Rect& rect, const LabelBitmapMaker& makeLabelBitmap) {
    if (!dc || core::IsRectEmpty(rect)) return;
    for (const core::Stroke& s : core::RubberBandStrokes(rect)) {
        ::PatBlt(dc, s.x, s.y, s.width, s.height, DSTINVERT);
    }
    DrawLabel(dc, rect, makeLabelBitmap);
}

TrackResult TrackRubberBand(HWND window, POINT& start, const std::function<bool()>& cancelled) {
    ::ClientToScreen(window, &start);
    TrackResult result;
    result.rect = {start.x, start.y, start.x, start.y};
    platform::unique_hdc dc = DisplayDc();
    DrawRubberBand(dc.get(), result.rect);

    bool released = false;
    while (!released) {
        MSG msg{};
        // Peek before waiting: a release queued together with the press is no
        // longer "new" and would not end a WaitMessage.
        const bool got =
            ::PeekMessageW(&msg, nullptr, kFirstMouseMessage, kLastMouseMessage, PM_REMOVE) != FALSE;
        // Asked after the peek: it runs the messages other threads sent us,
        // and one of those may be the news that the capture is gone.
        if (cancelled && cancelled()) {
            result.cancelled = true;
            break;
        }
        if (!got) {
            ::WaitMessage();
            continue;
        }
        DrawRubberBand(dc.get(), result.rect);
        result.rect = core::TrackedRect({start.x, start.y}, {msg.pt.x, msg.pt.y});
        DrawRubberBand(dc.get(), result.rect);
        if (msg.message == WM_LBUTTONUP) {
            result.last = msg;
            released = true;
        }
    }

    DrawRubberBand(dc.get(), result.rect);
    ::GdiFlush();
    dc.reset();
    ::ReleaseCapture();
    if (released) {
        ::PostMessageW(window, WM_LBUTTONUP, result.last.wParam, result.last.lParam);
    }
    return result;
}

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

    platform::unique_hdc screen = DisplayDc();
    if (!screen) return {};
    platform::unique_hdc memory(::CreateCompatibleDC(screen.get()));
    platform::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen.get(), w, h));
    if (!memory || !bitmap) return {};
    platform::unique_select_object select(memory.get(), bitmap.get());
    if (::GetCurrentObject(memory.get(), OBJ_BITMAP) != bitmap.get()) return {};
    const bool copied =
        ::BitBlt(memory.get(), 0, 0, w, h, screen.get(), left, top, SRCCOPY) != FALSE;
    select.restore();
    if (!copied) return {};
    return bitmap;
}

ScreenCopy CopyScreenRectToClipboard(HWND owner, int left, int top, int right, int bottom) {
    ScreenCopy copy;
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
