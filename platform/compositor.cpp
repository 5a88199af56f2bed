#include "platform/compositor.h"

namespace grabwell::platform {

// dwmapi.dll is not among the KnownDLLs: it comes from System32 alone.
Compositor::Compositor()
    : dwm_(L"dwmapi.dll"),
      enabled_(dwm_.Find<decltype(enabled_)>("DwmIsCompositionEnabled")),
      flush_(dwm_.Find<decltype(flush_)>("DwmFlush")),
      get_(dwm_.Find<decltype(get_)>("DwmGetWindowAttribute")),
      set_(dwm_.Find<decltype(set_)>("DwmSetWindowAttribute")) {}

bool Compositor::Composing() const {
    BOOL on = FALSE;
    return enabled_ && SUCCEEDED(enabled_(&on)) && on;
}

bool Compositor::Flush() const { return flush_ && SUCCEEDED(flush_()); }

std::optional<RECT> Compositor::VisibleBounds(HWND window) const {
    RECT bounds{};
    if (get_ && Composing() &&
        SUCCEEDED(get_(window, DWMWA_EXTENDED_FRAME_BOUNDS, &bounds, sizeof(bounds)))) {
        return bounds;
    }
    if (!::GetWindowRect(window, &bounds)) return std::nullopt;
    return bounds;
}

bool Compositor::Cloaked(HWND window) const {
    DWORD cloaked = 0;
    return get_ && SUCCEEDED(get_(window, DWMWA_CLOAKED, &cloaked, sizeof(cloaked))) && cloaked != 0;
}

void Compositor::DisableTransitions(HWND window) const {
    const BOOL disabled = TRUE;
    if (set_) set_(window, DWMWA_TRANSITIONS_FORCEDISABLED, &disabled, sizeof(disabled));
}

const Compositor& TheCompositor() {
    static const Compositor compositor;
    return compositor;
}

}  // namespace grabwell::platform
