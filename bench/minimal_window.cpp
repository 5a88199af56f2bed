// The smallest honest Win32 program with a window: the start-up baseline.
#include <windows.h>

namespace {
LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"GrabwellBenchMinimal";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowW(L"GrabwellBenchMinimal", L"Minimal", WS_OVERLAPPEDWINDOW, 100, 100,
                                433, 433, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(hwnd, show);
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}
