#include "capture/free_rectangle_tracking.h"

#include <string>

#include "core/free_rectangle.h"
#include "platform/display_dc.h"
#include "platform/unique_any.h"

namespace grabwell::capture {

namespace {

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
        if (!select) return;
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

FreeRectangleDrag TrackRubberBand(HWND window, POINT& start,
                                  const std::function<bool()>& cancelled) {
    ::ClientToScreen(window, &start);
    FreeRectangleDrag result;
    result.rect = {start.x, start.y, start.x, start.y};
    platform::unique_hdc dc = platform::DisplayDc();
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

}  // namespace grabwell::capture
