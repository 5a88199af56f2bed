// The free-rectangle capture: the band on a canvas of known pixels, the
// screen copy onto the clipboard, and the whole arm / press / drag / release
// cycle of the real main window driven by synthesized mouse input.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <cwchar>
#include <set>
#include <thread>
#include <utility>

#include "capture/free_rectangle_copy.h"
#include "capture/free_rectangle_tracking.h"
#include "capture/picture_clipboard.h"
#include "core/commands.h"
#include "core/free_rectangle.h"
#include "platform/clipboard.h"
#include "platform/display_dc.h"
#include "tests/shared/mouse_input.h"
#include "tests/win32/capture_test_support.h"
#include "tests/win32/document_test_support.h"
#include "tests/win32/process_gauges.h"
#include "tests/win32/test_window_env.h"

using namespace grabwell;
using grabwell::testing::BlockWindow;
using grabwell::testing::ClipboardHolder;
using grabwell::testing::Pixels;
using grabwell::testing::ReadPixels;
using grabwell::testing::Rgb;
using grabwell::testing::SendMouse;

namespace {

using PixelSet = std::set<std::pair<int, int>>;

// A memory DC over a copy of the test pattern.
class Canvas {
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 160;

    Canvas()
        : bitmap_(capture::DuplicateBitmap(grabwell::testing::PatternPicture(kWidth, kHeight).handle())),
          screen_(platform::unique_window_dc::Client(nullptr)),
          dc_(::CreateCompatibleDC(screen_.get())),
          original_(::SelectObject(dc_.get(), bitmap_.get())) {}
    ~Canvas() { ::SelectObject(dc_.get(), original_); }
    HDC dc() const { return dc_.get(); }
    // The bitmap is read while selected nowhere, as GetDIBits wants it.
    Pixels Read() const {
        ::SelectObject(dc_.get(), original_);
        Pixels pixels = ReadPixels(bitmap_.get());
        ::SelectObject(dc_.get(), bitmap_.get());
        return pixels;
    }

private:
    platform::unique_hbitmap bitmap_;
    platform::unique_window_dc screen_;
    platform::unique_hdc dc_;
    HGDIOBJ original_;
};

PixelSet Changed(const Pixels& before, const Pixels& after) {
    PixelSet changed;
    for (int y = 0; y < before.height; ++y)
        for (int x = 0; x < before.width; ++x)
            if (before.at(x, y) != after.at(x, y)) changed.insert({x, y});
    return changed;
}

bool Inverted(const Pixels& before, const Pixels& after, int x, int y) {
    return after.at(x, y) == (~before.at(x, y) & 0xFFFFFFu);
}

SIZE LabelExtent(HDC dc, const core::Rect& r) {
    const std::string narrow = core::RubberBandLabel(r);
    const std::wstring text(narrow.begin(), narrow.end());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

}  // namespace

TEST(RubberBandDrawing, DrawingTwiceRestoresEveryPixelAndLeaksNothing) {
    Canvas canvas;
    const Pixels original = canvas.Read();
    ASSERT_EQ(original.width, Canvas::kWidth);
    const test::HandleSnapshot handles = test::HandleSnapshot::Now();
    // Ordinary, tiny (label far larger than the band), one pixel, and
    // hanging over the canvas's edges.
    for (const core::Rect r : {core::Rect{20, 10, 180, 120}, core::Rect{50, 50, 53, 52},
                               core::Rect{7, 9, 8, 10}, core::Rect{-30, -20, 300, 200}}) {
        capture::DrawRubberBand(canvas.dc(), r);
        EXPECT_FALSE(Changed(original, canvas.Read()).empty()) << r.left << "," << r.top;
        capture::DrawRubberBand(canvas.dc(), r);
        EXPECT_EQ(canvas.Read(), original) << r.left << "," << r.top;
    }
    capture::DrawRubberBand(canvas.dc(), {30, 30, 30, 90});  // empty: nothing at all
    EXPECT_EQ(canvas.Read(), original);
    EXPECT_EQ(test::HandleSnapshot::Now(), handles);
}

// The strokes' negative extents run from the start pixel itself back
// (x + w + 1 .. x), not from the pixel before it. So the top-left and
// bottom-left corners are inverted once, the top-right and bottom-right
// corners twice (they keep their colour), and two pixels just outside the
// rectangle are inverted: below the bottom-left corner and right of the
// bottom-right one.
TEST(RubberBandDrawing, OutlineIsInvertedWithTheCornersAsTheBlitterPlacesThem) {
    Canvas canvas;
    const Pixels before = canvas.Read();
    const core::Rect r{20, 10, 200, 140};
    capture::DrawRubberBand(canvas.dc(), r, [](int, int) -> HBITMAP { return nullptr; });
    const Pixels after = canvas.Read();

    PixelSet expected;
    for (int x = r.left; x < r.right - 1; ++x) expected.insert({x, r.top});
    for (int y = r.top + 1; y <= r.bottom; ++y) expected.insert({r.left, y});
    for (int y = r.top + 1; y < r.bottom; ++y) expected.insert({r.right - 1, y});
    for (int x = r.left + 1; x < r.right - 1; ++x) expected.insert({x, r.bottom - 1});
    expected.insert({r.right, r.bottom - 1});
    expected.erase({r.right - 1, r.bottom - 1});

    EXPECT_EQ(Changed(before, after), expected);
    for (const auto& [x, y] : expected) {
        EXPECT_TRUE(Inverted(before, after, x, y)) << x << "," << y;
    }
    EXPECT_TRUE(Inverted(before, after, r.left, r.top));
    EXPECT_TRUE(Inverted(before, after, r.left, r.bottom - 1));
    EXPECT_EQ(after.at(r.right - 1, r.top), before.at(r.right - 1, r.top));
    EXPECT_EQ(after.at(r.right - 1, r.bottom - 1), before.at(r.right - 1, r.bottom - 1));
}

TEST(RubberBandDrawing, LabelIsInvertedTextCentredOnTheBandOrLeftOutWithoutItsBitmap) {
    const core::Rect r{20, 10, 200, 140};
    Canvas canvas;
    const Pixels before = canvas.Read();
    const SIZE extent = LabelExtent(canvas.dc(), r);
    ASSERT_GT(extent.cx, 0);
    const core::Point origin = core::LabelOrigin(r, {extent.cx, extent.cy});
    const auto inLabel = [&](int x, int y) {
        return x >= origin.x && x < origin.x + extent.cx && y >= origin.y &&
               y < origin.y + extent.cy;
    };

    capture::DrawRubberBand(canvas.dc(), r);
    const Pixels labelled = canvas.Read();
    int glyphPixels = 0;
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        for (int x = r.left + 1; x < r.right - 1; ++x) {
            if (labelled.at(x, y) == before.at(x, y)) continue;
            EXPECT_TRUE(inLabel(x, y)) << x << "," << y;
            EXPECT_TRUE(Inverted(before, labelled, x, y)) << x << "," << y;
            ++glyphPixels;
        }
    }
    // Text, not a filled box: some of the label's cells stay as they were.
    EXPECT_GT(glyphPixels, 20);
    EXPECT_LT(glyphPixels, extent.cx * extent.cy);
    capture::DrawRubberBand(canvas.dc(), r);
    ASSERT_EQ(canvas.Read(), before);

    // No bitmap for the label: the outline alone, still undone by a redraw.
    SIZE asked{};
    const test::HandleSnapshot handles = test::HandleSnapshot::Now();
    const capture::LabelBitmapMaker refuse = [&](int w, int h) -> HBITMAP {
        asked = {w, h};
        return nullptr;
    };
    capture::DrawRubberBand(canvas.dc(), r, refuse);
    EXPECT_EQ(asked.cx, extent.cx);
    EXPECT_EQ(asked.cy, extent.cy);
    const Pixels bare = canvas.Read();
    for (int y = r.top + 1; y < r.bottom - 1; ++y)
        for (int x = r.left + 1; x < r.right - 1; ++x)
            ASSERT_EQ(bare.at(x, y), before.at(x, y)) << x << "," << y;
    capture::DrawRubberBand(canvas.dc(), r, refuse);
    EXPECT_EQ(canvas.Read(), before);
    EXPECT_EQ(test::HandleSnapshot::Now(), handles);
}

namespace {

// Screen rectangle [l, r) x [t, b) of the block window's client area.
struct ScreenArea {
    int l, t, r, b;
};

// Every pixel of `pixels` is the block window's at the same screen point.
void ExpectBlocks(const Pixels& pixels, const BlockWindow& window, ScreenArea a) {
    ASSERT_EQ(pixels.width, a.r - a.l);
    ASSERT_EQ(pixels.height, a.b - a.t);
    POINT client{0, 0};
    ::ClientToScreen(window.hwnd(), &client);
    int wrong = 0;
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            const auto want = Rgb(BlockWindow::BlockColour(a.l + x - client.x, a.t + y - client.y));
            if (pixels.at(x, y) != want && ++wrong <= 5) {
                ADD_FAILURE() << "(" << x << "," << y << ") " << std::hex << pixels.at(x, y)
                              << " want " << want;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

Pixels ClipboardPixels() {
    platform::ClipboardSession session(nullptr);
    if (!session) return {};
    return ReadPixels(static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)));
}

bool IsDibSection(HBITMAP bitmap) {
    DIBSECTION dib{};
    return ::GetObjectW(bitmap, sizeof(dib), &dib) == sizeof(dib);
}

void PutText(HWND owner, const wchar_t* text) {
    platform::ClipboardSession session(owner);
    ASSERT_TRUE(session);
    ::EmptyClipboard();
    const std::size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(::GlobalLock(memory), text, bytes);
    ::GlobalUnlock(memory);
    ASSERT_TRUE(::SetClipboardData(CF_UNICODETEXT, memory));
}

std::wstring ClipboardText() {
    platform::ClipboardSession session(nullptr);
    if (!session || !::IsClipboardFormatAvailable(CF_UNICODETEXT)) return L"";
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    std::wstring text(static_cast<const wchar_t*>(::GlobalLock(data)));
    ::GlobalUnlock(data);
    return text;
}

class FreeRectangleCopyTest : public ::testing::Test {
protected:
    ScreenArea Area(int l, int t, int r, int b) const {
        POINT c{0, 0};
        ::ClientToScreen(window.hwnd(), &c);
        return {c.x + l, c.y + t, c.x + r, c.y + b};
    }
    BlockWindow window{120, 90};
};

}  // namespace

TEST_F(FreeRectangleCopyTest, ClipboardGetsExactlyTheHalfOpenAreaOfTheStillPicture) {
    // The still picture reaches past the area on every side, so a copy from
    // the wrong place in it shows.
    const ScreenArea still = Area(-9, -6, 150, 110);
    capture::ScreenSnapshot framed =
        capture::SnapshotScreenRect(still.l, still.t, still.r, still.b);
    ASSERT_TRUE(framed.bitmap);
    // Edges on block boundaries and one pixel off them, so a copy one pixel
    // too far or too short shows.
    const ScreenArea a = Area(7, 5, 101, 71);
    const auto screenNow = [&] {
        return ReadPixels(capture::CopyScreenRect({}, a.l, a.t, a.r, a.b).get());
    };
    const Pixels shown = screenNow();
    // The screen changes after the picture was taken, before the copy.
    ::PatBlt(platform::DisplayDc().get(), a.l, a.t, a.r - a.l, a.b - a.t, BLACKNESS);
    // Wine puts what was drawn on the screen at its next flush, not at once.
    test::PumpMessages(1000, [&] { return !(screenNow() == shown); });
    ASSERT_FALSE(screenNow() == shown) << "the screen did not change";

    const capture::Picture picture = capture::PictureOfScreenRect(framed, a.l, a.t, a.r, a.b);
    ASSERT_TRUE(capture::CopyScreenRectToClipboard(window.hwnd(), framed, a.l, a.t, a.r, a.b));
    // Also on an indexed screen, which dithers the blocks' colours.
    EXPECT_TRUE(ClipboardPixels() == shown);
    EXPECT_TRUE(ReadPixels(picture.handle()) == shown);
    if (!grabwell::testing::PaletteScreen()) ExpectBlocks(ClipboardPixels(), window, a);

    platform::ClipboardSession session(nullptr);
    ASSERT_TRUE(session);
    EXPECT_FALSE(IsDibSection(static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP))))
        << "Wine cannot give a DIB section to another process";
}

TEST_F(FreeRectangleCopyTest, ZeroSizeGivesATinyBitmapEveryTimeAndNegativeGivesNothing) {
    const ScreenArea a = Area(30, 30, 30, 30);
    // Twice: the platform's own answer is a shared stock bitmap, and once
    // that sat on the clipboard the next one could not be read back.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(capture::PictureOfScreenRect({}, a.l, a.t, a.r, a.b).size(),
                  (core::Size{1, 1}));
        ASSERT_TRUE(capture::CopyScreenRectToClipboard(window.hwnd(), {}, a.l, a.t, a.r, a.b))
            << round;
        {
            platform::ClipboardSession session(nullptr);
            ASSERT_TRUE(session);
            BITMAP info{};
            ASSERT_TRUE(::GetObjectW(::GetClipboardData(CF_BITMAP), sizeof(info), &info));
            EXPECT_EQ(info.bmWidth, 1);
            EXPECT_EQ(info.bmHeight, 1);
            EXPECT_EQ(info.bmBitsPixel, 1);
        }
        EXPECT_EQ(capture::PictureFromClipboard(window.hwnd()).size(), (core::Size{1, 1})) << round;
    }
    EXPECT_TRUE(capture::PictureOfScreenRect({}, a.l, a.t, a.l - 5, a.t + 5).empty());
    EXPECT_FALSE(capture::CopyScreenRectToClipboard(window.hwnd(), {}, a.l, a.t, a.l - 5, a.t + 5));
}

TEST_F(FreeRectangleCopyTest, ClipboardHeldTwoSecondsGivesThePixelsDirectly) {
    const ScreenArea a = Area(0, 0, 90, 60);
    PutText(window.hwnd(), L"left alone");
    const ClipboardHolder holder(2000);
    ASSERT_TRUE(holder.opened());
    EXPECT_FALSE(capture::CopyScreenRectToClipboard(window.hwnd(), {}, a.l, a.t, a.r, a.b));
    ExpectBlocks(ReadPixels(capture::PictureOfScreenRect({}, a.l, a.t, a.r, a.b).handle()), window,
                 a);
    ::Sleep(2100);
    EXPECT_EQ(ClipboardText(), L"left alone");
}

namespace {

// What Windows does to the window holding the mouse capture when it is
// deactivated (Wine does not): WM_CANCELMODE, whose default handling lets
// the capture go; and the capture released for good measure.
void TakeCaptureAway(HWND window) {
    ::SendMessageW(window, WM_CANCELMODE, 0, 0);
    ::ReleaseCapture();
}

// Takes the capture away inside the ShowWindow that minimises `window`, as
// the deactivation that goes with it does on Windows.
class CaptureLostOnMinimise {
public:
    explicit CaptureLostOnMinimise(HWND window)
        : hook_(::SetWindowsHookExW(WH_CBT, &OnCbt, nullptr, ::GetCurrentThreadId())) {
        target_ = window;
        fired_ = 0;
    }
    ~CaptureLostOnMinimise() {
        if (hook_) ::UnhookWindowsHookEx(hook_);
        target_ = nullptr;
    }
    CaptureLostOnMinimise(const CaptureLostOnMinimise&) = delete;
    CaptureLostOnMinimise& operator=(const CaptureLostOnMinimise&) = delete;
    int fired() const { return fired_; }

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_MINMAX && reinterpret_cast<HWND>(wParam) == target_ &&
            LOWORD(lParam) == SW_MINIMIZE) {
            ++fired_;
            TakeCaptureAway(target_);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline HWND target_ = nullptr;
    static inline int fired_ = 0;
    HHOOK hook_;
};

// A real main window with a block window at a known place, driven as a user
// does: arm through the command, then press, drag in steps and release.
class FreeRectangleFlow : public ::testing::Test {
protected:
    void SetUp() override {
        main = env.MakeWindow();
        ASSERT_TRUE(main);
        ::ClientToScreen(blocks.hwnd(), &client);
    }

    HWND overlay() const { return ::FindWindowW(app::FreeRectangleOverlay::kClassName, nullptr); }
    bool OverlayUp() const { return overlay() && ::IsWindowVisible(overlay()); }

    void Arm() {
        main->RunCommand(core::CommandId::mnuDistrict);
        test::PumpMessages(50);
    }

    // Press at `from`, drag through `via`, release at `to` (client pixels of
    // the block window); the capture runs inside the press's dispatch.
    void Drag(POINT from, std::initializer_list<POINT> via, POINT to) {
        const auto screen = [&](POINT p) { return POINT{client.x + p.x, client.y + p.y}; };
        SendMouse(screen(from), 0);
        SendMouse(screen(from), MOUSEEVENTF_LEFTDOWN);
        for (const POINT p : via) SendMouse(screen(p), 0);
        SendMouse(screen(to), 0);
        SendMouse(screen(to), MOUSEEVENTF_LEFTUP);
        test::PumpMessages(3000, [&] { return test::FreeRectangleFinished(*main); });
        test::PumpMessages(100);
    }

    ScreenArea Area(int l, int t, int r, int b) const {
        return {client.x + l, client.y + t, client.x + r, client.y + b};
    }

    test::WindowTestEnv env;
    std::unique_ptr<app::FrmMain> main;
    BlockWindow blocks{140, 120};
    POINT client{0, 0};
};

}  // namespace

TEST_F(FreeRectangleFlow, ArmingMinimisesCapturesAndCoversTheScreenOnce) {
    ASSERT_FALSE(main->PictureUnsaved());
    Arm();
    EXPECT_TRUE(main->RegionSelecting());
    EXPECT_TRUE(main->PictureUnsaved());
    EXPECT_TRUE(::IsIconic(main->hwnd()));
    EXPECT_EQ(::GetCapture(), main->hwnd());
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_CROSS));
    ASSERT_TRUE(OverlayUp());
    RECT covered{};
    ::GetWindowRect(overlay(), &covered);
    EXPECT_EQ(covered.left, ::GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(covered.right - covered.left, ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(covered.bottom - covered.top, ::GetSystemMetrics(SM_CYVIRTUALSCREEN));

    // Again while armed: a second SetCapture would tell the window it lost
    // the capture and disarm it, so staying armed shows nothing was redone.
    main->RunCommand(core::CommandId::mnuDistrict);
    test::PumpMessages(50);
    EXPECT_TRUE(main->RegionSelecting());
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_CROSS));
    EXPECT_EQ(::GetCapture(), main->hwnd());
    EXPECT_TRUE(::IsIconic(main->hwnd()));
    EXPECT_TRUE(OverlayUp());
}

TEST_F(FreeRectangleFlow, DragsEitherWayPutTheHalfOpenAreaOnClipboardAndPicture) {
    ::ShowWindow(main->hwnd(), SW_MAXIMIZE);
    struct Case {
        POINT from;
        POINT to;
        ScreenArea area;
    };
    for (const Case& c : {Case{{6, 4}, {101, 71}, Area(6, 4, 101, 71)},
                          Case{{150, 111}, {59, 49}, Area(59, 49, 150, 111)}}) {
        Arm();
        Drag(c.from, {{c.from.x + 3, c.from.y + 2}, {c.to.x - 20, c.to.y + 9}, {70, 30}}, c.to);
        EXPECT_FALSE(main->RegionSelecting());
        EXPECT_FALSE(::IsIconic(main->hwnd()));
        EXPECT_FALSE(::IsZoomed(main->hwnd())) << "normal, not back to maximised";
        EXPECT_EQ(main->freeRectangle(), app::FreeRectangleState::Idle);
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
        EXPECT_NE(::GetCapture(), main->hwnd());
        EXPECT_FALSE(OverlayUp());
        // Exact pixels: neither the band, nor its label, nor the cover.
        ExpectBlocks(ClipboardPixels(), blocks, c.area);
        ExpectBlocks(ReadPixels(main->CurrentPicture().handle()), blocks, c.area);
    }
}

// Near where Windows keeps minimised windows (-32000): client coordinates of
// the screen no longer fit the 16 bits a mouse message carries them in.
TEST_F(FreeRectangleFlow, PressReachesAWindowParkedFarOffScreenUnwrapped) {
    Arm();
    ::SetWindowPos(main->hwnd(), nullptr, -32700, -32700, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    POINT origin{0, 0};
    ::ClientToScreen(main->hwnd(), &origin);
    ASSERT_LT(origin.x, -31000) << "the window did not move";
    ASSERT_GT(client.x + 6 - origin.x, 32767) << "the press would not wrap";
    ASSERT_GT(client.y + 4 - origin.y, 32767) << "the press would not wrap";
    Drag({6, 4}, {{50, 30}}, {101, 71});
    ExpectBlocks(ReadPixels(main->CurrentPicture().handle()), blocks, Area(6, 4, 101, 71));
}

TEST_F(FreeRectangleFlow, PressAndReleaseAtOnePointCapturesTheTinyBitmapAndAPressThereAgainDrags) {
    Arm();
    Drag({40, 40}, {}, {40, 40});
    EXPECT_FALSE(::IsIconic(main->hwnd()));
    EXPECT_EQ(main->freeRectangle(), app::FreeRectangleState::Idle);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(main->CurrentPicture().size(), (core::Size{1, 1}));
    // Armed again at once, a press on that same point is the system's double
    // click for the window, and still starts the drag.
    Arm();
    Drag({40, 40}, {{60, 50}}, {90, 70});
    ExpectBlocks(ReadPixels(main->CurrentPicture().handle()), blocks, Area(40, 40, 90, 70));
}

TEST_F(FreeRectangleFlow, ClipboardHeldTwoSecondsStillDeliversThePicture) {
    PutText(main->hwnd(), L"left alone");
    Arm();
    const ClipboardHolder holder(2000);
    ASSERT_TRUE(holder.opened());
    Drag({10, 10}, {{30, 20}}, {90, 70});
    ExpectBlocks(ReadPixels(main->CurrentPicture().handle()), blocks, Area(10, 10, 90, 70));
    ::Sleep(2100);
    EXPECT_EQ(ClipboardText(), L"left alone");
}

// However the press came in (through the capture it kept, or through the
// cover when the capture was taken away while armed), the drag holds the
// capture, and losing it ends the drag with nothing changed.
TEST_F(FreeRectangleFlow, CaptureLostDuringTheDragCancelsAndChangesNothing) {
    Arm();
    Drag({5, 5}, {}, {60, 50});  // a first picture, to see it survive
    const HBITMAP before = main->CurrentPicture().handle();
    ASSERT_TRUE(before);
    PutText(main->hwnd(), L"left alone");

    const HWND window = main->hwnd();
    struct Case {
        bool lostWhileArmed;
        bool sessionEnds;  // the session's end, not a lost capture, ends the drag
    };
    for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}}) {
        SCOPED_TRACE(c.sessionEnds       ? "session ends mid-drag"
                     : c.lostWhileArmed ? "press through the cover"
                                        : "press through the capture");
        Arm();
        if (c.lostWhileArmed) TakeCaptureAway(window);
        LRESULT mayEnd = TRUE;
        const POINT end{client.x + 80, client.y + 60};
        std::atomic<bool> done{false};
        HWND heldDuringDrag = nullptr;
        // From another thread, as the system does when something takes the
        // mouse away; the loop hears of it through the message it runs.
        std::thread canceller([&] {
            ::Sleep(600);
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            if (::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) {
                heldDuringDrag = info.hwndCapture;
            }
            if (c.sessionEnds) {
                mayEnd = ::SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
            } else {
                ::SendMessageW(window, WM_CANCELMODE, 0, 0);
            }
            for (int i = 0; i < 50 && !done; ++i) ::Sleep(100);
            if (!done) SendMouse(end, MOUSEEVENTF_LEFTUP);  // let a broken loop end
        });
        SendMouse({client.x + 20, client.y + 20}, MOUSEEVENTF_LEFTDOWN);
        SendMouse(end, 0);
        test::PumpMessages(4000, [&] { return !::IsIconic(window); });
        done = true;
        canceller.join();
        SendMouse(end, MOUSEEVENTF_LEFTUP);
        test::PumpMessages(100);

        EXPECT_EQ(heldDuringDrag, window);
        EXPECT_FALSE(main->RegionSelecting());
        EXPECT_FALSE(::IsIconic(window));
        EXPECT_EQ(main->freeRectangle(), app::FreeRectangleState::Idle);
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
        EXPECT_FALSE(OverlayUp());
        EXPECT_EQ(main->CurrentPicture().handle(), before);
        EXPECT_EQ(ClipboardText(), L"left alone");
        // The drag's cover would hide a question: the session waits unasked.
        if (c.sessionEnds) {
            EXPECT_EQ(mayEnd, FALSE);
        }
        EXPECT_TRUE(env.ui.messages.empty());
    }
}

TEST_F(FreeRectangleFlow, SessionEndWhileArmedTakesTheCoverAwayBeforeItAsks) {
    Arm();
    ASSERT_TRUE(OverlayUp());
    bool coverUp = true;
    bool minimised = true;
    env.ui.onMessage = [&] {
        coverUp = OverlayUp();
        minimised = ::IsIconic(main->hwnd()) != FALSE;
    };
    env.ui.answers = {IDCANCEL};
    EXPECT_EQ(::SendMessageW(main->hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    ASSERT_EQ(env.ui.messages.size(), 1u);
    EXPECT_FALSE(coverUp);
    EXPECT_FALSE(minimised);
    EXPECT_EQ(main->freeRectangle(), app::FreeRectangleState::Idle);
    EXPECT_NE(::GetCapture(), main->hwnd());
}

// Windows takes the capture away inside the minimise of the arming itself,
// or at any moment after; the cover still brings the press, and the drag
// captures what it framed.
TEST_F(FreeRectangleFlow, CaptureLostWhileArmingOrArmedStillCapturesTheDrag) {
    struct Case {
        bool duringMinimise;
        POINT from;
        POINT to;
        ScreenArea area;
    };
    for (const Case& c : {Case{true, {12, 8}, {97, 66}, Area(12, 8, 97, 66)},
                          Case{false, {130, 101}, {31, 17}, Area(31, 17, 130, 101)}}) {
        SCOPED_TRACE(c.duringMinimise ? "while minimising" : "once armed");
        if (c.duringMinimise) {
            const CaptureLostOnMinimise loss(main->hwnd());
            Arm();
            EXPECT_EQ(loss.fired(), 1);
        } else {
            Arm();
            TakeCaptureAway(main->hwnd());
            test::PumpMessages(50);
        }
        EXPECT_TRUE(main->RegionSelecting());
        EXPECT_NE(::GetCapture(), main->hwnd());
        EXPECT_TRUE(::IsIconic(main->hwnd()));
        ASSERT_TRUE(OverlayUp());

        Drag(c.from, {{60, 40}}, c.to);
        EXPECT_TRUE(test::FreeRectangleFinished(*main));
        EXPECT_FALSE(OverlayUp());
        ExpectBlocks(ClipboardPixels(), blocks, c.area);
        ExpectBlocks(ReadPixels(main->CurrentPicture().handle()), blocks, c.area);
    }
}

TEST_F(FreeRectangleFlow, AStrayReleaseWhileArmedLeavesArmed) {
    Arm();
    ASSERT_TRUE(main->RegionSelecting());
    // A release with no press of ours before it.
    ::SendMessageW(main->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    test::PumpMessages(50);
    EXPECT_FALSE(main->RegionSelecting());
    EXPECT_FALSE(::IsIconic(main->hwnd()));
    EXPECT_EQ(main->freeRectangle(), app::FreeRectangleState::Idle);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_NE(::GetCapture(), main->hwnd());
    EXPECT_FALSE(OverlayUp());

    // Nothing armed: a press does nothing, a release only resets the pointer.
    const HBITMAP before = main->CurrentPicture().handle();
    ::SendMessageW(main->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(main->freeRectangle(), app::FreeRectangleState::Idle);
    ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
    ::SendMessageW(main->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(main->CurrentPicture().handle(), before);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
}
