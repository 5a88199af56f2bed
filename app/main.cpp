#include "app/FrmMain.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // People start this program from wherever they unpacked it, often a
    // downloads folder full of other files. Before anything can load a DLL,
    // every DLL this process asks for by name, or that a system DLL asks for
    // on its behalf, is looked for in System32 only: never in the program's
    // folder or the current one. Static imports were resolved before this
    // line, which is why the exe imports only what Windows keeps in KnownDLLs.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
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
