#include "platform/dpi.h"

#include "core/rounding.h"
#include "platform/system_library.h"
#include "platform/unique_any.h"

namespace grabwell::platform {

namespace {

struct PerMonitorCalls {
    decltype(&::GetDpiForWindow) dpiForWindow;
    decltype(&::GetSystemMetricsForDpi) metricsForDpi;
    decltype(&::SystemParametersInfoForDpi) parametersForDpi;
};

const PerMonitorCalls& Calls() {
    static const PerMonitorCalls calls = [] {
        const SystemLibrary user32(L"user32.dll");
        // user32 stays loaded for the life of the process: the exe imports it.
        return PerMonitorCalls{
            user32.Find<decltype(&::GetDpiForWindow)>("GetDpiForWindow"),
            user32.Find<decltype(&::GetSystemMetricsForDpi)>("GetSystemMetricsForDpi"),
            user32.Find<decltype(&::SystemParametersInfoForDpi)>("SystemParametersInfoForDpi"),
        };
    }();
    return calls;
}

}  // namespace

UINT SystemDpi() {
    // A per-monitor aware process gets the system DPI from the screen DC.
    const auto screen = unique_window_dc::Client(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : static_cast<UINT>(core::kDefaultDpi);
}

UINT WindowDpi(HWND window) {
    if (const auto dpiForWindow = Calls().dpiForWindow) {
        if (const UINT dpi = dpiForWindow(window)) return dpi;
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
    if (const auto metricsForDpi = Calls().metricsForDpi) return metricsForDpi(index, dpi);
    return ::GetSystemMetrics(index);
}

bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi) {
    metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (const auto parametersForDpi = Calls().parametersForDpi) {
        return parametersForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi) != FALSE;
    }
    return ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
}

}  // namespace grabwell::platform
