#include "platform/clipboard.h"

namespace grabwell::platform {

ClipboardSession::ClipboardSession(HWND owner, int attempts, DWORD retryDelayMs) noexcept {
    for (int i = 0; i < attempts; ++i) {
        if (i > 0) ::Sleep(retryDelayMs);
        if (::OpenClipboard(owner)) {
            open_ = true;
            return;
        }
    }
}

ClipboardSession::~ClipboardSession() {
    if (open_) ::CloseClipboard();
}

}  // namespace grabwell::platform
