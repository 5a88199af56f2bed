#include "platform/screen_settle.h"

#include <dwmapi.h>

#include "platform/system_library.h"

namespace grabwell::platform {

namespace {

// With desktop composition the screen shows the compositor's last frame, in
// which our window may still stand; DwmFlush returns once the next one is up.
// Without composition (or without DWM) it fails at once, which is as good.
void WaitForComposedFrame() noexcept {
    const SystemLibrary dwm(L"dwmapi.dll");
    if (const auto flush = dwm.Find<decltype(&::DwmFlush)>("DwmFlush")) flush();
}

}  // namespace

void LetTheScreenSettle(DWORD milliseconds) {
    ::GdiFlush();
    WaitForComposedFrame();
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
