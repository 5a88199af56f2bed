#include "capture/capture_sources.h"

#include "capture/copy_window_area.h"
#include "core/capture_size.h"
#include "core/rounding.h"
#include "platform/unique_any.h"

namespace grabwell::capture {

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
    RECT outer{};
    if (!::GetWindowRect(window, &outer)) return {};
    const auto extent = core::RectExtent({outer.left, outer.top, outer.right, outer.bottom});
    if (!extent) return {};
    return CopyWindowArea(window, false, 0, 0,
                          core::PixelsThroughTwips(extent->cx, twipsPerPixelX),
                          core::PixelsThroughTwips(extent->cy, twipsPerPixelY));
}

Picture CaptureFormClient(HWND window, double twipsPerPixelX, double twipsPerPixelY) {
    RECT client{};
    if (!::GetClientRect(window, &client)) return {};
    return CopyWindowArea(window, true, 0, 0,
                          core::PixelsThroughTwips(client.right, twipsPerPixelX),
                          core::PixelsThroughTwips(client.bottom, twipsPerPixelY));
}

ForegroundCapture CaptureForegroundWindow() {
    const HWND window = ::GetForegroundWindow();
    if (!window) return {{}, CaptureError::NoForegroundWindow};
    RECT outer{0, 0, 0, 0};
    if (!::GetWindowRect(window, &outer)) return {{}, CaptureError::NoWindowRect};
    const auto extent = core::RectExtent({outer.left, outer.top, outer.right, outer.bottom});
    if (!extent) return {{}, CaptureError::SizeOverflow};
    Picture picture = CopyWindowArea(window, false, 0, 0, extent->cx, extent->cy);
    if (!picture) return {{}, CaptureError::CaptureFailed};
    return {std::move(picture), CaptureError::None};
}

}  // namespace grabwell::capture
