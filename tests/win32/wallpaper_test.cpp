// Wallpaper through the real system call: what the system then reports,
// what the user's profile holds, and what is on disk.
#include "document/wallpaper.h"

#include <gtest/gtest.h>

#include "capture/picture_file.h"
#include "tests/win32/document_test_support.h"

namespace grabwell::document {
namespace {

using testing::TempFolder;

std::wstring Lower(std::wstring text) {
    ::CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring SystemWallpaper() {
    wchar_t path[MAX_PATH + 1] = {};
    ::SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return Lower(path);
}

std::wstring ProfileWallpaper() {
    wchar_t value[MAX_PATH + 1] = {};
    DWORD bytes = sizeof(value);
    if (::RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ,
                       nullptr, value, &bytes) != ERROR_SUCCESS) {
        return L"<none>";
    }
    return Lower(value);
}

core::Size PictureSizeIn(const std::wstring& path) {
    return capture::LoadPictureFile(path).size();
}

class WallpaperTest : public ::testing::Test {
protected:
    void SetUp() override { before_ = SystemWallpaper(); }
    void TearDown() override {
        ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, before_.data(), SPIF_UPDATEINIFILE);
    }

    TempFolder temp_;
    std::wstring before_;
};

TEST_F(WallpaperTest, PictureBecomesTheWallpaperAndClearingKeepsTheFile) {
    const std::wstring file = temp_ / L"wallpaper.bmp";
    SetWallpaper(testing::PatternPicture(64, 48), file);
    EXPECT_EQ(SystemWallpaper(), Lower(file));
    EXPECT_EQ(ProfileWallpaper(), Lower(file));
    EXPECT_EQ(PictureSizeIn(file), (core::Size{64, 48}));

    // Each use overwrites the same file.
    SetWallpaper(testing::PatternPicture(20, 10), file);
    EXPECT_EQ(SystemWallpaper(), Lower(file));
    EXPECT_EQ(PictureSizeIn(file), (core::Size{20, 10}));

    ClearWallpaper();
    EXPECT_EQ(SystemWallpaper(), L"");
    EXPECT_EQ(ProfileWallpaper(), L"");
    EXPECT_EQ(PictureSizeIn(file), (core::Size{20, 10}));
}

TEST_F(WallpaperTest, DefaultFileIsInTheWindowsFolder) {
    SetWallpaper(testing::PatternPicture(33, 22));
    const std::wstring shown = SystemWallpaper();
    // Wine lets anyone write the Windows folder; Windows may send a standard
    // user to the fallback.
    EXPECT_TRUE(shown == Lower(kWallpaperFile) || shown == Lower(FallbackWallpaperFile())) << shown;
    EXPECT_EQ(PictureSizeIn(shown), (core::Size{33, 22}));
    ::DeleteFileW(shown.c_str());
}

TEST_F(WallpaperTest, UnwritableFixedFileFallsBackToTheUsersOwnFolder) {
    const std::wstring fallback = FallbackWallpaperFile();
    ASSERT_FALSE(fallback.empty());
    // A folder where the file should be. (A read-only file is no obstacle
    // under Wine, which replaces it anyway.)
    const std::wstring folderInTheWay = temp_ / L"wallpaper.bmp";
    ASSERT_TRUE(::CreateDirectoryW(folderInTheWay.c_str(), nullptr));

    for (const std::wstring& fixed : {temp_ / L"missing\\wallpaper.bmp", folderInTheWay}) {
        SCOPED_TRACE(testing::Utf8ForTrace(fixed));
        ::DeleteFileW(fallback.c_str());
        SetWallpaper(testing::PatternPicture(30, 40), fixed);
        EXPECT_EQ(SystemWallpaper(), Lower(fallback));
        EXPECT_EQ(ProfileWallpaper(), Lower(fallback));
        EXPECT_EQ(PictureSizeIn(fallback), (core::Size{30, 40}));
    }
    ::DeleteFileW(fallback.c_str());
    ::RemoveDirectoryW(fallback.substr(0, fallback.rfind(L'\\')).c_str());
}

TEST_F(WallpaperTest, NoPictureNamesTheFixedFileAndWritesNothing) {
    const std::wstring file = temp_ / L"wallpaper.bmp";
    SetWallpaper(capture::Picture(), file);
    EXPECT_EQ(ProfileWallpaper(), Lower(file));
    EXPECT_FALSE(testing::FileExists(file));
}

}  // namespace
}  // namespace grabwell::document
