// One scroll step's repaint on a 10,000 x 10,000 picture: the real window,
// a line-down on the vertical bar, and the repaint it causes, against a bare
// blit of the strip that a one-pixel step exposes.
#include <chrono>
#include <cstdio>

#include "app/FrmMain.h"
#include "document/modal_ui.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Pump() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

grabwell::capture::Picture BigPicture(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    grabwell::platform::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    ::ReleaseDC(nullptr, screen);
    return grabwell::capture::PictureFromBitmap(std::move(bitmap));
}

}  // namespace

int main() {
    using namespace grabwell;
    document::SystemModalUi ui;
    app::AppEnvironment env = app::ProgramEnvironment(::GetModuleHandleW(nullptr), ui);
    env.settings = platform::SettingsStore(L"Software\\GrabwellBench\\Settings");
    env.quitWhenDestroyed = false;
    app::FrmMain window(std::move(env));
    if (!window.Create(SW_SHOWNORMAL)) return 1;
    ::SetWindowPos(window.hwnd(), nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    window.InstallPicture(BigPicture(10000, 10000));
    window.LayoutViewport();
    Pump();
    ::UpdateWindow(window.hwnd());

    HWND bar = window.controls().VScroll1;
    HWND picture = window.controls().PicBmp;
    constexpr int kSteps = 400;
    const auto t0 = Clock::now();
    for (int i = 0; i < kSteps; ++i) {
        ::SendMessageW(window.hwnd(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar));
        ::UpdateWindow(picture);
        ::GdiFlush();
    }
    const double stepMs = Ms(Clock::now() - t0) / kSteps;

    // Baseline: blitting a full viewport's worth of the picture, which is the
    // most any step could ever need to repaint.
    RECT viewport{};
    ::GetClientRect(window.controls().picScroll, &viewport);
    HDC dc = ::GetDC(picture);
    platform::unique_hdc memory(::CreateCompatibleDC(dc));
    platform::unique_select_object select(memory.get(), window.CurrentPicture().handle());
    const auto t1 = Clock::now();
    for (int i = 0; i < kSteps; ++i) {
        ::BitBlt(dc, 0, 0, viewport.right, viewport.bottom, memory.get(), 0, i, SRCCOPY);
        ::GdiFlush();
    }
    const double blitMs = Ms(Clock::now() - t1) / kSteps;
    select.restore();
    ::ReleaseDC(picture, dc);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\GrabwellBench");

    std::printf("name: value baseline ratio target\n");
    std::printf("scroll_step_repaint_10000x10000: %.3fms %.3fms %.2fx <=2ms\n", stepMs, blitMs,
                stepMs / blitMs);
    return 0;
}
