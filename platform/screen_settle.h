#pragma once
// After a window of ours has left the screen, waits until the screen shows
// what was beneath it, so that no pixel of ours is copied. With desktop
// composition that is the compositor's next frame; without it (XP's and
// Windows 7's basic themes, Wine) the programs beneath repaint in their own
// time, and the screen is read back until they have.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/win32.h"

namespace grabwell::platform {

// What a window shows on the screen: some rows of its pixels as the screen
// has them, read while it is still up. Empty when none of it is on the screen.
class ScreenTrace {
public:
    ScreenTrace() = default;
    static ScreenTrace Of(HWND window);

    bool empty() const noexcept { return pixels_.empty() && !composed_; }
    // On a composed desktop no pixels are read: the compositor tells.
    bool composed() const noexcept { return composed_; }
    const std::vector<std::uint32_t>& pixels() const noexcept { return pixels_; }
    // The same rows as the screen shows them now; empty if it cannot be read.
    std::vector<std::uint32_t> ReadAgain() const;

private:
    RECT area_{};            // the window's rectangle, within the virtual screen
    std::vector<int> rows_;  // screen y of each row read
    std::vector<std::uint32_t> pixels_;
    bool composed_ = false;
};

// Call once the window `shown` was taken of is hidden. Returns after one or
// two composed frames; without composition, as soon as its area no longer
// holds its pixels (but for a sliver) and two reads in a row agree, or after
// `limitMs` at the most (a program beneath that does not repaint, or paints
// much as we showed). Nothing of ours runs meanwhile; only messages sent to
// us by other threads go through.
//
// A caller that reads the screen as soon as it has settled passes `read`:
// the screen is read then between the two reads that must agree, so that
// the wait between them is spent reading. It may be called more than once;
// what it read last is what the settled screen showed.
void LetTheScreenSettle(const ScreenTrace& shown, const std::function<void()>& read = {},
                        DWORD limitMs = 250);

}  // namespace grabwell::platform
