// Window placement: applied at load, written when the window closes.
#include "app/FrmMain.h"
#include "core/placement.h"
#include "core/rounding.h"
#include "platform/text.h"

namespace grabwell::app {

namespace {
enum Edge { kLeft, kTop, kWidth, kHeight };
}

void FrmMain::LoadPlacement() {
    // Each value is applied as soon as it is read, in the stored order: the
    // window moves twice and resizes twice, and nothing is clamped to the
    // screen, so a placement saved on a larger desktop is honoured as far as
    // any of it shows (KeepOnAMonitor).
    for (std::size_t i = 0; i < core::kPlacementKeys.size(); ++i) {
        const auto& key = core::kPlacementKeys[i];
        std::optional<std::u16string> stored;
        if (auto text = env_.settings.Read(platform::Wide(key.name))) {
            stored = platform::Utf16(*text);
        }
        const double twips = core::PlacementValueOr(stored, key.defaultTwips);
        RECT r{};
        ::GetWindowRect(hwnd(), &r);
        int x = r.left, y = r.top, cx = r.right - r.left, cy = r.bottom - r.top;
        switch (static_cast<Edge>(i)) {
            case kLeft: x = core::TwipsToPixels(twips, twipsPerPixelX_); break;
            case kTop: y = core::TwipsToPixels(twips, twipsPerPixelY_); break;
            case kWidth: cx = core::TwipsToPixels(twips, twipsPerPixelX_); break;
            case kHeight: cy = core::TwipsToPixels(twips, twipsPerPixelY_); break;
        }
        ::SetWindowPos(hwnd(), nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FrmMain::KeepOnAMonitor() {
    RECT r{};
    if (!::GetWindowRect(hwnd(), &r)) return;
    // A frame that shows at least partly stays where the user left it; only
    // one that no monitor shows any more (a second monitor unplugged) moves.
    if (::MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoW(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const core::Rect inside = core::MoveInside({r.left, r.top, r.right, r.bottom},
                                               {work.left, work.top, work.right, work.bottom});
    ::SetWindowPos(hwnd(), nullptr, inside.left, inside.top, inside.right - inside.left,
                   inside.bottom - inside.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmMain::SaveWindowPlacement() {
    if (::IsIconic(hwnd())) return;
    // A maximized window writes the bounds it has while maximized.
    RECT r{};
    if (!::GetWindowRect(hwnd(), &r)) return;
    const double values[] = {
        static_cast<double>(core::PixelsToTwips(r.left, twipsPerPixelX_)),
        static_cast<double>(core::PixelsToTwips(r.top, twipsPerPixelY_)),
        static_cast<double>(core::PixelsToTwips(r.right - r.left, twipsPerPixelX_)),
        static_cast<double>(core::PixelsToTwips(r.bottom - r.top, twipsPerPixelY_)),
    };
    for (std::size_t i = 0; i < core::kPlacementKeys.size(); ++i) {
        env_.settings.Write(platform::Wide(core::kPlacementKeys[i].name),
                            platform::Wide(core::FormatPlacementValue(values[i])));
    }
}

}  // namespace grabwell::app
