#pragma once
// The things the capture commands can take: the whole screen, the program's
// own form (outside or inside) and whichever window is in front.
#include "capture/picture.h"
#include "platform/win32.h"

namespace grabwell::capture {

// The screen at its full pixel size.
Picture CaptureWholeScreen();

// Each window capture is what the screen shows of the window: its visible
// bounds (or client area) as far as they lie on the virtual screen.

// The form with its frame and caption. twipsPerPixel: the form's scale, as
// the form measures itself.
Picture CaptureFormWindow(HWND window, double twipsPerPixelX, double twipsPerPixelY);

// The form's client area only. Its size is taken in pixels from the screen
// and goes through the form's twips like the outer size, so the form's scale
// mode (twips or pixels) cannot change it.
Picture CaptureFormClient(HWND window, double twipsPerPixelX, double twipsPerPixelY);

enum class CaptureError {
    None,
    NoForegroundWindow,  // nothing is in front (a desktop switch, a locked session)
    NoWindowRect,        // the window went away before it could be measured
    SizeOverflow,        // its rectangle has no size in 32 bits
    NotShown,            // minimised, cloaked or off every monitor: nothing of it is seen
    CaptureFailed,       // GDI refused the copy (out of memory, window gone)
};

struct ForegroundCapture {
    Picture picture;
    CaptureError error = CaptureError::None;
    bool ok() const noexcept { return error == CaptureError::None; }
};

ForegroundCapture CaptureForegroundWindow();

}  // namespace grabwell::capture
