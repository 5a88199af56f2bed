// The clipboard round trip, a clipboard another thread holds for a while,
// and a capture that must survive a clipboard that never opens.
#include <gtest/gtest.h>

#include "capture/picture_clipboard.h"
#include "platform/clipboard.h"
#include "tests/win32/capture_test_support.h"
#include "tests/win32/document_test_support.h"
#include "tests/win32/process_gauges.h"

namespace capture = grabwell::capture;
namespace core = grabwell::core;
namespace platform = grabwell::platform;
namespace support = grabwell::testing;
using capture::Picture;
using support::ClipboardHolder;
using support::ReadPixels;

namespace {

platform::unique_hbitmap PatternBitmap(int width, int height) {
    return capture::DuplicateBitmap(support::PatternPicture(width, height).handle());
}

class ClipboardTest : public ::testing::Test {
protected:
    support::BlockWindow owner;
};

}  // namespace

TEST_F(ClipboardTest, PutAndReadBackGivesEqualPixelsAndTheClipboardKeepsItsOwn) {
    platform::unique_hbitmap bitmap = PatternBitmap(45, 17);
    const support::Pixels expected = ReadPixels(bitmap.get());
    ASSERT_EQ(expected.width, 45);
    ASSERT_TRUE(capture::PutBitmapOnClipboard(owner.hwnd(), bitmap));
    EXPECT_FALSE(bitmap) << "handed over to the clipboard";

    const Picture picture = capture::PictureFromClipboard(owner.hwnd());
    ASSERT_FALSE(picture.empty());
    EXPECT_EQ(ReadPixels(picture.handle()), expected);

    // Ours is a copy: the clipboard's bitmap is still there and still whole.
    platform::ClipboardSession session(owner.hwnd());
    ASSERT_TRUE(session);
    const auto held = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    ASSERT_NE(held, nullptr);
    EXPECT_NE(held, picture.handle());
    EXPECT_EQ(ReadPixels(held), expected);
}

TEST_F(ClipboardTest, AClipboardPaletteComesAlongAsACopy) {
    struct {
        WORD version = 0x300, count = 2;
        PALETTEENTRY entries[2] = {{10, 20, 30, 0}, {200, 100, 50, 0}};
    } log;
    platform::unique_hbitmap bitmap = PatternBitmap(6, 4);
    {
        platform::ClipboardSession session(owner.hwnd());
        ASSERT_TRUE(session && ::EmptyClipboard());
        ASSERT_NE(::SetClipboardData(CF_BITMAP, bitmap.release()), nullptr);
        ASSERT_NE(::SetClipboardData(CF_PALETTE,
                                     ::CreatePalette(reinterpret_cast<LOGPALETTE*>(&log))),
                  nullptr);
    }
    const Picture picture = capture::PictureFromClipboard(owner.hwnd());
    ASSERT_NE(picture.palette(), nullptr);
    PALETTEENTRY copied[2] = {};
    ASSERT_EQ(::GetPaletteEntries(picture.palette(), 0, 2, copied), 2u);
    EXPECT_EQ(copied[1].peRed, 200);
    EXPECT_EQ(copied[1].peBlue, 50);
    platform::ClipboardSession session(owner.hwnd());
    EXPECT_NE(::GetClipboardData(CF_PALETTE), picture.palette());
}

TEST_F(ClipboardTest, ReadingWaitsForAnotherHolderToLetGo) {
    platform::unique_hbitmap bitmap = PatternBitmap(12, 9);
    ASSERT_TRUE(capture::PutBitmapOnClipboard(owner.hwnd(), bitmap));
    const ClipboardHolder holder(300);
    ASSERT_TRUE(holder.opened());
    EXPECT_FALSE(platform::ClipboardSession(owner.hwnd(), 1)) << "really held";
    const Picture picture = capture::PictureFromClipboard(owner.hwnd());
    EXPECT_EQ(picture.size(), (core::Size{12, 9}));
}

TEST_F(ClipboardTest, AClipboardThatStaysLockedKeepsTheCaptureWithTheCaller) {
    platform::unique_hbitmap bitmap = PatternBitmap(8, 8);
    const HBITMAP handle = bitmap.get();
    const grabwell::test::HandleSnapshot before = grabwell::test::HandleSnapshot::Now();
    {
        const ClipboardHolder holder(1500);  // longer than all the retries
        ASSERT_TRUE(holder.opened());
        EXPECT_FALSE(capture::PutBitmapOnClipboard(owner.hwnd(), bitmap));
        EXPECT_TRUE(capture::PictureFromClipboard(owner.hwnd()).empty());
    }
    ASSERT_EQ(bitmap.get(), handle);
    EXPECT_EQ(ReadPixels(handle).width, 8) << "still a live bitmap";
    EXPECT_EQ(grabwell::test::HandleSnapshot::Now(), before);
    // And once the clipboard is free the same bitmap goes on.
    EXPECT_TRUE(capture::PutBitmapOnClipboard(owner.hwnd(), bitmap));
}

TEST_F(ClipboardTest, NoBitmapOnTheClipboardGivesAnEmptyPicture) {
    {
        platform::ClipboardSession session(owner.hwnd());
        ASSERT_TRUE(session);
        ASSERT_TRUE(::EmptyClipboard());
        HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(wchar_t));
        *static_cast<wchar_t*>(::GlobalLock(text)) = L'\0';
        ::GlobalUnlock(text);
        ASSERT_NE(::SetClipboardData(CF_UNICODETEXT, text), nullptr);
    }
    EXPECT_TRUE(capture::PictureFromClipboard(owner.hwnd()).empty());
}
