#include "tests/win32/capture_test_support.h"

#include "capture/free_rectangle_copy.h"
#include "platform/dib.h"
#include "tests/win32/test_window_env.h"

namespace grabwell::testing {

bool PaletteScreen() {
    const auto screen = platform::unique_window_dc::Client(nullptr);
    return (::GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE) != 0;
}

Pixels ReadPixels(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return {};
    Pixels out;
    out.width = info.bmWidth;
    out.height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    out.data.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    BITMAPINFO bi = platform::TopDownDib32(out.width, out.height);
    const auto screen = platform::unique_window_dc::Client(nullptr);
    const int lines = ::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(out.height),
                                  out.data.data(), &bi, DIB_RGB_COLORS);
    if (lines != out.height) return {};
    for (auto& p : out.data) p &= 0xFFFFFFu;
    return out;
}

namespace {

struct Block {
    RECT rect;
    COLORREF colour;
};

// Distinct blocks at uneven places, so an offset or a flip shows.
constexpr Block kBlocks[] = {
    {{8, 6, 48, 36}, RGB(255, 0, 0)},
    {{60, 6, 100, 50}, RGB(0, 200, 0)},
    {{110, 70, 150, 110}, RGB(0, 0, 255)},
    {{20, 80, 70, 100}, RGB(17, 34, 51)},
};

void PaintBlocks(HDC dc) {
    RECT all{0, 0, BlockWindow::kClientWidth, BlockWindow::kClientHeight};
    HBRUSH white = ::CreateSolidBrush(RGB(255, 255, 255));
    ::FillRect(dc, &all, white);
    ::DeleteObject(white);
    for (const Block& b : kBlocks) {
        HBRUSH brush = ::CreateSolidBrush(b.colour);
        ::FillRect(dc, &b.rect, brush);
        ::DeleteObject(brush);
    }
}

LRESULT CALLBACK BlockWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        PaintBlocks(dc);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

const wchar_t* RegisterBlockClass() {
    static const wchar_t* const name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = BlockWindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"GrabwellCaptureTestBlocks";
        ::RegisterClassW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

}  // namespace

COLORREF BlockWindow::BlockColour(int x, int y) {
    COLORREF colour = RGB(255, 255, 255);
    for (const Block& b : kBlocks) {
        if (x >= b.rect.left && x < b.rect.right && y >= b.rect.top && y < b.rect.bottom) {
            colour = b.colour;
        }
    }
    return colour;
}

BlockWindow::BlockWindow(int screenX, int screenY) {
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    RECT outer{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&outer, style, FALSE, WS_EX_TOPMOST);
    hwnd_ = ::CreateWindowExW(WS_EX_TOPMOST, RegisterBlockClass(), L"capture test", style,
                              screenX, screenY, outer.right - outer.left,
                              outer.bottom - outer.top, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::SetForegroundWindow(hwnd_);
    ::UpdateWindow(hwnd_);
    // Paint once more directly: WM_PAINT may already have been taken by a
    // earlier pump, and the surface must hold the blocks before any capture.
    HDC dc = ::GetDC(hwnd_);
    PaintBlocks(dc);
    ::ReleaseDC(hwnd_, dc);
    // Wine puts a window's pixels on the screen at its next flush, and a
    // window an earlier test closed there may still be leaving: a capture
    // test starts only once the screen shows the blocks. An indexed screen
    // dithers them, so there the wait is a fixed one.
    if (PaletteScreen()) {
        grabwell::test::PumpMessages(50);
        return;
    }
    grabwell::test::PumpMessages(2000, [this] { return ScreenShowsBlocks(); });
}

bool BlockWindow::ScreenShowsBlocks() const {
    POINT client{0, 0};
    ::ClientToScreen(hwnd_, &client);
    const Pixels shown = ReadPixels(
        capture::CopyScreenRect({}, client.x, client.y, client.x + kClientWidth, client.y + kClientHeight)
            .get());
    if (shown.width != kClientWidth || shown.height != kClientHeight) return false;
    for (int y = 0; y < kClientHeight; ++y) {
        for (int x = 0; x < kClientWidth; ++x) {
            if (shown.at(x, y) != Rgb(BlockColour(x, y))) return false;
        }
    }
    return true;
}

BlockWindow::~BlockWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
    grabwell::test::PumpMessages(0);
}

POINT BlockWindow::ClientOffset() const {
    RECT outer{};
    ::GetWindowRect(hwnd_, &outer);
    POINT origin{0, 0};
    ::ClientToScreen(hwnd_, &origin);
    return {origin.x - outer.left, origin.y - outer.top};
}

ClipboardHolder::ClipboardHolder(DWORD holdMs)
    : thread_([this, holdMs] {
          opened_ = ::OpenClipboard(nullptr) != FALSE;
          ready_ = true;
          ::Sleep(holdMs);
          if (opened_) ::CloseClipboard();
      }) {
    while (!ready_) ::Sleep(1);
}

ClipboardHolder::~ClipboardHolder() { thread_.join(); }

}  // namespace grabwell::testing
