#pragma once
#include "platform/win32.h"

namespace grabwell::platform {

// After a window of ours has left the screen, gives the system time to show
// what was beneath it before any pixel is copied: the compositor, or under
// Wine the X server and other processes' repaints, need a moment. Nothing of
// ours runs meanwhile; only messages sent to us by other threads go through.
void LetTheScreenSettle(DWORD milliseconds = 250);

}  // namespace grabwell::platform
