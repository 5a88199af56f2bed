// Printing, drawn first into an enhanced metafile (what reaches the device
// can be read back record by record), then on a real printer when the run
// has one (tests/print/test_print.sh sets up a CUPS PDF printer and checks
// the paper).
#include "document/print_picture.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "document/common_dialog.h"
#include "tests/win32/dialog_driver.h"
#include "tests/win32/document_test_support.h"

namespace grabwell::document {
namespace {

// What one StretchDIBits call put in a metafile.
struct Stretch {
    RECT dest{};  // left, top, width, height
    SIZE source{};
    std::vector<BYTE> info;
    std::vector<BYTE> bits;
};

int CALLBACK CollectStretches(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM out) {
    if (record->iType != EMR_STRETCHDIBITS) return 1;
    const auto* s = reinterpret_cast<const EMRSTRETCHDIBITS*>(record);
    const auto* base = reinterpret_cast<const BYTE*>(record);
    Stretch stretch;
    stretch.dest = {s->xDest, s->yDest, s->cxDest, s->cyDest};
    stretch.source = {s->cxSrc, s->cySrc};
    stretch.info.assign(base + s->offBmiSrc, base + s->offBmiSrc + s->cbBmiSrc);
    stretch.bits.assign(base + s->offBitsSrc, base + s->offBitsSrc + s->cbBitsSrc);
    reinterpret_cast<std::vector<Stretch>*>(out)->push_back(std::move(stretch));
    return 1;
}

// A metafile whose page is the screen's: same resolution, screen-sized.
class MetafilePage {
public:
    MetafilePage()
        : screen_(::GetDC(nullptr)),
          dc_(::CreateEnhMetaFileW(screen_, nullptr, nullptr, nullptr)) {}
    ~MetafilePage() {
        if (dc_) ::DeleteEnhMetaFile(::CloseEnhMetaFile(dc_));
        ::ReleaseDC(nullptr, screen_);
    }
    HDC dc() const { return dc_; }
    SIZE area() const { return {::GetDeviceCaps(dc_, HORZRES), ::GetDeviceCaps(dc_, VERTRES)}; }

    std::vector<Stretch> Finish() {
        HENHMETAFILE file = ::CloseEnhMetaFile(dc_);
        dc_ = nullptr;
        std::vector<Stretch> found;
        ::EnumEnhMetaFile(nullptr, file, CollectStretches, &found, nullptr);
        ::DeleteEnhMetaFile(file);
        return found;
    }

private:
    HDC screen_;
    HDC dc_;
};

COLORREF PixelOf(const Stretch& s, int x, int y) {
    BITMAPINFOHEADER header{};
    std::memcpy(&header, s.info.data(), sizeof(header));
    const int stride = (header.biWidth * header.biBitCount / 8 + 3) & ~3;
    const int row = header.biHeight > 0 ? header.biHeight - 1 - y : y;
    const BYTE* p = s.bits.data() + static_cast<std::size_t>(row) * stride + x * 3;
    return RGB(p[2], p[1], p[0]);
}

TEST(PrintPictureTest, SmallPictureKeepsItsScreenSizeAndIsCentred) {
    MetafilePage page;
    const SIZE area = page.area();
    ASSERT_TRUE(DrawPictureOnPage(page.dc(), testing::PatternPicture(200, 100)));
    const std::vector<Stretch> drawn = page.Finish();
    ASSERT_EQ(drawn.size(), 1u);
    const Stretch& s = drawn[0];
    EXPECT_EQ(s.dest.right, 200);
    EXPECT_EQ(s.dest.bottom, 100);
    EXPECT_EQ(s.dest.left, (area.cx - 200) / 2);
    EXPECT_EQ(s.dest.top, (area.cy - 100) / 2);
    EXPECT_EQ(s.source.cx, 200);
    EXPECT_EQ(s.source.cy, 100);

    // The whole picture, right way up and unshifted.
    const POINT probes[] = {{0, 0}, {199, 0}, {0, 99}, {123, 45}, {199, 99}};
    for (const POINT p : probes) {
        EXPECT_EQ(PixelOf(s, p.x, p.y), testing::PatternColour(p.x, p.y)) << p.x << "," << p.y;
    }
}

TEST(PrintPictureTest, LargerThanThePageShrinksKeepingItsShape) {
    MetafilePage page;
    const SIZE area = page.area();
    ASSERT_TRUE(DrawPictureOnPage(page.dc(), testing::PatternPicture(area.cx * 2, area.cy / 2)));
    const std::vector<Stretch> drawn = page.Finish();
    ASSERT_EQ(drawn.size(), 1u);
    const RECT d = drawn[0].dest;
    EXPECT_EQ(d.left, 0);
    EXPECT_EQ(d.right, area.cx);
    EXPECT_NEAR(d.bottom, area.cy / 4, 1);
    EXPECT_NEAR(d.top, (area.cy - d.bottom) / 2, 1);
    EXPECT_EQ(drawn[0].source.cx, area.cx * 2);
}

TEST(PrintPictureTest, NothingToPrintDrawsNothing) {
    MetafilePage page;
    EXPECT_FALSE(DrawPictureOnPage(page.dc(), capture::Picture()));
    EXPECT_FALSE(DrawPictureOnPage(nullptr, testing::PatternPicture(4, 4)));
    EXPECT_FALSE(PrintPicture(nullptr, testing::PatternPicture(4, 4)));
    EXPECT_TRUE(page.Finish().empty());
}

// Four solid quadrants: easy to find on paper, and any flip or stretch
// shows.
capture::Picture QuadrantPicture(int width, int height) {
    const capture::Picture picture = testing::PatternPicture(width, height);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, picture.handle());
    const COLORREF colours[4] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255), RGB(0, 0, 0)};
    for (int q = 0; q < 4; ++q) {
        const RECT r{(q % 2) * width / 2, (q / 2) * height / 2, (q % 2 + 1) * width / 2,
                     (q / 2 + 1) * height / 2};
        HBRUSH brush = ::CreateSolidBrush(colours[q]);
        ::FillRect(memory, &r, brush);
        ::DeleteObject(brush);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return picture;
}

// Asks the print dialog for the default printer without showing it.
bool HavePrinter() {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT;
    const bool found = ::PrintDlgW(&pd) != FALSE;
    if (pd.hDevMode) ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames) ::GlobalFree(pd.hDevNames);
    return found;
}

// Through the print dialog to the default printer. Writes what the printer
// DC says about its paper to $GRABWELL_PRINT_REPORT for the script that then
// reads the printed page.
TEST(PrintPictureOnPrinterTest, PrintsThroughTheDialog) {
    if (!HavePrinter()) GTEST_SKIP() << "no printer here; tests/print/test_print.sh provides one";
    CommonDialog dialog;
    auto ok = testing::PressDialogButton(IDOK);
    const std::optional<PrinterChoice> choice = dialog.ShowPrinter(nullptr);
    EXPECT_TRUE(ok.get().done);
    ASSERT_TRUE(choice);
    const HDC dc = choice->dc.get();
    EXPECT_EQ(::GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
    EXPECT_TRUE(PrintPicture(dc, QuadrantPicture(300, 200)));

    wchar_t report[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"GRABWELL_PRINT_REPORT", report, MAX_PATH)) {
        HDC screen = ::GetDC(nullptr);
        std::ofstream out(report);
        out << "screen_dpi " << ::GetDeviceCaps(screen, LOGPIXELSX) << ' '
            << ::GetDeviceCaps(screen, LOGPIXELSY) << '\n'
            << "printer_dpi " << ::GetDeviceCaps(dc, LOGPIXELSX) << ' '
            << ::GetDeviceCaps(dc, LOGPIXELSY) << '\n'
            << "paper " << ::GetDeviceCaps(dc, PHYSICALWIDTH) << ' '
            << ::GetDeviceCaps(dc, PHYSICALHEIGHT) << '\n'
            << "offset " << ::GetDeviceCaps(dc, PHYSICALOFFSETX) << ' '
            << ::GetDeviceCaps(dc, PHYSICALOFFSETY) << '\n'
            << "printable " << ::GetDeviceCaps(dc, HORZRES) << ' ' << ::GetDeviceCaps(dc, VERTRES)
            << '\n'
            << "picture 300 200\n";
        ::ReleaseDC(nullptr, screen);
    }
}

TEST(PrintPictureOnPrinterTest, CancelledPrintDialogGivesNoPrinter) {
    if (!HavePrinter()) GTEST_SKIP() << "no printer here; tests/print/test_print.sh provides one";
    CommonDialog dialog;
    auto cancel = testing::CancelDialog();
    EXPECT_FALSE(dialog.ShowPrinter(nullptr));
    EXPECT_TRUE(cancel.get().done);
}

TEST(PrintPictureOnPrinterTest, WithoutAPrinterTheDialogSaysSoAndGivesNone) {
    if (HavePrinter()) GTEST_SKIP() << "a printer is installed";
    CommonDialog dialog;
    auto ok = testing::PressDialogButton(IDOK);
    EXPECT_FALSE(dialog.ShowPrinter(nullptr));
    const testing::DialogSeen seen = ok.get();
    EXPECT_TRUE(seen.done);
    EXPECT_FALSE(seen.text.empty());  // "... you need to install a printer ..."
}

}  // namespace
}  // namespace grabwell::document
