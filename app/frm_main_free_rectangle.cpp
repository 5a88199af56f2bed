// The free-rectangle capture: the command arms it, the next left-button press
// tracks the drag, and the re-posted release puts the pointer back.
#include <cmath>

#include "app/FrmMain.h"
#include "capture/free_rectangle_copy.h"
#include "capture/free_rectangle_tracking.h"
#include "capture/picture_clipboard.h"

namespace grabwell::app {

namespace {

// Mouse messages carry client coordinates in 16 bits each. Windows keeps a
// minimised window at -32000, so the press it captures from most of the
// screen arrives wrapped around; the message's screen position says by how
// many turns of 65536.
POINT UnwrapPress(HWND window, int x, int y) {
    const DWORD at = ::GetMessagePos();
    POINT actual{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    ::ScreenToClient(window, &actual);
    const auto unwrap = [](int wrapped, LONG nearby) {
        constexpr double kTurn = 65536.0;
        const long long turns = std::llround((static_cast<double>(nearby) - wrapped) / kTurn);
        return static_cast<LONG>(wrapped + turns * 65536);
    };
    return {unwrap(x, actual.x), unwrap(y, actual.y)};
}

}  // namespace

void FrmMain::mnuDistrict_Click() {
    if (freeRectangle_ != FreeRectangleState::Idle) return;
    freeRectangle_ = FreeRectangleState::Armed;
    ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
    ::SetCapture(hwnd());
    pictureUnsaved_ = true;
    const platform::ScreenTrace shown = platform::ScreenTrace::Of(hwnd());
    ::ShowWindow(hwnd(), SW_MINIMIZE);
    overlay_.Show(env_.instance, shown, [this](WPARAM buttons, POINT screen) {
        ::ScreenToClient(hwnd(), &screen);
        OnLButtonDown(buttons, screen.x, screen.y);
    });
    // Showing it waits for the screen to settle; the capture may have gone
    // meanwhile, and then nothing is armed for it to serve.
    if (freeRectangle_ != FreeRectangleState::Armed) overlay_.Hide(false);
}

void FrmMain::OnLButtonDown(WPARAM buttons, int x, int y) {
    if (!(buttons & MK_LBUTTON)) return;
    if (freeRectangle_ != FreeRectangleState::Armed) return;
    freeRectangle_ = FreeRectangleState::Tracking;

    POINT point = UnwrapPress(hwnd(), x, y);
    // Losing the mouse capture mid-drag takes the state out of Tracking
    // (OnCaptureLost), which is what ends the loop early.
    const capture::TrackResult tracked = capture::TrackRubberBand(
        hwnd(), point, [this] { return freeRectangle_ != FreeRectangleState::Tracking; });
    freeRectangle_ = FreeRectangleState::Idle;
    // The band is erased by now; the cover must be gone, and the screen
    // beneath it repainted, before a pixel is read.
    overlay_.Hide(!tracked.cancelled);
    if (tracked.cancelled) {
        RestorePointer();
        LeaveArmed();
        return;
    }
    const core::Rect& r = tracked.rect;
    capture::ScreenCopy copy =
        capture::CopyScreenRectToClipboard(hwnd(), r.left, r.top, r.right, r.bottom);
    RestoreNormal();
    capture::Picture picture =
        copy.onClipboard ? capture::PictureFromClipboard(hwnd()) : std::move(copy.direct);
    // Nothing captured (no bitmap to be had, or the clipboard lost again
    // before it could be read back) leaves the previous picture in place
    // rather than blanking it.
    if (!picture.empty()) InstallPicture(std::move(picture));
    LayoutViewport();
}

void FrmMain::OnLButtonUp(WPARAM, int, int) {
    // Every left release that reaches the window ends the crosshair, whether
    // or not a selection took place.
    RestorePointer();
    if (freeRectangle_ == FreeRectangleState::Armed) {
        // A release with no press of ours before it (the press began before
        // the arming). A press only starts a selection under the crosshair,
        // which is gone now: leave Armed rather than keep the screen covered
        // for a press that would do nothing.
        LeaveArmed();
    }
}

void FrmMain::OnCaptureLost() {
    switch (freeRectangle_) {
        case FreeRectangleState::Tracking:
            freeRectangle_ = FreeRectangleState::Idle;  // the loop sees it and stops
            break;
        case FreeRectangleState::Armed:
            // The press would never reach us, so leave Armed instead of
            // waiting for it forever.
            RestorePointer();
            LeaveArmed();
            break;
        case FreeRectangleState::Idle:
            break;
    }
}

void FrmMain::LeaveArmed() {
    freeRectangle_ = FreeRectangleState::Idle;
    overlay_.Hide(false);
    if (::GetCapture() == hwnd()) ::ReleaseCapture();
    RestoreNormal();
}

void FrmMain::RestorePointer() { ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); }

}  // namespace grabwell::app
