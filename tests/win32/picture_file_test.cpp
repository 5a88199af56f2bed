// Saving and loading pictures: bit-exact BMP round trips, JPEGs made here
// with the platform's encoder, malformed files, and saves that must fail
// without touching what is already on disk.
#include <gtest/gtest.h>

#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

#include "capture/copy_window_area.h"
#include "capture/picture_file.h"
#include "platform/com.h"
#include "tests/shared/image_files.h"
#include "tests/win32/capture_test_support.h"
#include "tests/win32/document_test_support.h"

namespace capture = grabwell::capture;
namespace core = grabwell::core;
namespace platform = grabwell::platform;
namespace support = grabwell::testing;
using capture::LoadPictureFile;
using capture::Picture;
using capture::SavePictureFile;
using support::ReadBytes;
using support::ReadPixels;
using support::WriteBytes;

namespace {

std::set<std::wstring> FilesIn(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

// Blocks of flat colour that survive JPEG compression within a few levels.
COLORREF JpegBlock(int x, int y) {
    static constexpr COLORREF kColours[] = {RGB(220, 30, 30), RGB(30, 200, 40),
                                            RGB(40, 40, 210), RGB(240, 240, 240)};
    return kColours[((x / 32) + 2 * (y / 32)) % 4];
}

// A baseline JPEG from WIC's own encoder.
std::string EncodeJpeg(int width, int height) {
    platform::ComInit com;
    platform::ComPtr<IWICImagingFactory> factory;
    platform::ComPtr<IWICStream> stream;
    platform::ComPtr<IStream> memory;
    platform::ComPtr<IWICBitmapEncoder> encoder;
    platform::ComPtr<IWICBitmapFrameEncode> frame;
    platform::ComPtr<IPropertyBag2> options;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory))) ||
        FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &memory)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(memory.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &options)) ||
        FAILED(frame->Initialize(options.Get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)))) {
        return {};
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return {};
    const UINT stride = static_cast<UINT>(width) * 3;
    std::vector<BYTE> row(stride);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = JpegBlock(x, y);
            row[static_cast<std::size_t>(x) * 3] = GetBValue(c);
            row[static_cast<std::size_t>(x) * 3 + 1] = GetGValue(c);
            row[static_cast<std::size_t>(x) * 3 + 2] = GetRValue(c);
        }
        if (FAILED(frame->WritePixels(1, stride, stride, row.data()))) return {};
    }
    if (FAILED(frame->Commit()) || FAILED(encoder->Commit())) return {};
    HGLOBAL global = nullptr;
    if (FAILED(::GetHGlobalFromStream(memory.Get(), &global))) return {};
    STATSTG stat{};
    memory->Stat(&stat, STATFLAG_NONAME);
    const auto* data = static_cast<const char*>(::GlobalLock(global));
    std::string bytes(data, static_cast<std::size_t>(stat.cbSize.QuadPart));
    ::GlobalUnlock(global);
    return bytes;
}

// Offset of the first start-of-frame marker's height field.
std::size_t FrameSizeOffset(const std::string& jpeg) {
    for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF &&
            static_cast<unsigned char>(jpeg[i + 1]) == 0xC0) {
            return i + 5;
        }
    }
    return 0;
}

class PictureFileTest : public ::testing::Test {
protected:
    support::TempFolder folder;
    std::wstring Path(const wchar_t* name) const { return folder / name; }
};

}  // namespace

TEST_F(PictureFileTest, BmpRoundTripIsBitExactWithPaddedTwentyFourBitRows) {
    if (support::PaletteScreen()) GTEST_SKIP() << "exact colours need a true-colour display";
    const Picture original = support::PatternPicture(37, 23);  // 111-byte rows pad to 112
    ASSERT_FALSE(original.empty());
    for (const wchar_t* name : {L"plain.bmp", L"named.jpg"}) {
        const std::wstring path = Path(name);
        ASSERT_TRUE(SavePictureFile(original, path));
        const auto bytes = ReadBytes(path);
        ASSERT_TRUE(bytes);
        const auto parsed = support::ParseBmpHeaders(*bytes);
        ASSERT_TRUE(parsed) << "a \".jpg\" name still gets a bitmap";
        const support::BmpFileHeaders& h = *parsed;
        EXPECT_EQ(h.file.bfOffBits, 54u);
        EXPECT_EQ(h.file.bfSize, 54u + 112 * 23);
        EXPECT_EQ(bytes->size(), h.file.bfSize);
        EXPECT_EQ(h.info.biBitCount, 24);
        EXPECT_EQ(h.info.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(h.info.biWidth, 37);
        EXPECT_EQ(h.info.biHeight, 23);  // bottom-up
        EXPECT_EQ(h.info.biSizeImage, 112u * 23);
        // The first stored row is the picture's bottom row.
        const COLORREF corner = support::PatternColour(0, 22);
        EXPECT_EQ(static_cast<unsigned char>((*bytes)[54]), GetBValue(corner));
        EXPECT_EQ(static_cast<unsigned char>((*bytes)[56]), GetRValue(corner));

        const Picture loaded = LoadPictureFile(path);
        ASSERT_FALSE(loaded.empty()) << "the program must open its own output";
        EXPECT_EQ(loaded.size(), original.size());
        EXPECT_EQ(ReadPixels(loaded.handle()), ReadPixels(original.handle()));
    }
}

TEST_F(PictureFileTest, PalettePicturesAreSavedWithEightBitsAndTheirColourTable) {
    support::BlockWindow window;
    const Picture picture = capture::CopyWindowArea(
        window.hwnd(), true, 0, 0, 33, 20, capture::SystemPalette::Always);
    ASSERT_NE(picture.palette(), nullptr);
    const std::wstring path = Path(L"indexed.bmp");
    ASSERT_TRUE(SavePictureFile(picture, path));
    const auto bytes = ReadBytes(path);
    ASSERT_TRUE(bytes);
    const auto parsed = support::ParseBmpHeaders(*bytes);
    ASSERT_TRUE(parsed);
    const support::BmpFileHeaders& h = *parsed;
    EXPECT_EQ(h.info.biBitCount, 8);
    EXPECT_EQ(h.info.biClrUsed, 256u);
    EXPECT_EQ(h.file.bfOffBits, 54u + 256 * 4);
    EXPECT_EQ(bytes->size(), 54u + 1024 + 36 * 20);  // 33 bytes pad to 36
    const Picture loaded = LoadPictureFile(path);
    EXPECT_EQ(loaded.size(), (core::Size{33, 20}));
}

TEST_F(PictureFileTest, JpegsLoadByContentWhateverTheirName) {
    if (support::PaletteScreen()) GTEST_SKIP() << "exact colours need a true-colour display";
    const std::string jpeg = EncodeJpeg(160, 96);
    ASSERT_GT(jpeg.size(), 200u) << "WIC's JPEG encoder";
    for (const wchar_t* name : {L"photo.jpg", L"photo-really.bmp"}) {
        ASSERT_TRUE(WriteBytes(Path(name), jpeg));
        const Picture loaded = LoadPictureFile(Path(name));
        ASSERT_FALSE(loaded.empty()) << name;
        ASSERT_EQ(loaded.size(), (core::Size{160, 96}));
        const support::Pixels pixels = ReadPixels(loaded.handle());
        int offColour = 0;
        for (int y = 16; y < 96; y += 32) {  // block centres, away from ringing edges
            for (int x = 16; x < 160; x += 32) {
                const COLORREF want = JpegBlock(x, y);
                const std::uint32_t got = pixels.at(x, y);
                const int dr = static_cast<int>(got >> 16 & 0xFF) - GetRValue(want);
                const int dg = static_cast<int>(got >> 8 & 0xFF) - GetGValue(want);
                const int db = static_cast<int>(got & 0xFF) - GetBValue(want);
                if (std::abs(dr) > 12 || std::abs(dg) > 12 || std::abs(db) > 12) ++offColour;
            }
        }
        EXPECT_EQ(offColour, 0) << name;
    }
}

// Opened pictures keep the depth they were decoded at (8-bit grey, 24-bit
// colour JPEG, 32 bits from GDI's BMP reader): saving each and opening the
// file again must give the same pixels, as printing reads them the same way.
TEST_F(PictureFileTest, OpenedPicturesOfEveryDepthSaveAsTheyAre) {
    if (support::PaletteScreen()) GTEST_SKIP() << "exact colours need a true-colour display";
    const grabwell::test::Bytes grey = grabwell::test::MakeGreyJpeg(20, 12).bytes;
    const grabwell::test::Bytes bitfields = grabwell::test::MakeBmp(
        grabwell::test::BmpFields().Bits(16).Compression(3).Masks(0x001F, 0x07E0, 0xF800));
    const std::pair<const wchar_t*, std::string> files[] = {
        {L"grey.jpg", std::string(grey.begin(), grey.end())},
        {L"colour.jpg", EncodeJpeg(40, 24)},
        {L"bitfields.bmp", std::string(bitfields.begin(), bitfields.end())},
    };
    for (const auto& [name, bytes] : files) {
        ASSERT_TRUE(WriteBytes(Path(name), bytes));
        const Picture opened = LoadPictureFile(Path(name));
        ASSERT_FALSE(opened.empty()) << name;
        ASSERT_TRUE(SavePictureFile(opened, Path(L"saved.bmp"))) << name;
        const Picture again = LoadPictureFile(Path(L"saved.bmp"));
        ASSERT_EQ(again.size(), opened.size()) << name;
        EXPECT_EQ(ReadPixels(again.handle()).data, ReadPixels(opened.handle()).data) << name;
    }
}

TEST_F(PictureFileTest, MalformedFilesGiveAnEmptyPicture) {
    const std::string jpeg = EncodeJpeg(64, 64);
    const Picture source = support::PatternPicture(40, 30);
    ASSERT_TRUE(SavePictureFile(source, Path(L"good.bmp")));
    const std::string bmp = *ReadBytes(Path(L"good.bmp"));
    const std::size_t sof = FrameSizeOffset(jpeg);
    ASSERT_NE(sof, 0u);

    std::string hugeJpeg = jpeg;  // 65535 x 65535, the most a frame header can say
    hugeJpeg.replace(sof, 4, "\xFF\xFF\xFF\xFF", 4);
    std::string hugeBmp = bmp;    // 70000 x 70000
    const std::int32_t side = 70000;
    std::memcpy(hugeBmp.data() + 18, &side, 4);
    std::memcpy(hugeBmp.data() + 22, &side, 4);
    std::string badMagic = bmp;
    badMagic[0] = 'X';
    std::string wrongBmpSize = bmp;  // header and pixel data disagree
    const std::int32_t taller = 31;
    std::memcpy(wrongBmpSize.data() + 22, &taller, 4);

    const std::pair<const wchar_t*, std::string> cases[] = {
        {L"empty.bmp", ""},
        {L"cut.bmp", bmp.substr(0, bmp.size() / 2)},
        {L"cut-header.bmp", bmp.substr(0, 20)},
        {L"cut.jpg", jpeg.substr(0, jpeg.size() / 2)},
        {L"cut-at-frame.jpg", jpeg.substr(0, sof + 2)},
        {L"huge.jpg", hugeJpeg},
        {L"huge.bmp", hugeBmp},
        {L"magic.bmp", badMagic},
        {L"taller.bmp", wrongBmpSize},
        {L"text.jpg", "this is not a picture at all"},
    };
    for (const auto& [name, bytes] : cases) {
        ASSERT_TRUE(WriteBytes(Path(name), bytes));
        EXPECT_TRUE(LoadPictureFile(Path(name)).empty()) << name;
    }
    EXPECT_TRUE(LoadPictureFile(Path(L"missing.bmp")).empty());
    EXPECT_TRUE(LoadPictureFile(folder.path()).empty()) << "a folder";
}

TEST_F(PictureFileTest, SavingReplacesTheTargetAndLeavesNoTemporary) {
    const std::wstring path = Path(L"shot.bmp");
    ASSERT_TRUE(WriteBytes(path, "older contents"));
    const Picture picture = support::PatternPicture(20, 10);
    ASSERT_TRUE(SavePictureFile(picture, path));
    EXPECT_EQ(ReadBytes(path)->size(), 54u + 60 * 10);
    EXPECT_EQ(FilesIn(folder.path()), std::set<std::wstring>{L"shot.bmp"});
}

TEST_F(PictureFileTest, TargetsJustUnderThePathLimitsAreSaved) {
    // A file name of the most characters a folder entry may have, then a
    // folder as deep as a folder may be with names that bring the whole
    // path to MAX_PATH - 1, the longest a program may use without long-path
    // support, and one of a single letter. The first limit is the one Wine
    // holds to as Windows does; the second only Windows enforces.
    std::wstring deep = folder.path();
    while (deep.size() < MAX_PATH - 12 - 1) {
        deep += L"\\" + std::wstring(std::min<std::size_t>(40, MAX_PATH - 12 - 1 - deep.size()), L'd');
        ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr)) << deep.size();
    }
    const std::size_t nameLength = MAX_PATH - 1 - deep.size() - 1;
    ASSERT_GE(nameLength, 5u);
    const std::pair<std::wstring, std::wstring> targets[] = {
        {folder.path(), std::wstring(255 - 4, L's') + L".bmp"},
        {deep, std::wstring(nameLength - 4, L's') + L".bmp"},
        {deep, L"s"},
    };
    const Picture picture = support::PatternPicture(20, 10);
    for (const auto& [in, name] : targets) {
        const std::wstring target = in + L"\\" + name;
        SCOPED_TRACE(testing::Message() << name.size() << " in " << target.size());
        ASSERT_TRUE(SavePictureFile(picture, target));
        ASSERT_TRUE(SavePictureFile(picture, target)) << "replacing it";
        EXPECT_EQ(ReadBytes(target)->size(), 54u + 60 * 10);
        EXPECT_EQ(FilesIn(in), std::set<std::wstring>{name}) << "nothing else left behind";
        ::DeleteFileW(target.c_str());
    }
}

TEST_F(PictureFileTest, FailedSavesLeaveTheOldFileIntactAndNoTemporary) {
    const Picture picture = support::PatternPicture(20, 10);
    const std::string old = "the previous picture, byte for byte";

    const std::wstring locked = Path(L"locked.bmp");
    ASSERT_TRUE(WriteBytes(locked, old));
    ASSERT_TRUE(::SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SavePictureFile(picture, locked));
    EXPECT_EQ(ReadBytes(locked), old);
    ::SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Held open without sharing by another program.
    const std::wstring busy = Path(L"busy.bmp");
    ASSERT_TRUE(WriteBytes(busy, old));
    HANDLE holder = ::CreateFileW(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(SavePictureFile(picture, busy));
    ::CloseHandle(holder);
    EXPECT_EQ(ReadBytes(busy), old);

    EXPECT_FALSE(SavePictureFile(picture, Path(L"no-such-folder\\shot.bmp")));
    EXPECT_FALSE(SavePictureFile(Picture{}, Path(L"empty.bmp")));
    EXPECT_FALSE(support::FileExists(Path(L"empty.bmp")));
    EXPECT_EQ(FilesIn(folder.path()), (std::set<std::wstring>{L"busy.bmp", L"locked.bmp"}));
}
