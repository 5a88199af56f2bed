// dwmapi.dll of the composed test world: the desktop window manager of
// Windows 10 and 11, as far as the program meets it. In the prefix's System32,
// loaded natively, it answers the program; run as `rundll32 dwmapi.dll,Compose`
// it is the compositor, a process of its own that puts up the frames.
// - Composition is on.
// - DwmFlush returns after a frame (16 ms), once the compositor has composed
//   all that happened before it was called.
// - Extended frame bounds are the window rectangle less the invisible borders.
// - DWMWA_TRANSITIONS_FORCEDISABLED is kept as a property of the window.
// - A captioned window with transitions that leaves the screen (hidden,
//   minimised, destroyed) fades: an opaque copy of its last image stays where
//   it was, above everything, for 250 ms. Wine sends no EVENT_OBJECT_HIDE or
//   EVENT_SYSTEM_MINIMIZESTART, so each frame compares the windows shown.
// - A window a GPU draws keeps nothing of what the screen shows in its DC, but
//   under Wine every DC reads back the screen. So once loaded, this DLL takes
//   over the program's imports of GetDC, GetWindowDC, GetDCEx and ReleaseDC,
//   and for the stand-in GPU window alone hands out its own drawing: black.
#include <windows.h>

#include <map>

#include "tests/e2e/composed/composed_world.h"

namespace {

constexpr DWORD kTransitionsForceDisabled = 3;
constexpr DWORD kExtendedFrameBounds = 9;
constexpr DWORD kCloaked = 14;
constexpr wchar_t kTransitionsOff[] = L"GrabwellTransitionsOff";
constexpr wchar_t kCompositorClass[] = L"GrabwellCompositor";
constexpr wchar_t kFadeClass[] = L"GrabwellFade";
constexpr UINT kComposeNow = WM_APP + 1;
constexpr DWORD kFrameMs = 16;
constexpr UINT kFadeMs = 250;
// Between frames nobody waits for: how old a last image may be.
constexpr UINT kIdleFrameMs = 50;

bool IsGpuWindow(HWND window) {
    wchar_t name[64] = {};
    return window && ::GetClassNameW(window, name, 64) && ::lstrcmpW(name, kGpuWindowClass) == 0;
}

HDC BlackDc(HWND window, bool whole) {
    RECT r{};
    if (whole) ::GetWindowRect(window, &r); else ::GetClientRect(window, &r);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::SelectObject(dc, ::CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top));
    ::ReleaseDC(nullptr, screen);
    ::PatBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, BLACKNESS);
    return dc;
}

HDC WINAPI OwnGetDC(HWND w) { return IsGpuWindow(w) ? BlackDc(w, false) : ::GetDC(w); }
HDC WINAPI OwnGetWindowDC(HWND w) { return IsGpuWindow(w) ? BlackDc(w, true) : ::GetWindowDC(w); }
HDC WINAPI OwnGetDCEx(HWND w, HRGN clip, DWORD flags) {
    return IsGpuWindow(w) ? BlackDc(w, flags & DCX_WINDOW) : ::GetDCEx(w, clip, flags);
}
int WINAPI OwnReleaseDC(HWND w, HDC dc) {
    if (::GetObjectType(dc) != OBJ_MEMDC) return ::ReleaseDC(w, dc);
    HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    return 1;
}

void TakeOverImports() {
    using Any = void (*)();
    const struct { const char* name; Any own; } taken[] = {
        {"GetDC", reinterpret_cast<Any>(&OwnGetDC)},
        {"GetWindowDC", reinterpret_cast<Any>(&OwnGetWindowDC)},
        {"GetDCEx", reinterpret_cast<Any>(&OwnGetDCEx)},
        {"ReleaseDC", reinterpret_cast<Any>(&OwnReleaseDC)}};
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const DWORD at = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + at); at && d->Name; ++d) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), "user32.dll") != 0) continue;
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            const char* imported = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)->Name;
            for (const auto& t : taken) {
                if (::lstrcmpA(imported, t.name) != 0) continue;
                DWORD was = 0;
                ::VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), PAGE_READWRITE, &was);
                slot->u1.Function = reinterpret_cast<ULONG_PTR>(t.own);
                ::VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), was, &was);
            }
        }
    }
}

// The compositor. Windows that may fade, as the last frame showed them.
struct Shown {
    RECT rect;
    HBITMAP image;
};
std::map<HWND, Shown> shown;
int fading = 0;

BOOL CALLBACK Collect(HWND window, LPARAM into) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    RECT r{};
    if (process != ::GetCurrentProcessId() && ::IsWindowVisible(window) && !::IsIconic(window) &&
        (::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION &&
        !::GetPropW(window, kTransitionsOff) && ::GetWindowRect(window, &r)) {
        reinterpret_cast<std::map<HWND, RECT>*>(into)->emplace(window, r);
    }
    return TRUE;
}

HBITMAP ScreenImage(const RECT& r) {
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP image = ::CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ was = ::SelectObject(memory, image);
    ::BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ::SelectObject(memory, was);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return image;
}

void Fade(const Shown& gone) {
    const RECT& r = gone.rect;
    HWND fade = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kFadeClass, L"",
                                  WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                  nullptr, nullptr, nullptr, nullptr);
    ::SetWindowLongPtrW(fade, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(gone.image));
    ::SetWindowPos(fade, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(fade);
    // Wine puts a window's drawing on the X screen when its thread waits, and
    // a read of the screen returns once the X server has it.
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    HDC screen = ::GetDC(nullptr);
    ::GetPixel(screen, r.left, r.top);
    ::ReleaseDC(nullptr, screen);
    ::SetTimer(fade, 1, kFadeMs, nullptr);
    ++fading;
}

void Compose() {
    std::map<HWND, RECT> now;
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&now));
    for (auto it = shown.begin(); it != shown.end();) {
        if (now.count(it->first)) { ++it; continue; }
        Fade(it->second);
        it = shown.erase(it);
    }
    // The screen holds a fade now: no image of it is a window's own.
    if (fading) return;
    for (const auto& [window, rect] : now) {
        Shown& s = shown[window];
        if (s.image) ::DeleteObject(s.image);
        s = {rect, ScreenImage(rect)};
    }
}

LRESULT CALLBACK CompositorProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kComposeNow || message == WM_TIMER) {
        Compose();
        return 1;
    }
    return ::DefWindowProcW(w, message, wp, lp);
}

LRESULT CALLBACK FadeProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
    const auto image = reinterpret_cast<HBITMAP>(::GetWindowLongPtrW(w, GWLP_USERDATA));
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(w, &ps);
            HDC memory = ::CreateCompatibleDC(dc);
            HGDIOBJ was = ::SelectObject(memory, image);
            ::BitBlt(dc, 0, 0, 0x7FFF, 0x7FFF, memory, 0, 0, SRCCOPY);
            ::SelectObject(memory, was);
            ::DeleteDC(memory);
            ::EndPaint(w, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_TIMER:
            ::DestroyWindow(w);
            return 0;
        case WM_NCDESTROY:
            ::DeleteObject(image);
            --fading;
            return 0;
        default:
            return ::DefWindowProcW(w, message, wp, lp);
    }
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DwmIsCompositionEnabled(BOOL* enabled) {
    *enabled = TRUE;
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DwmFlush() {
    ::Sleep(kFrameMs);
    DWORD_PTR composed = 0;
    if (HWND compositor = ::FindWindowW(kCompositorClass, nullptr)) {
        ::SendMessageTimeoutW(compositor, kComposeNow, 0, 0, SMTO_NORMAL, 1000, &composed);
    }
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DwmGetWindowAttribute(HWND window, DWORD attribute,
                                                                      void* value, DWORD size) {
    if (attribute == kCloaked && size == sizeof(DWORD)) {
        *static_cast<DWORD*>(value) = 0;
        return S_OK;
    }
    RECT r{};
    if (attribute != kExtendedFrameBounds || size != sizeof(RECT)) return E_INVALIDARG;
    if (!::GetWindowRect(window, &r)) return E_HANDLE;
    *static_cast<RECT*>(value) = {r.left + kInvisibleBorder, r.top, r.right - kInvisibleBorder,
                                  r.bottom - kInvisibleBorder};
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DwmSetWindowAttribute(HWND window, DWORD attribute,
                                                                      const void* value, DWORD size) {
    if (attribute != kTransitionsForceDisabled || size != sizeof(BOOL)) return E_INVALIDARG;
    if (*static_cast<const BOOL*>(value)) ::SetPropW(window, kTransitionsOff, reinterpret_cast<HANDLE>(1));
    else ::RemovePropW(window, kTransitionsOff);
    return S_OK;
}

extern "C" __declspec(dllexport) void CALLBACK Compose(HWND, HINSTANCE, LPSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CompositorProc;
    wc.lpszClassName = kCompositorClass;
    ::RegisterClassW(&wc);
    wc.lpfnWndProc = FadeProc;
    wc.lpszClassName = kFadeClass;
    ::RegisterClassW(&wc);
    HWND compositor = ::CreateWindowExW(0, kCompositorClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                        nullptr, nullptr, nullptr);
    ::SetTimer(compositor, 1, kIdleFrameMs, nullptr);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), "composing\n", 10, &written, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) TakeOverImports();
    return TRUE;
}
