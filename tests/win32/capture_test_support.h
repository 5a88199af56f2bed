#pragma once
// Shared pieces of the capture tests: a window of the test's own showing
// known blocks of colour, and pixels read back from any bitmap.
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/unique_any.h"
#include "platform/win32.h"

namespace grabwell::testing {

// 0x00RRGGBB pixels, rows top-down.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> data;
    std::uint32_t at(int x, int y) const {
        return data[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)] & 0xFFFFFFu;
    }
    friend bool operator==(const Pixels&, const Pixels&) = default;
};

// True on an indexed (8-bit) screen, where exact colours cannot be expected.
bool PaletteScreen();

// Empty Pixels when GetDIBits fails.
Pixels ReadPixels(HBITMAP bitmap);

constexpr std::uint32_t Rgb(COLORREF c) {
    return static_cast<std::uint32_t>(GetRValue(c)) << 16 |
           static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
}

// A topmost framed window whose client area shows fixed blocks of colour on
// white; BlockColour says which colour lies at a client point.
class BlockWindow {
public:
    static constexpr int kClientWidth = 160;
    static constexpr int kClientHeight = 120;

    BlockWindow(int screenX = 60, int screenY = 50);
    ~BlockWindow();
    BlockWindow(const BlockWindow&) = delete;
    BlockWindow& operator=(const BlockWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Client top-left minus outer top-left: the frame and caption.
    POINT ClientOffset() const;
    static COLORREF BlockColour(int x, int y);

private:
    bool ScreenShowsBlocks() const;
    HWND hwnd_ = nullptr;
};

// Opens the clipboard on its own thread for `holdMs`, as another program
// reading it would.
class ClipboardHolder {
public:
    explicit ClipboardHolder(DWORD holdMs);
    ~ClipboardHolder();
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;
    bool opened() const { return opened_; }

private:
    std::atomic<bool> opened_{false};
    std::atomic<bool> ready_{false};
    std::thread thread_;
};

}  // namespace grabwell::testing
