#pragma once
// `PicBmp`: shows one Picture at its natural size and takes the picture's
// size whenever the picture changes. It only ever paints what the system
// asks it to repaint, so moving it around a large picture stays cheap.
#include "app/base_window.h"
#include "capture/picture.h"

namespace grabwell::app {

class PictureBox : public BaseWindow<PictureBox> {
public:
    static constexpr const wchar_t* kClassName = L"GrabwellPicture";

    bool Create(HWND parent, HINSTANCE instance);

    // Installs a picture (or none); the previous one is released.
    void SetPicture(capture::Picture picture);
    const capture::Picture& picture() const { return picture_; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnPaint();

    capture::Picture picture_;
};

}  // namespace grabwell::app
