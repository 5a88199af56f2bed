#pragma once
// The clipboard is one lock shared by every program: another one may hold it
// for a moment (a clipboard manager reading what we just put there), so
// opening it is retried for a while before giving up.
#include "platform/win32.h"

namespace grabwell::platform {

class ClipboardSession {
public:
    static constexpr int kAttempts = 10;
    static constexpr DWORD kRetryDelayMs = 50;

    // owner must be a window of ours for EmptyClipboard/SetClipboardData to
    // work; reading works with any owner, null included.
    explicit ClipboardSession(HWND owner, int attempts = kAttempts,
                              DWORD retryDelayMs = kRetryDelayMs) noexcept;
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession();

    bool is_open() const noexcept { return open_; }
    explicit operator bool() const noexcept { return open_; }

private:
    bool open_ = false;
};

}  // namespace grabwell::platform
