// Looks at the running program from another process, as a user's desktop
// would: is the main window there, where, in which state, and with a menu
// bar. Prints one line of key=value pairs; exit code 0 when found.
//
//   grabwell_probe window [TIMEOUT_SECONDS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

HWND FindMain(int timeoutSeconds) {
    for (int i = 0; i < timeoutSeconds * 10; ++i) {
        if (HWND found = ::FindWindowW(L"GrabwellMainWindow", nullptr)) return found;
        ::Sleep(100);
    }
    return nullptr;
}

int ProbeWindow(int timeoutSeconds) {
    HWND window = FindMain(timeoutSeconds);
    if (!window) {
        std::printf("found=0\n");
        return 1;
    }
    wchar_t title[256] = {};
    ::GetWindowTextW(window, title, 256);
    RECT outer{};
    ::GetWindowRect(window, &outer);
    POINT clientOrigin{0, 0};
    ::ClientToScreen(window, &clientOrigin);
    // The client area starts below the caption and, when there is one, the
    // menu bar; menus of another process cannot be read under every system,
    // but their height shows in the frame.
    const int above = clientOrigin.y - outer.top;
    const int caption = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYFRAME) +
                        ::GetSystemMetrics(SM_CXPADDEDBORDER);
    const bool menuBar = ::GetMenu(window) != nullptr && above >= caption + ::GetSystemMetrics(SM_CYMENU) - 2;
    char utf8[1024] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof(utf8), nullptr, nullptr);
    std::printf("found=1 title=%s left=%ld top=%ld width=%ld height=%ld menubar=%d visible=%d "
                "iconic=%d zoomed=%d\n",
                utf8, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                menuBar ? 1 : 0, ::IsWindowVisible(window) ? 1 : 0, ::IsIconic(window) ? 1 : 0,
                ::IsZoomed(window) ? 1 : 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && std::wcscmp(argv[1], L"window") == 0) {
        return ProbeWindow(argc >= 3 ? ::_wtoi(argv[2]) : 20);
    }
    std::fprintf(stderr, "usage: grabwell_probe window [TIMEOUT_SECONDS]\n");
    return 2;
}
