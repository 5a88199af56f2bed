#include "app/free_rectangle_overlay.h"

#include <windowsx.h>

#include "platform/blit.h"
#include "platform/compositor.h"
#include "platform/screen_settle.h"
#include "platform/virtual_screen.h"

namespace grabwell::app {

FreeRectangleOverlay::~FreeRectangleOverlay() {
    if (hwnd()) ::DestroyWindow(hwnd());
}

bool FreeRectangleOverlay::Engage(HINSTANCE instance, PressHandler onPress) {
    if (!hwnd()) {
        if (!RegisterClassOnce(instance, kClassName, nullptr, nullptr, 0)) return false;
        // No owner: an owned window would vanish with the minimised main window.
        if (!CreateFor(instance, kClassName, L"", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, 0,
                       0, 0, 0, nullptr, nullptr)) {
            return false;
        }
        // Gone at once when taken down, not fading over what comes next.
        platform::TheCompositor().DisableTransitions(hwnd());
    }
    onPress_ = std::move(onPress);
    engaged_ = true;
    return true;
}

void FreeRectangleOverlay::Show(const platform::ScreenTrace& gone) {
    if (!engaged_) return;
    // A translucent layered window would be the natural cover, but without a
    // compositor (Wine's virtual desktop, plain X) its alpha is ignored and
    // it paints the screen black. A picture of the screen looks the same as
    // no window at all on every system. Whatever just left the screen (the
    // minimised main window) must be gone from that picture too.
    const RECT screen = platform::VirtualScreen();
    platform::LetTheScreenSettle(gone, [&] {
        snapshot_ =
            capture::SnapshotScreenRect(screen.left, screen.top, screen.right, screen.bottom);
    });
    // Messages sent to us meanwhile may have disarmed the capture.
    if (!engaged_) {
        snapshot_ = {};
        return;
    }
    ::SetWindowPos(hwnd(), HWND_TOPMOST, screen.left, screen.top, screen.right - screen.left,
                   screen.bottom - screen.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(hwnd());
}

void FreeRectangleOverlay::Hide() {
    if (!engaged_) return;
    engaged_ = false;
    ::ShowWindow(hwnd(), SW_HIDE);
    snapshot_ = {};
}

capture::ScreenSnapshot FreeRectangleOverlay::HideKeepingSnapshot() {
    // Without a picture the cover showed black, and what it hid must be
    // repainted before the live screen can stand in.
    const platform::ScreenTrace shown =
        engaged_ && !snapshot_.bitmap ? platform::ScreenTrace::Of(hwnd()) : platform::ScreenTrace();
    capture::ScreenSnapshot framed = std::move(snapshot_);
    Hide();
    if (!shown.empty()) platform::LetTheScreenSettle(shown);
    return framed;
}

LRESULT FreeRectangleOverlay::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
            return TRUE;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_LBUTTONDOWN:
            // Under Wine the main window's capture normally takes the press
            // before it gets here; on Windows that capture is gone by now.
            if (onPress_) {
                POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ::ClientToScreen(hwnd(), &screen);
                onPress_(wParam, screen);
            }
            return 0;
        default:
            return DefaultProc(message, wParam, lParam);
    }
}

void FreeRectangleOverlay::OnPaint() {
    platform::PaintBitmap(hwnd(), snapshot_.bitmap.get(), nullptr,
                          static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

}  // namespace grabwell::app
