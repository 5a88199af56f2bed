#pragma once
// Synthesized mouse input at screen pixels, for the tests and the benchmark
// that drive the free rectangle as a user does.
#include "platform/win32.h"

namespace grabwell::testing {

// One absolute mouse event at a screen pixel, `flags` (a button going down
// or up) on top of the move; rounding up keeps the pixel exact when the
// system scales back from 0..65535. Every event carries its own position: a
// SetCursorPos before a relative event races with the X server's own
// pointer events under Wine.
inline INPUT MouseAt(POINT screen, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    const auto scale = [](LONG v, int extent) {
        return static_cast<LONG>((static_cast<long long>(v) * 65536 + extent - 1) / extent);
    };
    input.mi.dx = scale(screen.x, ::GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = scale(screen.y, ::GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    return input;
}

inline void SendMouse(POINT screen, DWORD flags) {
    INPUT input = MouseAt(screen, flags);
    ::SendInput(1, &input, sizeof(input));
}

}  // namespace grabwell::testing
