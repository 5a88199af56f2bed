// The picture viewport: laying out `picScroll` and the two scroll bars for the
// window and picture sizes, and moving `PicBmp` when a bar moves.
#include <cstdlib>

#include "app/FrmMain.h"
#include "core/rounding.h"
#include "core/viewport_layout.h"

namespace grabwell::app {

namespace {

RECT WindowRectIn(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

core::ScrollAction ActionFor(UINT code) {
    switch (code) {
        case SB_LINEUP: return core::ScrollAction::LineUp;
        case SB_LINEDOWN: return core::ScrollAction::LineDown;
        case SB_PAGEUP: return core::ScrollAction::PageUp;
        case SB_PAGEDOWN: return core::ScrollAction::PageDown;
        case SB_TOP: return core::ScrollAction::Top;
        case SB_BOTTOM: return core::ScrollAction::Bottom;
        case SB_THUMBTRACK: return core::ScrollAction::ThumbTrack;
        case SB_THUMBPOSITION: return core::ScrollAction::ThumbPosition;
        default: return core::ScrollAction::EndScroll;
    }
}

}  // namespace

void FrmMain::LayoutViewport() {
    const double tx = LayoutTwipsPerPixel();
    const double ty = tx;
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const RECT viewport = WindowRectIn(controls_.picScroll);
    const RECT picture = WindowRectIn(controls_.PicBmp);

    core::ViewportInput in;
    in.minimized = ::IsIconic(hwnd()) != FALSE;
    in.clientWidth = client.right * tx;
    in.clientHeight = client.bottom * ty;
    in.toolbarHeight = controls_.ToolbarHeight() * ty;
    in.statusBarHeight = controls_.StatusBarHeight() * ty;
    in.pictureWidth = (picture.right - picture.left) * tx;
    in.pictureHeight = (picture.bottom - picture.top) * ty;
    in.twipsPerPixelX = tx;
    in.twipsPerPixelY = ty;
    // A bar is a whole number of pixels thick, or the viewport beside it is
    // not: 255 twips are 25.5 pixels at 150%.
    in.hScrollHeight = core::TwipsToPixels(core::kScrollBarThicknessTwips, ty) * ty;
    in.vScrollWidth = core::TwipsToPixels(core::kScrollBarThicknessTwips, tx) * tx;
    in.previousViewportWidth = (viewport.right - viewport.left) * tx;
    in.previousViewportHeight = (viewport.bottom - viewport.top) * ty;

    const core::ViewportLayout layout = core::ComputeViewportLayout(in);
    if (!layout.changed) return;

    const auto px = [](double twips, double tpp) { return core::TwipsToPixels(twips, tpp); };
    constexpr UINT kMove = SWP_NOZORDER | SWP_NOACTIVATE;
    ::SetWindowPos(controls_.picScroll, nullptr, px(layout.viewportLeft, tx),
                   px(layout.viewportTop, ty), px(layout.viewportWidth, tx),
                   px(layout.viewportHeight, ty), kMove);
    ::SetWindowPos(controls_.HScroll1, nullptr, 0, px(layout.hScrollTop, ty),
                   px(layout.hScrollWidth, tx), px(in.hScrollHeight, ty), kMove);
    ::SetWindowPos(controls_.VScroll1, nullptr, px(layout.vScrollLeft, tx),
                   px(in.toolbarHeight, ty), px(in.vScrollWidth, tx),
                   px(layout.vScrollHeight, ty), kMove);
    ApplyScrollBar(controls_.HScroll1, layout.h, hSteps_);
    ApplyScrollBar(controls_.VScroll1, layout.v, vSteps_);
    MovePicture();
}

void FrmMain::ApplyScrollBar(HWND bar, const core::ScrollBarLayout& layout, ScrollSteps& steps) {
    ::ShowWindow(bar, layout.visible ? SW_SHOWNA : SW_HIDE);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    if (layout.max) {
        const core::ScrollControlRange range = core::ControlRange(*layout.max, layout.page.value_or(0));
        info.fMask |= SIF_RANGE | SIF_PAGE;
        info.nMax = range.rangeEnd;
        info.nPage = range.page;
    }
    if (layout.value) {
        info.fMask |= SIF_POS;
        info.nPos = *layout.value;
    }
    // Drawn with the window's next paint, as a scroll step draws it: a
    // layout often runs twice in a row (a restore, then a new picture), and
    // drawing at once costs more each time than the picture's repaint.
    ::SetScrollInfo(bar, SB_CTL, &info, FALSE);
    if (layout.visible) ::InvalidateRect(bar, nullptr, FALSE);
    if (layout.largeChange) steps.large = *layout.largeChange;
    if (layout.smallChange) steps.small = *layout.smallChange;
}

void FrmMain::MovePicture() {
    const double tpp = LayoutTwipsPerPixel();
    const int x = core::PictureOffsetPixels(::GetScrollPos(controls_.HScroll1, SB_CTL), tpp);
    const int y = core::PictureOffsetPixels(::GetScrollPos(controls_.VScroll1, SB_CTL), tpp);
    RECT r = WindowRectIn(controls_.PicBmp);
    ::MapWindowPoints(HWND_DESKTOP, controls_.picScroll, reinterpret_cast<POINT*>(&r), 2);
    if (r.left == x && r.top == y) return;
    ::SetWindowPos(controls_.PicBmp, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmMain::OnScroll(HWND bar, UINT code) {
    if (bar != controls_.HScroll1 && bar != controls_.VScroll1) return;
    const ScrollSteps& steps = bar == controls_.HScroll1 ? hSteps_ : vSteps_;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!::GetScrollInfo(bar, SB_CTL, &info)) return;
    // The thumb position comes from SIF_TRACKPOS: the message's own position
    // word is 16 bits and would wrap on large pictures.
    const int value = core::ScrollStep(ActionFor(code), info.nPos, core::HighestPosition(info.nMax, info.nPage),
                                       steps.small, steps.large, info.nTrackPos);
    if (value != info.nPos) {
        // The bar repaints with the next paint rather than at once: drawing
        // it synchronously costs more than the picture's whole repaint, and
        // key or wheel repeats would pay it for every step.
        ::SetScrollPos(bar, SB_CTL, value, FALSE);
        ::InvalidateRect(bar, nullptr, FALSE);
    }
    MovePicture();
}

void FrmMain::ScrollBy(HWND bar, UINT code, int repeat) {
    if (!::IsWindowVisible(bar)) return;
    for (int i = 0; i < repeat; ++i) OnScroll(bar, code);
}

void FrmMain::OnMouseWheel(int delta, UINT keys) {
    // Shift turns the wheel sideways, as in most viewers.
    HWND bar = (keys & MK_SHIFT) ? controls_.HScroll1 : controls_.VScroll1;
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / WHEEL_DELTA;
    wheelRemainder_ %= WHEEL_DELTA;
    if (notches == 0) return;
    const UINT code = notches > 0 ? SB_LINEUP : SB_LINEDOWN;
    if (lines == WHEEL_PAGESCROLL) {
        ScrollBy(bar, notches > 0 ? SB_PAGEUP : SB_PAGEDOWN, std::abs(notches));
        return;
    }
    // A wheel line is a text line's worth of pixels, not a single pixel.
    const int pixelsPerWheelLine = core::ScaleForDpi(16, static_cast<int>(dpi_));
    ScrollBy(bar, code, std::abs(notches) * static_cast<int>(lines) * pixelsPerWheelLine);
}

bool FrmMain::OnKeyDown(UINT key) {
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    switch (key) {
        case VK_LEFT: ScrollBy(controls_.HScroll1, SB_LINEUP, 1); return true;
        case VK_RIGHT: ScrollBy(controls_.HScroll1, SB_LINEDOWN, 1); return true;
        case VK_UP: ScrollBy(controls_.VScroll1, SB_LINEUP, 1); return true;
        case VK_DOWN: ScrollBy(controls_.VScroll1, SB_LINEDOWN, 1); return true;
        case VK_PRIOR: ScrollBy(control ? controls_.HScroll1 : controls_.VScroll1, SB_PAGEUP, 1); return true;
        case VK_NEXT: ScrollBy(control ? controls_.HScroll1 : controls_.VScroll1, SB_PAGEDOWN, 1); return true;
        case VK_HOME: ScrollBy(control ? controls_.HScroll1 : controls_.VScroll1, SB_TOP, 1); return true;
        case VK_END: ScrollBy(control ? controls_.HScroll1 : controls_.VScroll1, SB_BOTTOM, 1); return true;
        default: return false;
    }
}

void FrmMain::InstallPicture(capture::Picture picture) { picBmp_.SetPicture(std::move(picture)); }

const capture::Picture& FrmMain::CurrentPicture() const { return picBmp_.picture(); }

}  // namespace grabwell::app
