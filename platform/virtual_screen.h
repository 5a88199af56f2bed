#pragma once
#include "platform/win32.h"

namespace grabwell::platform {

// All monitors together, in screen pixels: what anything shown can cover.
inline RECT VirtualScreen() {
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace grabwell::platform
