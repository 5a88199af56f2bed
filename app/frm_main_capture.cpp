// The capture commands: whole screen, the window itself, its client area,
// the foreground window after a delay, and clearing the picture.
#include "app/FrmMain.h"
#include "capture/capture_sources.h"
#include "platform/screen_settle.h"

namespace grabwell::app {

namespace {

constexpr DWORD kDelayedCaptureMs = 2000;

}  // namespace

void FrmMain::mnuScreen_Click() {
    const platform::ScreenTrace shown = platform::ScreenTrace::Of(hwnd());
    ::ShowWindow(hwnd(), SW_HIDE);
    capture::Picture whole;
    platform::LetTheScreenSettle(shown, [&whole] { whole = capture::CaptureWholeScreen(); });
    InstallPicture(std::move(whole));
    pictureUnsaved_ = true;
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetForegroundWindow(hwnd());
    ::SetFocus(hwnd());
    LayoutViewport();
}

void FrmMain::mnuTitleBar_Click() {
    InstallPicture(capture::CaptureFormWindow(hwnd(), twipsPerPixelX_, twipsPerPixelY_));
    pictureUnsaved_ = true;
    LayoutViewport();
}

void FrmMain::mnuClient_Click() {
    InstallPicture(capture::CaptureFormClient(hwnd(), twipsPerPixelX_, twipsPerPixelY_));
    pictureUnsaved_ = true;
    LayoutViewport();
}

void FrmMain::mnuAtiveWindow_Click() {
    const int answer = env_.ui->ShowMessage(
        hwnd(), L"单击'确定'两秒钟之后程序会捕捉处于活动状态的窗口。单击'取消'退出捕获。",
        L"Grabwell", MB_OKCANCEL | MB_ICONINFORMATION);
    if (answer != IDOK) return;

    ::ShowWindow(hwnd(), SW_MINIMIZE);
    // The wait is deliberate and blocks: the user is bringing another
    // window to the front.
    ::Sleep(kDelayedCaptureMs);
    const capture::ForegroundCapture taken = capture::CaptureForegroundWindow();
    // A window whose rectangle has no 32-bit size cannot be captured, and one
    // the screen does not show (minimised, cloaked) is not what the user
    // brought forward: either leaves the picture as it was. The window still
    // comes back so the user can carry on.
    const bool captured = taken.error != capture::CaptureError::SizeOverflow &&
                          taken.error != capture::CaptureError::NotShown;
    if (captured) {
        InstallPicture(taken.picture);
        pictureUnsaved_ = true;
    }
    ::SetFocus(hwnd());
    RestoreNormal();
    LayoutViewport();
}

void FrmMain::mnuClear_Click() {
    // The scroll bars keep the old ranges until the next layout, and the
    // picture still counts as unsaved.
    InstallPicture(capture::Picture());
}

void FrmMain::RestoreNormal() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (::GetWindowPlacement(hwnd(), &placement)) {
        // Normal, not maximized, whatever the window was before.
        placement.flags &= ~static_cast<UINT>(WPF_RESTORETOMAXIMIZED);
        placement.showCmd = SW_SHOWNORMAL;
        ::SetWindowPlacement(hwnd(), &placement);
    } else {
        ::ShowWindow(hwnd(), SW_SHOWNORMAL);
    }
    // Wine brings a window minimised from maximised back maximised whatever
    // its placement says; normal means normal on every system.
    if (::IsZoomed(hwnd())) ::ShowWindow(hwnd(), SW_RESTORE);
    ::SetForegroundWindow(hwnd());
}

}  // namespace grabwell::app
