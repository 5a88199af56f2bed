// The free rectangle, measured in one run against baselines of the same run:
// - one step of the drag (erase the band and its label, draw them at the new
//   corner) on the whole display, against one bare set of the four inverted
//   strokes;
// - release to picture shown: the real main window armed by its command and
//   dragged over the whole screen by synthesized input, from the left
//   button's release until the window is back with the new picture painted,
//   against bringing the same window back from the task bar and painting it,
//   the least any way to a shown picture takes.
// The display is whatever this process sees: run it under Wine desktops of
// different sizes (bench/run_free_rectangle_bench.sh does 1024x768 and
// 3840x2160). Prints "name value baseline ratio target" lines.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "app/FrmMain.h"
#include "capture/free_rectangle_tracking.h"
#include "core/free_rectangle.h"
#include "document/modal_ui.h"
#include "platform/unique_any.h"
#include "tests/shared/mouse_input.h"

namespace {

using namespace grabwell;
using Clock = std::chrono::steady_clock;

constexpr int kSteps = 400;
constexpr double kTargetMs = 1.0;
constexpr int kReleases = 9;
constexpr double kReleaseTargetMs = 50.0;
constexpr long kReleaseTargetWidth = 1024, kReleaseTargetHeight = 768;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The corner walks back and forth a few pixels at a time, as a hand does.
core::Rect RectAt(const core::Rect& screen, int step) {
    const int width = screen.right - screen.left;
    const int height = screen.bottom - screen.top;
    const int phase = step % 200 < 100 ? step % 100 : 100 - step % 100;
    const core::Point start{screen.left + width / 8, screen.top + height / 8};
    const core::Point cursor{start.x + width / 2 + phase * 3, start.y + height / 2 + phase * 2};
    return core::TrackedRect(start, cursor);
}

// Runs step(i) kSteps times, alternating the pieces of work so that drift in
// the machine's load hits them alike; each piece's median in milliseconds.
std::vector<double> Interleaved(const std::vector<std::function<void(int)>>& works) {
    std::vector<std::vector<double>> times(works.size());
    for (int i = 0; i < kSteps; ++i) {
        for (std::size_t w = 0; w < works.size(); ++w) {
            const auto start = std::chrono::steady_clock::now();
            works[w](i);
            ::GdiFlush();
            times[w].push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
        }
    }
    std::vector<double> medians;
    for (auto& t : times) medians.push_back(Median(std::move(t)));
    return medians;
}

void Strokes(HDC dc, const core::Rect& r) {
    for (const core::Stroke& s : core::RubberBandStrokes(r)) {
        ::PatBlt(dc, s.x, s.y, s.width, s.height, DSTINVERT);
    }
}

void Pump() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Paints whatever of the window is due and waits until the display shows it
// (under Wine, until the X server has done the drawing).
void PaintNow(HWND window, HDC display) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::GdiFlush();
    ::GetPixel(display, 0, 0);
}

// One free-rectangle capture from `from` to `to`; the milliseconds from the
// release to the new picture on screen, or a negative number if it never
// came.
double ReleaseToPicture(app::FrmMain& window, HDC display, POINT from, POINT to) {
    window.RunCommand(core::CommandId::mnuDistrict);
    Pump();
    testing::SendMouse(from, 0);
    testing::SendMouse(from, MOUSEEVENTF_LEFTDOWN);
    testing::SendMouse(to, 0);
    Clock::time_point released{};
    std::thread releaser([&] {
        ::Sleep(300);  // by now the drag has taken the press and the move
        released = Clock::now();
        testing::SendMouse(to, MOUSEEVENTF_LEFTUP);
    });
    const core::Size want{to.x - from.x, to.y - from.y};
    const auto giveUp = Clock::now() + std::chrono::seconds(10);
    bool done = false;
    while (!done && Clock::now() < giveUp) {
        Pump();
        done = window.freeRectangle() == app::FreeRectangleState::Idle &&
               !::IsIconic(window.hwnd()) && window.CurrentPicture().size() == want;
        if (!done) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    PaintNow(window.hwnd(), display);
    const Clock::time_point shown = Clock::now();
    releaser.join();
    return done ? Ms(shown - released) : -1.0;
}

// The baseline: the window, with the same picture, back from the task bar
// and painted.
double RestoreAndPaint(app::FrmMain& window, HDC display) {
    ::ShowWindow(window.hwnd(), SW_MINIMIZE);
    Pump();
    PaintNow(::GetDesktopWindow(), display);
    const auto start = Clock::now();
    ::ShowWindow(window.hwnd(), SW_SHOWNORMAL);
    Pump();
    PaintNow(window.hwnd(), display);
    return Ms(Clock::now() - start);
}

// Median release-to-picture and baseline, in milliseconds; empty when a
// capture never finished.
std::vector<double> BenchRelease(HDC display, const core::Rect& screen) {
    document::SystemModalUi ui;
    app::AppEnvironment env = app::ProgramEnvironment(::GetModuleHandleW(nullptr), ui);
    env.settings = platform::SettingsStore(L"Software\\GrabwellBench\\Settings");
    env.quitWhenDestroyed = false;
    app::FrmMain window(std::move(env));
    if (!window.Create(SW_SHOWNORMAL)) return {};
    Pump();
    // The whole screen but its outermost pixels: the most a release can
    // have to copy.
    const POINT from{screen.left + 1, screen.top + 1};
    const POINT to{screen.right - 1, screen.bottom - 1};
    std::vector<double> releases, baselines;
    for (int i = 0; i < kReleases; ++i) {
        const double release = ReleaseToPicture(window, display, from, to);
        if (release < 0) break;
        releases.push_back(release);
        baselines.push_back(RestoreAndPaint(window, display));
    }
    ::DestroyWindow(window.hwnd());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\GrabwellBench");
    if (releases.size() != kReleases) return {};
    return {Median(releases), Median(baselines)};
}

}  // namespace

int main() {
    platform::unique_hdc dc(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (!dc) {
        std::fprintf(stderr, "no display DC\n");
        return 1;
    }
    const core::Rect screen{::GetSystemMetrics(SM_XVIRTUALSCREEN),
                            ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                            ::GetSystemMetrics(SM_XVIRTUALSCREEN) +
                                ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                            ::GetSystemMetrics(SM_YVIRTUALSCREEN) +
                                ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};

    // Drawing on the display only queues requests for the X server under
    // Wine; reading one pixel back waits until it has done them all, so the
    // "synced" pair also counts the server's own work.
    const auto sync = [&] { ::GetPixel(dc.get(), screen.left, screen.top); };
    core::Rect shown{};  // what the tracking step has on screen
    const auto trackingStep = [&](int i) {
        const core::Rect next = RectAt(screen, i);
        capture::DrawRubberBand(dc.get(), shown);
        capture::DrawRubberBand(dc.get(), next);
        shown = next;
    };
    // One set of strokes per run: odd runs undo what even runs drew, so an
    // even number of runs leaves the screen as it was.
    static_assert(kSteps % 2 == 0);
    const auto bareStrokes = [&](int i) { Strokes(dc.get(), RectAt(screen, i - i % 2)); };
    const std::vector<double> ms = Interleaved({
        trackingStep,
        bareStrokes,
        [&](int i) { trackingStep(i); sync(); },
        [&](int i) { bareStrokes(i); sync(); },
    });
    capture::DrawRubberBand(dc.get(), shown);
    ::GdiFlush();

    const long width = screen.right - screen.left;
    const long height = screen.bottom - screen.top;
    const auto report = [&](const char* name, double step, double baseline) {
        std::printf("%s_%ldx%ld %.3fms %.3fms %.2fx <=%.0fms\n", name, width, height, step,
                    baseline, step / baseline, kTargetMs);
    };
    report("rubber_band_step", ms[0], ms[1]);
    report("rubber_band_step_synced", ms[2], ms[3]);
    std::fflush(stdout);
    const double step = std::max(ms[0], ms[2]);
    bool met = step <= kTargetMs;

    const std::vector<double> release = BenchRelease(dc.get(), screen);
    if (release.empty()) {
        std::fprintf(stderr, "a free-rectangle capture never finished\n");
        return 1;
    }
    // The target is set for the smallest screen; larger ones are for the record.
    const bool targeted = width == kReleaseTargetWidth && height == kReleaseTargetHeight;
    char target[16] = "(no target)";
    if (targeted) std::snprintf(target, sizeof(target), "<=%.0fms", kReleaseTargetMs);
    std::printf("release_to_picture_%ldx%ld %.1fms %.1fms %.2fx %s\n", width, height, release[0],
                release[1], release[0] / release[1], target);
    if (targeted) met = met && release[0] <= kReleaseTargetMs;
    return met ? 0 : 3;
}
