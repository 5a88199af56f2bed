// The free-rectangle capture: the command arms it, the next left-button press
// tracks the drag, and the re-posted release puts pointer and unit back.
#include <cmath>

#include "app/FrmMain.h"
#include "capture/free_rectangle.h"
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
    scaleMode_ = ScaleMode::Pixels;
    if (regionSelecting_) return;
    regionSelecting_ = true;
    crosshair_ = true;
    ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
    ::SetCapture(hwnd());
    pictureUnsaved_ = true;
    ::ShowWindow(hwnd(), SW_MINIMIZE);
    overlay_.Show(env_.instance, [this](WPARAM buttons, POINT screen) {
        ::ScreenToClient(hwnd(), &screen);
        OnLButtonDown(buttons, screen.x, screen.y);
    });
    // Showing it waits for the screen to settle; the capture may have gone
    // meanwhile, and then nothing is armed for it to serve.
    if (!regionSelecting_) overlay_.Hide(false);
}

void FrmMain::OnLButtonDown(WPARAM buttons, int x, int y) {
    if (!(buttons & MK_LBUTTON)) return;
    if (!crosshair_ || !regionSelecting_) return;
    regionSelecting_ = false;
    tracking_ = true;
    trackingCancelled_ = false;

    POINT point = UnwrapPress(hwnd(), x, y);
    const capture::TrackResult tracked =
        capture::TrackRubberBand(hwnd(), point, [this] { return trackingCancelled_; });
    tracking_ = false;
    // The band is erased by now; the cover must be gone, and the screen
    // beneath it repainted, before a pixel is read.
    overlay_.Hide(!tracked.cancelled);
    if (tracked.cancelled) {
        EndSelection();
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
    // Every left release that reaches the window ends the pixel unit and the
    // crosshair, whether or not a selection took place.
    EndSelection();
    if (regionSelecting_) {
        // A release with no press of ours before it (the press began before
        // the arming): without the crosshair the next press would be ignored
        // and the cover would hold the screen, so leave Armed altogether.
        LeaveArmed();
    }
}

void FrmMain::OnCaptureLost() {
    if (tracking_) {
        trackingCancelled_ = true;
        return;
    }
    if (regionSelecting_) {
        // Armed but the capture went elsewhere: the press would never reach
        // us, so leave Armed instead of waiting for it forever.
        EndSelection();
        LeaveArmed();
    }
}

void FrmMain::LeaveArmed() {
    regionSelecting_ = false;
    overlay_.Hide(false);
    if (::GetCapture() == hwnd()) ::ReleaseCapture();
    RestoreNormal();
}

void FrmMain::EndSelection() {
    crosshair_ = false;
    scaleMode_ = ScaleMode::Twips;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

}  // namespace grabwell::app
