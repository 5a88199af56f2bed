#pragma once
#include "platform/unique_any.h"
#include "platform/virtual_screen.h"

namespace grabwell::platform {

// The screen point at a display DC's device (0, 0). Windows puts it at the
// primary monitor's top-left corner; Wine puts it at the virtual screen's,
// which is elsewhere once a monitor lies left of or above the primary. Both
// clip the DC to the virtual screen, so where that clip lies in the DC's own
// coordinates says which. A clip of any other size says nothing, and the
// primary's corner is taken.
inline POINT DisplayDcOrigin(HDC dc) {
    RECT clip{};
    const RECT screen = VirtualScreen();
    if (::GetClipBox(dc, &clip) == ERROR || clip.right - clip.left != screen.right - screen.left ||
        clip.bottom - clip.top != screen.bottom - screen.top) {
        return {0, 0};
    }
    return {screen.left - clip.left, screen.top - clip.top};
}

// A DC on the whole display, in screen coordinates. Unlike GetDC(nullptr),
// whose DC belongs to the desktop window and under Wine is clipped by every
// window above it, a display DC reaches over everything: what the free
// rectangle draws and copies is whatever the user sees.
inline unique_hdc DisplayDc() {
    unique_hdc dc(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (dc) {
        const POINT origin = DisplayDcOrigin(dc.get());
        ::SetWindowOrgEx(dc.get(), origin.x, origin.y, nullptr);
    }
    return dc;
}

}  // namespace grabwell::platform
