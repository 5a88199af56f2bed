// One step of the free-rectangle drag (erase the band and its label, draw
// them at the new corner) on the whole display, against one bare set of the
// four inverted strokes as the baseline, measured in the same run.
// The display is whatever this process sees: run it under Wine desktops of
// different sizes (bench/run_free_rectangle_bench.sh does 1024x768 and
// 3840x2160). Prints "name value baseline ratio target" lines.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "capture/free_rectangle_tracking.h"
#include "core/free_rectangle.h"
#include "platform/unique_any.h"

namespace {

using namespace grabwell;

constexpr int kSteps = 400;
constexpr double kTargetMs = 1.0;

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
    return step <= kTargetMs ? 0 : 3;
}
