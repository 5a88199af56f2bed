#pragma once
// While a free-rectangle capture is armed, a borderless topmost window of
// ours covers the whole virtual screen, showing what the screen showed when
// it went up. It is the press's way in: on Windows the main window loses its
// mouse capture as soon as it is minimised, and under Wine a capture only
// sees presses made over one of the capturing thread's own windows. It stays
// up for the whole drag, and its still picture is what the capture copies.
#include <functional>

#include "app/base_window.h"
#include "capture/free_rectangle_copy.h"
#include "platform/screen_settle.h"

namespace grabwell::app {

class FreeRectangleOverlay : public BaseWindow<FreeRectangleOverlay> {
public:
    static constexpr const wchar_t* kClassName = L"GrabwellFreeRectangleOverlay";
    // Gets a left press the overlay itself receives, in screen pixels.
    using PressHandler = std::function<void(WPARAM buttons, POINT screen)>;

    FreeRectangleOverlay() = default;
    ~FreeRectangleOverlay();

    // Makes the window, still hidden, and takes the press handler. From now
    // until Hide the overlay brings the press, whatever becomes of the main
    // window's capture meanwhile. False when the window cannot be made.
    bool Engage(HINSTANCE instance, PressHandler onPress);
    // Takes a picture of the virtual screen, once what `gone` showed has
    // gone from it, and shows it over everything, without activating. Does
    // nothing unless engaged.
    void Show(const platform::ScreenTrace& gone);
    // Takes the window down and lets its picture go. Does nothing when it is
    // not engaged.
    void Hide();
    // Hide, handing over the picture the rectangle was framed on. Without
    // one (it could not be had, and the cover showed black) the live screen
    // must stand in, so the programs beneath first get the moment they need
    // to repaint what the cover hid.
    capture::ScreenSnapshot HideKeepingSnapshot();
    bool engaged() const { return engaged_; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnPaint();

    bool engaged_ = false;
    PressHandler onPress_;
    capture::ScreenSnapshot snapshot_;
};

}  // namespace grabwell::app
