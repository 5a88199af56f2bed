#include "platform/screen_settle.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/compositor.h"
#include "platform/dib.h"
#include "platform/unique_any.h"
#include "platform/virtual_screen.h"

namespace grabwell::platform {

namespace {

// Rows enough that no band of a repaint slips between them, few enough that
// one read costs next to nothing even for a maximised window.
constexpr int kRowsRead = 16;
// Between two reads: long enough for a repaint under way to show a change.
constexpr std::chrono::milliseconds kReadInterval{8};
// At most one pixel in this many read may still be as the window showed it.
constexpr std::size_t kStillOursShare = 64;

// The rows at `ys` across `area`, straight off the screen.
std::vector<std::uint32_t> ReadRows(const RECT& area, const std::vector<int>& ys) {
    const int width = area.right - area.left;
    const int rows = static_cast<int>(ys.size());
    auto screen = unique_window_dc::Client(nullptr);
    if (!screen || width <= 0 || rows == 0) return {};
    unique_hdc memory(::CreateCompatibleDC(screen.get()));
    DibSection dib = CreateTopDownDibSection(width, rows, 32);
    if (!memory || !dib.bitmap) return {};
    unique_select_object select(memory.get(), dib.bitmap.get());
    if (!select) return {};
    for (int i = 0; i < rows; ++i) {
        // A screen closed to us (a secure desktop) reads as nothing, not black.
        if (!::BitBlt(memory.get(), 0, i, width, 1, screen.get(), area.left,
                      ys[static_cast<std::size_t>(i)], SRCCOPY)) {
            return {};
        }
    }
    ::GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * ys.size());
    std::memcpy(pixels.data(), dib.pixels, pixels.size() * sizeof(std::uint32_t));
    return pixels;
}

// True when at most a sliver of what the window showed is still where it
// was. Not none at all: what lies beneath may have the very colour of ours
// in places (a white page under our white one). Not merely something
// changed: a window fades out piece by piece, the caption going inactive
// first, and each program beneath repaints its own part in its own time.
bool MostlyGone(const std::vector<std::uint32_t>& ours, const std::vector<std::uint32_t>& now) {
    if (now.size() != ours.size()) return true;
    std::size_t same = 0;
    for (std::size_t i = 0; i < now.size(); ++i) same += now[i] == ours[i];
    return same * kStillOursShare <= now.size();
}

// Lets messages that other threads send us through, for at most `ms`.
void WaitLettingSentMessagesThrough(DWORD ms) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_SENDMESSAGE);
    // PM_NOREMOVE takes nothing from the queue: only sent messages are
    // delivered, nothing of ours runs.
    MSG ignored{};
    ::PeekMessageW(&ignored, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

ScreenTrace ScreenTrace::Of(HWND window) {
    ScreenTrace trace;
    RECT outer{};
    if (!window || !::IsWindowVisible(window) || ::IsIconic(window) || !::GetWindowRect(window, &outer)) {
        return trace;
    }
    const RECT screen = VirtualScreen();
    if (!::IntersectRect(&trace.area_, &outer, &screen)) return trace;
    const int height = trace.area_.bottom - trace.area_.top;
    const int rows = std::min(kRowsRead, height);
    for (int i = 0; i < rows; ++i) trace.rows_.push_back(trace.area_.top + (2 * i + 1) * height / (2 * rows));
    // Composed frames say when the window is gone; its pixels are not needed,
    // and each read of a composed screen is a copy back from the GPU.
    trace.composed_ = TheCompositor().Composing();
    if (!trace.composed_) trace.pixels_ = trace.ReadAgain();
    return trace;
}

std::vector<std::uint32_t> ScreenTrace::ReadAgain() const { return ReadRows(area_, rows_); }

void LetTheScreenSettle(const ScreenTrace& shown, const std::function<void()>& read,
                        DWORD limitMs) {
    const auto readNow = [&read] {
        if (read) read();
    };
    ::GdiFlush();
    if (shown.empty()) return readNow();  // nothing of ours was there to leave
    if (shown.composed()) {
        // The frame being composed as the window went may still hold it;
        // the one after cannot.
        const Compositor& compositor = TheCompositor();
        if (compositor.Flush() && compositor.Flush()) return readNow();
    }
    // A steady clock, not the tick count: on Windows that moves in 16-ms steps,
    // as long as the whole interval between two reads.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(limitMs);
    std::vector<std::uint32_t> before;  // the rows as they were when the screen was last read
    bool readSince = false;
    for (;;) {
        std::vector<std::uint32_t> now = shown.ReadAgain();
        // A screen that cannot be read has nothing to wait for.
        if (now.empty()) return readSince ? void() : readNow();
        // Unchanged from before the reading until after it: what it read is settled.
        if (readSince && now == before) return;
        const Clock::time_point started = Clock::now();
        if (started >= until) return readNow();
        readSince = MostlyGone(shown.pixels(), now);
        if (readSince) readNow();
        before = std::move(now);
        const Clock::time_point next = std::min(started + kReadInterval, until);
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now());
        if (left.count() > 0) WaitLettingSentMessagesThrough(static_cast<DWORD>(left.count()));
    }
}

}  // namespace grabwell::platform
