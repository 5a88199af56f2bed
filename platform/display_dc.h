#pragma once
#include "platform/unique_any.h"

namespace grabwell::platform {

// A DC on the whole display. Unlike GetDC(nullptr), whose DC belongs to the
// desktop window and under Wine is clipped by every window above it, a
// display DC reaches over everything: what the free rectangle draws and
// copies is whatever the user sees.
inline unique_hdc DisplayDc() {
    return unique_hdc(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
}

}  // namespace grabwell::platform
