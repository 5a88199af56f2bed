#pragma once
// While a free-rectangle capture is armed, a borderless topmost window of
// ours covers the whole virtual screen, showing what the screen showed when
// it went up. Under Wine a mouse capture only sees presses made over one of
// the capturing thread's own windows, so without it the press that starts
// the selection would go to whatever program lies under the pointer. It
// stays up for the whole drag (the drag's mouse messages are routed through
// it) and must be down before any pixel is copied.
#include <functional>

#include "app/base_window.h"
#include "platform/screen_settle.h"
#include "platform/unique_any.h"

namespace grabwell::app {

class FreeRectangleOverlay : public BaseWindow<FreeRectangleOverlay> {
public:
    static constexpr const wchar_t* kClassName = L"GrabwellFreeRectangleOverlay";
    // Gets a left press the overlay itself receives, in screen pixels.
    using PressHandler = std::function<void(WPARAM buttons, POINT screen)>;

    FreeRectangleOverlay() = default;
    ~FreeRectangleOverlay();

    // Takes a picture of the virtual screen, once what `left` showed has
    // gone from it, and shows it over everything, without activating. False
    // when the window cannot be made.
    bool Show(HINSTANCE instance, const platform::ScreenTrace& left, PressHandler onPress);
    // Takes the window down; with `settle`, also gives the programs beneath
    // it the moment they need to paint what it covered, as any reading of
    // the screen's pixels needs. Does nothing when it is not up.
    void Hide(bool settle);
    bool visible() const;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnPaint();

    PressHandler onPress_;
    platform::unique_hbitmap snapshot_;
    POINT origin_{};  // the virtual screen's top-left, in screen pixels
};

}  // namespace grabwell::app
