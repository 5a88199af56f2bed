#include "app/picture_box.h"

#include "platform/blit.h"

namespace grabwell::app {

bool PictureBox::Create(HWND parent, HINSTANCE instance) {
    // No class background: WM_PAINT draws every pixel, the background of an
    // empty box included, so there is nothing to erase first.
    if (!RegisterClassOnce(instance, kClassName, nullptr, nullptr)) return false;
    return CreateFor(instance, kClassName, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, 0, parent,
                     nullptr) != nullptr;
}

void PictureBox::SetPicture(capture::Picture picture) {
    picture_ = std::move(picture);
    const auto size = picture_.size();
    ::SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        default:
            return DefaultProc(message, wParam, lParam);
    }
}

void PictureBox::OnPaint() {
    platform::PaintBitmap(hwnd(), picture_.handle(), picture_.palette(),
                          ::GetSysColorBrush(COLOR_APPWORKSPACE));
}

}  // namespace grabwell::app
