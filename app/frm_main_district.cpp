// The free-rectangle capture: the command arms it, the next left-button press
// tracks the drag, and the re-posted release puts pointer and unit back.
#include "app/FrmMain.h"
#include "capture/free_rectangle.h"
#include "capture/picture_clipboard.h"

namespace grabwell::app {

void FrmMain::mnuDistrict_Click() {
    scaleMode_ = ScaleMode::Pixels;
    if (regionSelecting_) return;
    regionSelecting_ = true;
    crosshair_ = true;
    ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
    ::SetCapture(hwnd());
    pictureUnsaved_ = true;
    ::ShowWindow(hwnd(), SW_MINIMIZE);
}

void FrmMain::OnLButtonDown(WPARAM buttons, int x, int y) {
    if (!(buttons & MK_LBUTTON)) return;
    if (!crosshair_ || !regionSelecting_) return;
    regionSelecting_ = false;
    tracking_ = true;
    trackingCancelled_ = false;

    POINT point{x, y};
    const capture::TrackResult tracked =
        capture::TrackRubberBand(hwnd(), point, [this] { return trackingCancelled_; });
    tracking_ = false;
    if (tracked.cancelled) {
        EndSelection();
        RestoreNormal();
        return;
    }
    const core::Rect& r = tracked.rect;
    capture::ScreenCopy copy =
        capture::CopyScreenRectToClipboard(hwnd(), r.left, r.top, r.right, r.bottom);
    RestoreNormal();
    capture::Picture picture =
        copy.onClipboard ? capture::PictureFromClipboard(hwnd()) : std::move(copy.direct);
    InstallPicture(std::move(picture));
    LayoutViewport();
}

void FrmMain::OnLButtonUp(WPARAM, int, int) {
    // Every left release that reaches the window ends the pixel unit and the
    // crosshair, whether or not a selection took place.
    EndSelection();
}

void FrmMain::OnCaptureLost() {
    if (tracking_) {
        trackingCancelled_ = true;
        return;
    }
    if (regionSelecting_) {
        // Armed but the capture went elsewhere: the press would never reach
        // us, so leave Armed instead of waiting for it forever.
        regionSelecting_ = false;
        EndSelection();
        RestoreNormal();
    }
}

void FrmMain::EndSelection() {
    crosshair_ = false;
    scaleMode_ = ScaleMode::Twips;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

}  // namespace grabwell::app
