// The free-rectangle capture: the command arms it, the next left-button press
// tracks the drag, and the re-posted release puts the pointer back.
#include <cmath>

#include "app/FrmMain.h"
#include "capture/free_rectangle_copy.h"
#include "capture/free_rectangle_tracking.h"

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
    // Engaged before the minimise: on Windows, deactivating the window takes
    // its capture away (WM_CANCELMODE) while still inside ShowWindow, and
    // only an engaged overlay keeps that from disarming.
    overlay_.Engage(env_.instance, [this](WPARAM buttons, POINT screen) {
        ::ScreenToClient(hwnd(), &screen);
        OnLButtonDown(buttons, screen.x, screen.y);
    });
    ::SetCapture(hwnd());
    pictureUnsaved_ = true;
    const platform::ScreenTrace shown = platform::ScreenTrace::Of(hwnd());
    ::ShowWindow(hwnd(), SW_MINIMIZE);
    overlay_.Show(shown);
}

void FrmMain::OnLButtonDown(WPARAM buttons, int x, int y) {
    if (!(buttons & MK_LBUTTON)) return;
    if (freeRectangle_ != FreeRectangleState::Armed) return;
    // However the press came in, the drag follows the mouse through the main
    // window's capture, so that nothing opened over the cover can take the
    // release. Set only when missing: SetCapture tells the holder it lost it.
    if (::GetCapture() != hwnd()) ::SetCapture(hwnd());
    freeRectangle_ = FreeRectangleState::Tracking;

    POINT point = UnwrapPress(hwnd(), x, y);
    // Losing the mouse capture mid-drag takes the state out of Tracking
    // (OnCaptureLost), which is what ends the loop early.
    const capture::FreeRectangleDrag tracked = capture::TrackRubberBand(
        hwnd(), point, [this] { return freeRectangle_ != FreeRectangleState::Tracking; });
    freeRectangle_ = FreeRectangleState::Idle;
    if (tracked.cancelled) {
        RestorePointer();
        LeaveArmed();
        return;
    }
    ReleaseStepDone(ReleaseStep::Tracked);
    // The band is erased by now. The pixels are those the user framed the
    // rectangle on, not what the screen beneath the cover shows since.
    capture::ScreenSnapshot framed = overlay_.HideKeepingSnapshot();
    ReleaseStepDone(ReleaseStep::CoverDown);
    const core::Rect& r = tracked.rect;
    // Without a still picture the live screen is read once, so that the
    // picture and the clipboard's copy hold the same pixels.
    if (!framed.bitmap) framed = capture::SnapshotScreenRect(r.left, r.top, r.right, r.bottom);
    capture::Picture picture =
        capture::PictureOfScreenRect(framed, r.left, r.top, r.right, r.bottom);
    ReleaseStepDone(ReleaseStep::Copied);
    RestoreNormal();
    ReleaseStepDone(ReleaseStep::Restored);
    // Let go of once the new one is shown: freeing a picture of the whole
    // screen is no part of what the user waits for.
    capture::Picture previous = CurrentPicture();
    // Nothing captured (no bitmap to be had) leaves the previous picture in
    // place rather than blanking it.
    if (!picture.empty()) InstallPicture(std::move(picture));
    ReleaseStepDone(ReleaseStep::Installed);
    LayoutViewport();
    ReleaseStepDone(ReleaseStep::LaidOut);
    // The picture is shown before the clipboard gets its own copy, which
    // under Wine travels whole through the server and takes longer than all
    // the rest: the user is looking at the capture meanwhile.
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ReleaseStepDone(ReleaseStep::Painted);
    previous = capture::Picture();
    capture::CopyScreenRectToClipboard(hwnd(), framed, r.left, r.top, r.right, r.bottom);
    ReleaseStepDone(ReleaseStep::OnClipboard);
}

void FrmMain::ReleaseStepDone(ReleaseStep step) const {
    if (env_.releaseStepDone) env_.releaseStepDone(step);
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
            // The overlay brings the press whatever became of the capture
            // (on Windows minimising the window takes it away). Without the
            // overlay the press would never reach us: leave Armed rather
            // than wait for it forever.
            if (overlay_.engaged()) break;
            RestorePointer();
            LeaveArmed();
            break;
        case FreeRectangleState::Idle:
            break;
    }
}

void FrmMain::LeaveArmed() {
    freeRectangle_ = FreeRectangleState::Idle;
    overlay_.Hide();
    if (::GetCapture() == hwnd()) ::ReleaseCapture();
    RestoreNormal();
}

bool FrmMain::CallOffFreeRectangle() {
    switch (freeRectangle_) {
        case FreeRectangleState::Armed:
            // On Windows the cover is topmost and the question would be owned
            // by a minimised window: nobody would see it.
            RestorePointer();
            LeaveArmed();
            return false;
        case FreeRectangleState::Tracking:
            // The drag loop sees this once the message is answered, and tidies
            // up as after a lost capture.
            freeRectangle_ = FreeRectangleState::Idle;
            return true;
        case FreeRectangleState::Idle:
            break;
    }
    return false;
}

void FrmMain::RestorePointer() { ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); }

}  // namespace grabwell::app
