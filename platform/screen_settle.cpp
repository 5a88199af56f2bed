#include "platform/screen_settle.h"

namespace grabwell::platform {

void LetTheScreenSettle(DWORD milliseconds) {
    ::GdiFlush();
    const ULONGLONG until = ::GetTickCount64() + milliseconds;
    for (;;) {
        // PM_NOREMOVE takes nothing from the queue: the window system's own
        // events and messages sent to us go through, nothing of ours runs.
        MSG ignored{};
        ::PeekMessageW(&ignored, nullptr, 0, 0, PM_NOREMOVE);
        const ULONGLONG now = ::GetTickCount64();
        if (now >= until) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
    }
}

}  // namespace grabwell::platform
