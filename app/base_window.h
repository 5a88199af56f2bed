#pragma once
// CRTP base for the program's windows: registers the class once, routes
// messages to Derived::HandleMessage, and keeps C++ exceptions from ever
// unwinding into the system's message dispatch.
#include "platform/win32.h"

namespace grabwell::app {

// Registers a window class of `instance` unless it is registered already.
inline bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure,
                                HICON icon, HBRUSH background, UINT style) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, className, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc) != 0;
}

template <typename Derived>
class BaseWindow {
public:
    HWND hwnd() const noexcept { return hwnd_; }

protected:
    BaseWindow() = default;
    ~BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    static bool RegisterClassOnce(HINSTANCE instance, const wchar_t* className, HICON icon,
                                  HBRUSH background, UINT style = CS_DBLCLKS) {
        return RegisterWindowClass(instance, className, &BaseWindow::WindowProc, icon, background,
                                   style);
    }

    HWND CreateFor(HINSTANCE instance, const wchar_t* className, const wchar_t* title,
                   DWORD style, DWORD exStyle, int x, int y, int width, int height, HWND parent,
                   HMENU menu) {
        return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                                 menu, instance, static_cast<Derived*>(this));
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            self = static_cast<Derived*>(create->lpCreateParams);
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
        LRESULT result = 0;
        try {
            result = self->HandleMessage(message, wParam, lParam);
        } catch (...) {
            // Nothing a handler throws may unwind through user32.
            result = ::DefWindowProcW(hwnd, message, wParam, lParam);
        }
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    HWND hwnd_ = nullptr;
};

}  // namespace grabwell::app
