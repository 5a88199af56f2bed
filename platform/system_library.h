#pragma once
// A DLL that the program loads while it runs, looked for in System32 and
// nowhere else: not the program's folder, where anything downloaded beside
// the program may sit, and not the current folder. For what the exe must not
// import statically because Windows does not keep it among the KnownDLLs.
#include "platform/unique_any.h"

namespace grabwell::platform {

class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* fileName) noexcept
        : module_(::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

    explicit operator bool() const noexcept { return static_cast<bool>(module_); }

    // The export `name` as FunctionPointer (say decltype(&::DwmFlush)), or
    // null when the library or the export is missing on this system.
    template <typename FunctionPointer>
    FunctionPointer Find(const char* name) const noexcept {
        if (!module_) return nullptr;
        // GetProcAddress's FARPROC reaches the real signature through the one
        // function-pointer type every other converts to without a warning.
        return reinterpret_cast<FunctionPointer>(
            reinterpret_cast<void (*)()>(::GetProcAddress(module_.get(), name)));
    }

private:
    unique_hmodule module_;
};

}  // namespace grabwell::platform
