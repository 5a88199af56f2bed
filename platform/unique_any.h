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

enum class HandleKind : std::size_t {
    Dc, WindowDc, GdiObject, Key, Kernel, Menu, Icon, Memory, Module, Count
};

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

// Traits: `type`, `Invalid()` (the value that owns nothing: null for most
// handles, INVALID_HANDLE_VALUE for files), `Close(type)` and `kind`.
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

    // The storage itself, for a function that hands a handle back through an
    // out-parameter. What it converts to is good until the end of the full
    // expression; then the owner counts whatever landed there.
    class OutParameter {
    public:
        OutParameter(const OutParameter&) = delete;
        OutParameter& operator=(const OutParameter&) = delete;
        ~OutParameter() {
            if (owner_.valid() == heldBefore_) return;
            if (owner_.valid()) {
                HandleCounters::Opened(Traits::kind);
            } else {
                HandleCounters::Closed(Traits::kind);
            }
        }
        operator pointer*() const noexcept { return &owner_.value_; }

    private:
        friend class unique_any;
        explicit OutParameter(unique_any& owner) noexcept
            : owner_(owner), heldBefore_(owner.valid()) {}
        unique_any& owner_;
        bool heldBefore_;
    };

    // Frees what is held, then gives the storage to be filled in.
    [[nodiscard]] OutParameter put() noexcept {
        reset();
        return OutParameter(*this);
    }
    // The storage as it is, for a parameter that is read and written.
    [[nodiscard]] OutParameter addressof() noexcept { return OutParameter(*this); }

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

// CreateFile fails with INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using type = HANDLE;
    static constexpr HandleKind kind = HandleKind::Kernel;
    static type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(type value) noexcept { ::CloseHandle(value); }
};

inline void CloseKernelHandle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void DeleteDeviceContext(HDC h) noexcept { ::DeleteDC(h); }
inline void CloseRegistryKey(HKEY h) noexcept { ::RegCloseKey(h); }
inline void DestroyMenuHandle(HMENU h) noexcept { ::DestroyMenu(h); }
inline void DestroyIconHandle(HICON h) noexcept { ::DestroyIcon(h); }
inline void FreeGlobalMemory(HGLOBAL h) noexcept { ::GlobalFree(h); }
inline void FreeModuleHandle(HMODULE h) noexcept { ::FreeLibrary(h); }

using unique_handle = unique_any<NullHandleTraits<HANDLE, CloseKernelHandle, HandleKind::Kernel>>;
using unique_hfile = unique_any<FileHandleTraits>;
using unique_hdc = unique_any<NullHandleTraits<HDC, DeleteDeviceContext, HandleKind::Dc>>;
using unique_hkey = unique_any<NullHandleTraits<HKEY, CloseRegistryKey, HandleKind::Key>>;
using unique_hmenu = unique_any<NullHandleTraits<HMENU, DestroyMenuHandle, HandleKind::Menu>>;
using unique_hicon = unique_any<NullHandleTraits<HICON, DestroyIconHandle, HandleKind::Icon>>;
using unique_hglobal =
    unique_any<NullHandleTraits<HGLOBAL, FreeGlobalMemory, HandleKind::Memory>>;
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
// so selections unwind in reverse order of creation. False when the select
// failed (a bitmap the DC cannot take, or one selected elsewhere): drawing
// then would go to whatever the DC held before.
class unique_select_object {
public:
    unique_select_object(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    unique_select_object(const unique_select_object&) = delete;
    unique_select_object& operator=(const unique_select_object&) = delete;
    ~unique_select_object() { restore(); }
    explicit operator bool() const noexcept { return previous_ != nullptr; }
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

// While it lives, the shutdown screen names the window and the reason it
// holds the session up. Null window: no reason. Where the system refuses
// the reason, nothing is held and nothing is destroyed.
class unique_shutdown_reason {
public:
    unique_shutdown_reason(HWND window, const wchar_t* reason) noexcept
        : window_(window && ::ShutdownBlockReasonCreate(window, reason) ? window : nullptr) {}
    unique_shutdown_reason(const unique_shutdown_reason&) = delete;
    unique_shutdown_reason& operator=(const unique_shutdown_reason&) = delete;
    ~unique_shutdown_reason() {
        if (window_) ::ShutdownBlockReasonDestroy(window_);
    }
    explicit operator bool() const noexcept { return window_ != nullptr; }

private:
    HWND window_;
};

// BeginPaint to EndPaint, for one WM_PAINT.
class unique_hdc_paint {
public:
    explicit unique_hdc_paint(HWND window) noexcept
        : window_(window), dc_(::BeginPaint(window, &paint_)) {
        if (dc_) HandleCounters::Opened(HandleKind::WindowDc);
    }
    unique_hdc_paint(const unique_hdc_paint&) = delete;
    unique_hdc_paint& operator=(const unique_hdc_paint&) = delete;
    ~unique_hdc_paint() {
        if (!dc_) return;
        ::EndPaint(window_, &paint_);
        HandleCounters::Closed(HandleKind::WindowDc);
    }

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    // The part of the window that needs painting.
    const RECT& area() const noexcept { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace grabwell::platform
