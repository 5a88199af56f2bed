#pragma once
// The display scale a window is drawn at. From Windows 10 1607 each monitor
// has its own and a per-monitor aware window is told its monitor's; before
// that one DPI holds for the whole desktop. The newer calls are looked up
// while the program runs, so it still starts where they are missing.
#include "platform/win32.h"

namespace grabwell::platform {

// The desktop's DPI, fixed for the session: what screen coordinates and
// everything measured before any window existed are scaled by.
UINT SystemDpi();

// The DPI of the monitor the window is on (the system's where that cannot
// be told apart).
UINT WindowDpi(HWND window);

// GetSystemMetrics at a DPI.
int SystemMetricForDpi(int index, UINT dpi);

// The fonts and sizes of window frames, menus and status bars at a DPI.
bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi);

}  // namespace grabwell::platform
