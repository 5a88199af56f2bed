#include "capture/capture_sources.h"

#include "capture/copy_window_area.h"
#include "core/capture_size.h"
#include "core/rounding.h"
#include "platform/compositor.h"
#include "platform/unique_any.h"
#include "platform/virtual_screen.h"

namespace grabwell::capture {

namespace {

// The part of a window (or of its client area) on the screen, counted from
// the corner of WindowOnScreen as CopyWindowArea takes it.
struct ShownPart {
    CaptureError error = CaptureError::None;
    int left = 0;
    int top = 0;
    core::Size size{};
};

ShownPart ShownPartOf(HWND window, bool client) {
    const std::optional<RECT> whole = WindowOnScreen(window, client);
    if (!whole) return {CaptureError::NoWindowRect};
    if (!core::RectExtent({whole->left, whole->top, whole->right, whole->bottom})) {
        return {CaptureError::SizeOverflow};
    }
    const RECT screen = platform::VirtualScreen();
    RECT shown{};
    if (!::IntersectRect(&shown, &*whole, &screen)) return {CaptureError::NotShown};
    return {CaptureError::None, shown.left - whole->left, shown.top - whole->top,
            {shown.right - shown.left, shown.bottom - shown.top}};
}

Picture CaptureForm(HWND window, bool client, double twipsPerPixelX, double twipsPerPixelY) {
    const ShownPart part = ShownPartOf(window, client);
    if (part.error != CaptureError::None) return {};
    return CopyWindowArea(window, client, part.left, part.top,
                          core::PixelsThroughTwips(part.size.cx, twipsPerPixelX),
                          core::PixelsThroughTwips(part.size.cy, twipsPerPixelY));
}

}  // namespace

Picture CaptureWholeScreen() {
    const HWND desktop = ::GetDesktopWindow();
    // One DC serves both the resolution and the copy: each DC costs a
    // round trip to the window system.
    const auto screen = platform::unique_window_dc::Whole(desktop);
    if (!screen) return {};
    const core::Size pixels{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const core::Size size =
        core::ScreenCaptureSize(pixels, core::TwipsPerPixel(::GetDeviceCaps(screen.get(), LOGPIXELSX)),
                                core::TwipsPerPixel(::GetDeviceCaps(screen.get(), LOGPIXELSY)));
    return CopyFromDc(screen.get(), 0, 0, size.cx, size.cy);
}

Picture CaptureFormWindow(HWND window, double twipsPerPixelX, double twipsPerPixelY) {
    return CaptureForm(window, false, twipsPerPixelX, twipsPerPixelY);
}

Picture CaptureFormClient(HWND window, double twipsPerPixelX, double twipsPerPixelY) {
    return CaptureForm(window, true, twipsPerPixelX, twipsPerPixelY);
}

ForegroundCapture CaptureForegroundWindow() {
    const HWND window = ::GetForegroundWindow();
    if (!window) return {{}, CaptureError::NoForegroundWindow};
    // Minimised, a window shows at most a strip of its caption; cloaked,
    // nothing. Neither is the window the user brought to the front.
    if (::IsIconic(window) || platform::TheCompositor().Cloaked(window)) {
        return {{}, CaptureError::NotShown};
    }
    const ShownPart part = ShownPartOf(window, false);
    if (part.error != CaptureError::None) return {{}, part.error};
    Picture picture = CopyWindowArea(window, false, part.left, part.top, part.size.cx, part.size.cy);
    if (!picture) return {{}, CaptureError::CaptureFailed};
    return {std::move(picture), CaptureError::None};
}

}  // namespace grabwell::capture
