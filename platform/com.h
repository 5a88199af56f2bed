#pragma once
// COM for one scope of one thread. The thread may already have COM in the
// other apartment model (a dialog initialised it first): then it is usable
// as it is, and this guard must not uninitialise what it did not start.
#include "platform/win32.h"

#include <objbase.h>
#include <wrl/client.h>

#include "platform/unique_any.h"

namespace grabwell::platform {

class ComInit {
public:
    explicit ComInit(DWORD model = COINIT_APARTMENTTHREADED) noexcept
        : result_(::CoInitializeEx(nullptr, model)) {}
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;
    ~ComInit() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }

    bool usable() const noexcept { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

template <typename T>
using ComPtr = Microsoft::WRL::ComPtr<T>;

inline void FreeTaskMemory(PWSTR text) noexcept { ::CoTaskMemFree(text); }
// A string the system allocated for us with CoTaskMemAlloc.
using unique_cotaskmem_string =
    unique_any<NullHandleTraits<PWSTR, FreeTaskMemory, HandleKind::Memory>>;

}  // namespace grabwell::platform
