#pragma once
// One move-only owner for every kind of Win32 handle. Each alias names the
// function that releases its handle, so a handle can't be released the wrong
// way. Live handles are counted per kind: Wine's GetGuiResources is a stub, so
// leak checks count through this layer instead.
#include <atomic>
#include <cstddef>
#include <utility>

#include "platform/win32.h"

namespace grabwell::platform {

enum class HandleKind : std::size_t { Dc, WindowDc, GdiObject, Key, Kernel, Menu, Icon, Module, Count };

class HandleCounters {
public:
    static long Live(HandleKind kind) { return counters()[Index(kind)].load(); }
    static void Opened(HandleKind kind) { ++counters()[Index(kind)]; }
    static void Closed(HandleKind kind) { --counters()[Index(kind)]; }

private:
    static constexpr std::size_t Index(HandleKind kind) { return static_cast<std::size_t>(kind); }
    static std::atomic<long>* counters() {
        static std::atomic<long> values[static_cast<std::size_t>(HandleKind::Count)]{};
        return values;
    }
};

// Traits: `type`, `Invalid()`, `Close(type)` and `kind`.
template <typename Traits>
class unique_any {
public:
    using pointer = typename Traits::type;

    unique_any() noexcept = default;
    explicit unique_any(pointer value) noexcept : value_(value) {
        if (valid()) HandleCounters::Opened(Traits::kind);
    }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {
        if (valid()) HandleCounters::Opened(Traits::kind);
    }
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    pointer get() const noexcept { return value_; }
    bool valid() const noexcept { return value_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    void reset(pointer value = Traits::Invalid()) noexcept {
        if (valid()) {
            Traits::Close(value_);
            HandleCounters::Closed(Traits::kind);
        }
        value_ = value;
        if (valid()) HandleCounters::Opened(Traits::kind);
    }

    // Gives up ownership, for hand-offs such as SetClipboardData that take it.
    [[nodiscard]] pointer release() noexcept {
        if (valid()) HandleCounters::Closed(Traits::kind);
        return std::exchange(value_, Traits::Invalid());
    }

private:
    pointer value_ = Traits::Invalid();
};

template <typename T, auto CloseFn, HandleKind Kind>
struct NullHandleTraits {
    using type = T;
    static constexpr HandleKind kind = Kind;
    static type Invalid() noexcept { return nullptr; }
    static void Close(type value) noexcept { CloseFn(value); }
};

inline void CloseKernelHandle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void DeleteDeviceContext(HDC h) noexcept { ::DeleteDC(h); }
inline void CloseRegistryKey(HKEY h) noexcept { ::RegCloseKey(h); }
inline void DestroyMenuHandle(HMENU h) noexcept { ::DestroyMenu(h); }
inline void DestroyIconHandle(HICON h) noexcept { ::DestroyIcon(h); }
inline void FreeModuleHandle(HMODULE h) noexcept { ::FreeLibrary(h); }

using unique_handle = unique_any<NullHandleTraits<HANDLE, CloseKernelHandle, HandleKind::Kernel>>;
using unique_hdc = unique_any<NullHandleTraits<HDC, DeleteDeviceContext, HandleKind::Dc>>;
using unique_hkey = unique_any<NullHandleTraits<HKEY, CloseRegistryKey, HandleKind::Key>>;
using unique_hmenu = unique_any<NullHandleTraits<HMENU, DestroyMenuHandle, HandleKind::Menu>>;
using unique_hicon = unique_any<NullHandleTraits<HICON, DestroyIconHandle, HandleKind::Icon>>;
using unique_hmodule = unique_any<NullHandleTraits<HMODULE, FreeModuleHandle, HandleKind::Module>>;

template <typename T>
void DeleteGdiHandle(T h) noexcept { ::DeleteObject(h); }

template <typename T>
using unique_gdi = unique_any<NullHandleTraits<T, DeleteGdiHandle<T>, HandleKind::GdiObject>>;
using unique_hbitmap = unique_gdi<HBITMAP>;
using unique_hpalette = unique_gdi<HPALETTE>;
using unique_hfont = unique_gdi<HFONT>;
using unique_hbrush = unique_gdi<HBRUSH>;

// A DC from GetDC/GetWindowDC/GetDC(nullptr): released with its window.
class unique_window_dc {
public:
    unique_window_dc() noexcept = default;
    unique_window_dc(HWND window, HDC dc) noexcept : window_(window), dc_(dc) {
        if (dc_) HandleCounters::Opened(HandleKind::WindowDc);
    }
    unique_window_dc(const unique_window_dc&) = delete;
    unique_window_dc& operator=(const unique_window_dc&) = delete;
    unique_window_dc(unique_window_dc&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    unique_window_dc& operator=(unique_window_dc&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = other.window_;
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    ~unique_window_dc() { reset(); }

    static unique_window_dc Client(HWND window) noexcept { return {window, ::GetDC(window)}; }
    static unique_window_dc Whole(HWND window) noexcept { return {window, ::GetWindowDC(window)}; }

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    void reset() noexcept {
        if (dc_) {
            ::ReleaseDC(window_, std::exchange(dc_, nullptr));
            HandleCounters::Closed(HandleKind::WindowDc);
        }
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// Selects an object into a DC for one scope and puts the previous one back,
// so selections unwind in reverse order of creation.
class unique_select_object {
public:
    unique_select_object(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    unique_select_object(const unique_select_object&) = delete;
    unique_select_object& operator=(const unique_select_object&) = delete;
    ~unique_select_object() { restore(); }
    // Puts the previous object back now and returns the one that was selected.
    HGDIOBJ restore() noexcept {
        return previous_ ? ::SelectObject(dc_, std::exchange(previous_, nullptr)) : nullptr;
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

class unique_select_palette {
public:
    unique_select_palette(HDC dc, HPALETTE palette) noexcept
        : dc_(dc), previous_(dc && palette ? ::SelectPalette(dc, palette, FALSE) : nullptr) {}
    unique_select_palette(const unique_select_palette&) = delete;
    unique_select_palette& operator=(const unique_select_palette&) = delete;
    ~unique_select_palette() { restore(); }
    HPALETTE restore() noexcept {
        return previous_ ? ::SelectPalette(dc_, std::exchange(previous_, nullptr), FALSE)
                         : nullptr;
    }

private:
    HDC dc_;
    HPALETTE previous_;
};

}  // namespace grabwell::platform
