#pragma once
// The desktop window manager of Windows Vista and later, which composes the
// screen from each window's own surface: always since Windows 8, by choice
// on Vista and 7. XP and Wine have none. Then the screen is what the windows
// draw, a window shows all of its rectangle, and every answer here says so.
#include <dwmapi.h>

#include <optional>

#include "platform/system_library.h"

namespace grabwell::platform {

class Compositor {
public:
    Compositor();

    bool Composing() const;
    // Returns once the compositor has put up its next frame.
    bool Flush() const;
    // Where the window shows on the screen: while composing, its frame
    // without the invisible resize borders Windows 10 and 11 keep around it
    // (and, maximised, without what overhangs the monitor); otherwise its
    // window rectangle. Nothing when the window is gone.
    std::optional<RECT> VisibleBounds(HWND window) const;
    // The compositor keeps the window off the screen though it counts as
    // visible: on another virtual desktop, or a suspended Store app.
    bool Cloaked(HWND window) const;
    // Hiding and minimising the window then take effect at the next frame,
    // without the animation that would leave it fading on the screen.
    void DisableTransitions(HWND window) const;

private:
    SystemLibrary dwm_;
    decltype(&::DwmIsCompositionEnabled) enabled_ = nullptr;
    decltype(&::DwmFlush) flush_ = nullptr;
    decltype(&::DwmGetWindowAttribute) get_ = nullptr;
    decltype(&::DwmSetWindowAttribute) set_ = nullptr;
};

// dwmapi.dll is looked up once a process: captures ask on every run.
const Compositor& TheCompositor();

}  // namespace grabwell::platform
