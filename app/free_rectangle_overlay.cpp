#include "app/free_rectangle_overlay.h"

#include <windowsx.h>

#include "capture/free_rectangle_copy.h"
#include "platform/blit.h"

namespace grabwell::app {

FreeRectangleOverlay::~FreeRectangleOverlay() {
    if (hwnd()) ::DestroyWindow(hwnd());
}

bool FreeRectangleOverlay::Show(HINSTANCE instance, const platform::ScreenTrace& left,
                                PressHandler onPress) {
    onPress_ = std::move(onPress);
    if (!hwnd()) {
        if (!RegisterClassOnce(instance, kClassName, nullptr, nullptr, 0)) return false;
        // No owner: an owned window would vanish with the minimised main window.
        if (!CreateFor(instance, kClassName, L"", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, 0,
                       0, 0, 0, nullptr, nullptr)) {
            return false;
        }
    }
    // Whatever just left the screen (the minimised main window) must be gone
    // from the picture too.
    platform::LetTheScreenSettle(left);
    origin_ = {::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN)};
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    // A translucent layered window would be the natural cover, but without a
    // compositor (Wine's virtual desktop, plain X) its alpha is ignored and
    // it paints the screen black. A picture of the screen looks the same as
    // no window at all on every system.
    snapshot_ = capture::CopyScreenRect(origin_.x, origin_.y, origin_.x + width,
                                        origin_.y + height);
    ::SetWindowPos(hwnd(), HWND_TOPMOST, origin_.x, origin_.y, width, height,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(hwnd());
    return true;
}

void FreeRectangleOverlay::Hide(bool settle) {
    if (!visible()) return;
    const platform::ScreenTrace shown = settle ? platform::ScreenTrace::Of(hwnd()) : platform::ScreenTrace();
    ::ShowWindow(hwnd(), SW_HIDE);
    snapshot_.reset();
    platform::LetTheScreenSettle(shown);
}

bool FreeRectangleOverlay::visible() const { return hwnd() && ::IsWindowVisible(hwnd()); }

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
            // Normally the main window's capture takes the press before it
            // gets here; this is for when it does not.
            if (onPress_) {
                onPress_(wParam, {origin_.x + GET_X_LPARAM(lParam), origin_.y + GET_Y_LPARAM(lParam)});
            }
            return 0;
        default:
            return DefaultProc(message, wParam, lParam);
    }
}

void FreeRectangleOverlay::OnPaint() {
    platform::PaintBitmap(hwnd(), snapshot_.get(), nullptr,
                          static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

}  // namespace grabwell::app
