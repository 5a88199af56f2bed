#include "app/FrmMain.h"

#include <windowsx.h>

#include "core/rounding.h"
#include "platform/compositor.h"
#include "platform/date_text.h"
#include "platform/dpi.h"
#include "platform/unique_any.h"
#include "resources/resource.h"

namespace grabwell::app {

FrmMain::FrmMain(AppEnvironment environment) : env_(std::move(environment)) {}

FrmMain::~FrmMain() {
    if (hwnd()) ::DestroyWindow(hwnd());
}

bool FrmMain::Create(int showCommand) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    HICON icon = ::LoadIconW(env_.instance, MAKEINTRESOURCEW(IDI_GRABWELL));
    // The corner between the two scroll bars shows the window's own background.
    if (!RegisterClassOnce(env_.instance, kClassName, icon, ::GetSysColorBrush(COLOR_BTNFACE))) {
        return false;
    }
    accelerators_ = ::LoadAcceleratorsW(env_.instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    platform::unique_hmenu menu(::LoadMenuW(env_.instance, MAKEINTRESOURCEW(IDR_MAINMENU)));
    if (!CreateFor(env_.instance, kClassName, L"Grabwell", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                   0, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr, menu.get())) {
        return false;
    }
    // The window destroys its menu with itself.
    [[maybe_unused]] HMENU given = menu.release();

    // Load: the start time goes into panel 2 once and is never refreshed.
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::wstring started = platform::GeneralDateText(now);
    ::SendMessageW(controls_.StatusBar1, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(started.c_str()));
    placing_ = true;
    LoadPlacement();
    KeepOnAMonitor();
    placing_ = false;

    ::ShowWindow(hwnd(), showCommand);
    ::UpdateWindow(hwnd());
    return true;
}

LRESULT FrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_SIZE:
            OnSize(static_cast<UINT>(wParam));
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_HSCROLL:
        case WM_VSCROLL:
            OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), GET_KEYSTATE_WPARAM(wParam));
            return 0;
        case WM_KEYDOWN:
            if (OnKeyDown(static_cast<UINT>(wParam))) return 0;
            return DefaultProc(message, wParam, lParam);
        // A press soon after another at the same place comes as a double
        // click (the class asks for them); to an armed free rectangle it is
        // a press like any other.
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnLButtonDown(wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            OnLButtonUp(wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_CAPTURECHANGED:
        case WM_CANCELMODE:
            OnCaptureLost();
            return DefaultProc(message, wParam, lParam);
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_DPICHANGED:
            // Both words carry the same DPI: windows scale alike in x and y.
            OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_QUERYENDSESSION:
            return OnQueryEndSession();
        case WM_ENDSESSION:
            OnEndSession(wParam != FALSE);
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return DefaultProc(message, wParam, lParam);
    }
}

void FrmMain::OnCreate() {
    // The captures that hide or minimise the window must not find it fading.
    platform::TheCompositor().DisableTransitions(hwnd());
    if (const auto screen = platform::unique_window_dc::Client(nullptr)) {
        twipsPerPixelX_ = core::TwipsPerPixel(::GetDeviceCaps(screen.get(), LOGPIXELSX));
        twipsPerPixelY_ = core::TwipsPerPixel(::GetDeviceCaps(screen.get(), LOGPIXELSY));
    }
    dpi_ = platform::WindowDpi(hwnd());
    controls_.Create(hwnd(), env_.instance, picBmp_, dpi_);
    RecordMenuHints();
    // The class icon is drawn for the system's scale.
    if (dpi_ != platform::SystemDpi()) SetIconsFor(dpi_);
    // Both panels must exist before any text goes into them.
    controls_.DockBars(LayoutTwipsPerPixel());
    const wchar_t* welcome = L"欢迎使用Grabwell";
    ::SendMessageW(controls_.StatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(welcome));
}

void FrmMain::OnSize(UINT state) {
    if (!controls_.Toolbar1) return;
    if (state == SIZE_MINIMIZED) return;
    controls_.DockBars(LayoutTwipsPerPixel());
    LayoutViewport();
}

double FrmMain::LayoutTwipsPerPixel() const { return core::TwipsPerPixel(static_cast<int>(dpi_)); }

void FrmMain::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    controls_.ApplyDpi(env_.instance, dpi);
    SetIconsFor(dpi);
    // The stored placement is in the pixels of the monitor it lies on; the
    // suggestion would scale its size a second time.
    if (!placing_) {
        ::SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                       suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Toolbar and status bar heights have changed even when the window's
    // size has not.
    OnSize(::IsIconic(hwnd()) ? SIZE_MINIMIZED : SIZE_RESTORED);
}

void FrmMain::SetIconsFor(UINT dpi) {
    const auto load = [&](int metric) {
        const int size = platform::SystemMetricForDpi(metric, dpi);
        return platform::unique_hicon(static_cast<HICON>(
            ::LoadImageW(env_.instance, MAKEINTRESOURCEW(IDI_GRABWELL), IMAGE_ICON, size, size, 0)));
    };
    platform::unique_hicon small = load(SM_CXSMICON);
    platform::unique_hicon big = load(SM_CXICON);
    // The window draws from the icons it is given until it gets others.
    if (small) ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    if (big) ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    if (small) smallIcon_ = std::move(small);
    if (big) bigIcon_ = std::move(big);
}

LRESULT FrmMain::OnNotify(NMHDR* header) {
    if (header->code == TTN_GETDISPINFOW) {
        if (const wchar_t* tip = MainControls::TooltipFor(header->idFrom)) {
            reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = const_cast<wchar_t*>(tip);
        }
    }
    return 0;
}

bool FrmMain::UnloadCancels(bool mayAsk) noexcept {
    try {
        SaveWindowPlacement();
        if (!mayAsk) return pictureUnsaved_;
        return CloseQuestionCancels();
    } catch (...) {
        return false;
    }
}

void FrmMain::OnClose() {
    if (!UnloadCancels()) ::DestroyWindow(hwnd());
}

LRESULT FrmMain::OnQueryEndSession() {
    // A log-off or shutdown is a close the user did not ask this window for:
    // the same unload, and while the question waits the shutdown screen
    // says why this program holds the session up.
    const platform::unique_shutdown_reason reason(pictureUnsaved_ ? hwnd() : nullptr,
                                                  L"文件还没有保存");
    // A question of ours is already up (this one, from a close) or a dialog
    // that works on the same dialog state; or a drag was under way, whose
    // cover stays on top until this message is answered. A question now
    // would stack on the first or hide under the cover: the session waits
    // for the user to finish instead.
    const bool dragging = CallOffFreeRectangle();
    const bool mayAsk = !dragging && ::IsWindowEnabled(hwnd());
    return UnloadCancels(mayAsk) ? FALSE : TRUE;
}

void FrmMain::OnEndSession(bool ending) {
    // Everything was asked when the session asked to end; it is ending now.
    if (ending) ::DestroyWindow(hwnd());
}

void FrmMain::OnDestroy() {
    if (env_.quitWhenDestroyed) ::PostQuitMessage(0);
}

}  // namespace grabwell::app
