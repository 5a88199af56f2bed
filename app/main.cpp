#include "app/FrmMain.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    using namespace grabwell::app;
    grabwell::document::SystemModalUi ui;
    FrmMain window(ProgramEnvironment(instance, ui));
    if (!window.Create(showCommand)) return 1;

    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (::TranslateAcceleratorW(window.hwnd(), window.accelerators(), &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
