#include "core/image_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "tests/shared/image_files.h"

namespace grabwell::core {
namespace {

using test::Bytes;
using test::BmpFileSize;
using test::BmpHeaders;
using test::MakeBmp;
using Bmp = test::BmpFields;

HeaderCheck Check(const Bmp& bmp) { return ValidateImageHeader(MakeBmp(bmp)); }
HeaderError ErrorOf(const Bmp& bmp) { return Check(bmp).error; }

// Byte by byte: GCC 12 at -O2 mistakes vector::insert of small buffers for
// an out-of-bounds copy.
void Append(Bytes& out, const Bytes& more) {
    for (std::uint8_t b : more) out.push_back(b);
}

Bytes Segment(std::uint8_t marker, const Bytes& body) {
    const std::size_t length = body.size() + 2;
    Bytes out{0xFF, marker, static_cast<std::uint8_t>(length >> 8),
              static_cast<std::uint8_t>(length)};
    Append(out, body);
    return out;
}

Bytes Frame(unsigned width, unsigned height, std::uint8_t marker = 0xC0,
            std::uint8_t components = 3) {
    Bytes body{8, static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
               static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width),
               components};
    for (int i = 0; i < components; ++i) Append(body, {1, 0x11, 0});
    return Segment(marker, body);
}

const Bytes kApp0 = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 2, 0, 0, 1, 0, 1, 0, 0});
const Bytes kScan = {0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 0x3F, 0, 0x12, 0x34, 0xFF, 0xD9};

Bytes Jpeg(std::initializer_list<Bytes> parts) {
    Bytes out{0xFF, 0xD8};
    for (const Bytes& part : parts) Append(out, part);
    return out;
}

Bytes Png(std::uint32_t width, std::uint32_t height) {
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t v : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
    Append(out, {8, 6, 0, 0, 0, 0xDE, 0xAD, 0xBE, 0xEF});
    return out;
}

TEST(ImageHeader, AcceptsValidBitmaps) {
    const HeaderCheck rgb = Check(Bmp());
    EXPECT_TRUE(rgb.ok());
    EXPECT_EQ(rgb.info.format, ImageFormat::Bmp);
    EXPECT_EQ(rgb.info.width, 5);
    EXPECT_EQ(rgb.info.height, 3);

    for (const Bmp& ok : {Bmp().Bits(8), Bmp().Bits(8).Colors(16), Bmp().Bits(1),
                          Bmp().Info(12).Bits(8), Bmp().Info(12).Bits(24),
                          Bmp().Bits(32).Compression(3), Bmp().Info(124).Bits(32).Compression(3),
                          Bmp().Info(108).Bits(16).Compression(3), Bmp().Bits(4).Compression(2)}) {
        EXPECT_TRUE(Check(ok).ok()) << ok.infoSize << " " << ok.bits << " " << ok.compression;
    }
    Bmp rle = Bmp().Bits(8).Compression(1).ImageSize(40);
    rle.pixelBytes = 40;
    EXPECT_TRUE(Check(rle).ok());

    // Any contiguous, disjoint fields, after a 40-byte header or inside a
    // longer one; the DIB handed on has them and the parts' places.
    const HeaderCheck reversed = Check(Bmp().Bits(32).Compression(3).Masks(0xFF, 0xFF00, 0xFF0000));
    ASSERT_TRUE(reversed.ok());
    EXPECT_EQ(reversed.bmp.masks[0], 0xFFu);
    EXPECT_EQ(reversed.bmp.masks[2], 0xFF0000u);
    EXPECT_EQ(reversed.bmp.pixelOffset, 14u + 40 + 12);
    EXPECT_EQ(reversed.bmp.pixelBytes, 5u * 4 * 3);
    const HeaderCheck tenBits =
        Check(Bmp().Info(124).Bits(32).Compression(3).Masks(0x3FF00000, 0xFFC00, 0x3FF));
    ASSERT_TRUE(tenBits.ok());
    EXPECT_EQ(tenBits.bmp.masks[1], 0xFFC00u);
    EXPECT_TRUE(Check(Bmp().Info(52).Bits(16).Compression(3).Masks(0x1F, 0xFC00, 0x3E0)).ok());
    EXPECT_TRUE(Check(Bmp().Bits(32).Compression(3).Masks(0x7FF, 0x1FF800, 0xFFE00000)).ok());
    const HeaderCheck core8 = Check(Bmp().Info(12).Bits(8));
    EXPECT_EQ(core8.bmp.tableOffset, 14u + 12);
    EXPECT_EQ(core8.bmp.entryBytes, 3u);
    EXPECT_EQ(core8.bmp.tableEntries, 256u);

    const HeaderCheck topDown = Check(Bmp().Height(-7));
    EXPECT_TRUE(topDown.ok());
    EXPECT_EQ(topDown.info.height, 7);
}

TEST(ImageHeader, BitmapCutAnywhereIsTruncated) {
    for (const Bmp& bmp : {Bmp().Bits(8), Bmp().Bits(32).Compression(3),
                           Bmp().Info(12).Bits(4), Bmp().Info(124)}) {
        const Bytes file = MakeBmp(bmp);
        for (std::size_t cut = 2; cut < file.size(); ++cut) {
            EXPECT_EQ(ValidateImageHeader(std::span(file).first(cut)).error, HeaderError::Truncated)
                << "header " << bmp.infoSize << ", cut at " << cut;
        }
    }
}

TEST(ImageHeader, BitmapPrefixNeedsOnlyTheHeaders) {
    const Bytes file = MakeBmp(Bmp().Bits(8));
    for (std::size_t cut = 0; cut <= file.size(); ++cut) {
        const HeaderError error = ValidateImageHeader(std::span(file).first(cut), file.size()).error;
        EXPECT_EQ(error, cut < 54 ? HeaderError::NeedMoreData : HeaderError::None) << cut;
    }
    // Headers alone vouch for a picture right at the limit; one row more is refused.
    Bmp edge = Bmp().Width(16384).Height(16384).Bits(1);
    EXPECT_TRUE(ValidateImageHeader(BmpHeaders(edge), BmpFileSize(edge)).ok());
    edge.height = 16385;
    EXPECT_EQ(ValidateImageHeader(BmpHeaders(edge), BmpFileSize(edge)).error, HeaderError::TooLarge);
}

TEST(ImageHeader, RejectsBadBitmapFields) {
    using H = HeaderError;
    for (std::uint32_t size : {0u, 16u, 64u, 100u, 0xFFFFFFFFu}) {
        EXPECT_EQ(ValidateImageHeader(BmpHeaders(Bmp().Info(size)), 1 << 20).error, H::BadHeaderSize)
            << size;
    }
    constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(ErrorOf(Bmp().Width(0)), H::BadDimensions);
    EXPECT_EQ(ErrorOf(Bmp().Width(-4)), H::BadDimensions);
    EXPECT_EQ(ErrorOf(Bmp().Height(0)), H::BadDimensions);
    EXPECT_EQ(ValidateImageHeader(BmpHeaders(Bmp().Height(kIntMin)), 1 << 20).error,
              H::BadDimensions);
    EXPECT_EQ(ErrorOf(Bmp().Info(12).Width(0)), H::BadDimensions);
    EXPECT_EQ(ValidateImageHeader(BmpHeaders(Bmp().Width(100000).Height(100000)), 1 << 20).error,
              H::TooLarge);

    EXPECT_EQ(ErrorOf(Bmp().Planes(0)), H::BadPlanes);
    EXPECT_EQ(ErrorOf(Bmp().Planes(2)), H::BadPlanes);
    for (std::uint32_t bits : {0u, 2u, 15u, 48u}) EXPECT_EQ(ErrorOf(Bmp().Bits(bits)), H::BadBitCount);
    EXPECT_EQ(ErrorOf(Bmp().Info(12).Bits(32)), H::BadBitCount);

    EXPECT_EQ(ErrorOf(Bmp().Bits(4).Compression(1)), H::BadCompression);
    EXPECT_EQ(ErrorOf(Bmp().Bits(8).Compression(2)), H::BadCompression);
    EXPECT_EQ(ErrorOf(Bmp().Bits(24).Compression(3)), H::BadCompression);
    for (std::uint32_t c : {4u, 5u, 6u, 7u, 0x80000000u}) {
        EXPECT_EQ(ErrorOf(Bmp().Bits(32).Compression(c)), H::BadCompression) << c;
    }
    EXPECT_EQ(ErrorOf(Bmp().Height(-3).Bits(8).Compression(1)), H::Inconsistent);

    for (const Bmp& masks : {Bmp().Bits(32).Compression(3).Masks(0xFF00F0, 0xFF00, 0xF),
                             Bmp().Bits(32).Compression(3).Masks(0xFF0000, 0xFFFF00, 0xFF),
                             Bmp().Bits(16).Compression(3).Masks(0x1F0000, 0x7E0, 0x1F),
                             Bmp().Info(108).Bits(16).Compression(3).Masks(0, 0, 0)}) {
        EXPECT_EQ(ErrorOf(masks), H::BadMasks) << std::hex << masks.masks->at(0);
    }

    EXPECT_EQ(ErrorOf(Bmp().Bits(8).Colors(257)), H::BadColorCount);
    EXPECT_EQ(ErrorOf(Bmp().Bits(1).Colors(3)), H::BadColorCount);
    EXPECT_EQ(ValidateImageHeader(BmpHeaders(Bmp().Colors((1u << 24) + 1)), 1u << 30).error,
              H::BadColorCount);
}

TEST(ImageHeader, RejectsBitmapOffsetsAndShortData) {
    using H = HeaderError;
    EXPECT_EQ(ErrorOf(Bmp().Bits(8).Offset(54)), H::BadOffset);  // inside the palette
    EXPECT_EQ(ErrorOf(Bmp().Bits(32).Compression(3).Offset(54)), H::BadOffset);
    const Bmp plain;
    EXPECT_EQ(ErrorOf(Bmp().Offset(static_cast<std::uint32_t>(BmpFileSize(plain) + 1))), H::BadOffset);
    EXPECT_EQ(ErrorOf(Bmp().Offset(0xFFFFFFFFu)), H::BadOffset);
    // Pixels start late, so the last row runs past the end.
    EXPECT_EQ(ErrorOf(Bmp().Offset(60)), H::Truncated);

    Bmp rle = Bmp().Bits(8).Compression(1).ImageSize(40);
    rle.pixelBytes = 40;
    Bytes file = MakeBmp(rle);
    file.pop_back();
    EXPECT_EQ(ValidateImageHeader(file).error, H::Truncated);
    // Without a stated size an RLE image still needs its end code.
    const Bytes bare = BmpHeaders(Bmp().Bits(4).Compression(2).ImageSize(0));
    EXPECT_EQ(ValidateImageHeader(bare, bare.size() + 1).error, H::Truncated);
    EXPECT_TRUE(ValidateImageHeader(bare, bare.size() + 2).ok());
}

TEST(ImageHeader, ReadsJpegFrameSize) {
    const HeaderCheck plain = ValidateImageHeader(Jpeg({kApp0, Frame(640, 480), kScan}));
    EXPECT_TRUE(plain.ok());
    EXPECT_EQ(plain.info.format, ImageFormat::Jpeg);
    EXPECT_EQ(plain.info.width, 640);
    EXPECT_EQ(plain.info.height, 480);

    // Fill bytes, restart and TEM markers, and tables whose codes sit among
    // the frame codes must all be stepped over.
    const Bytes filled = Jpeg({kApp0, {0xFF, 0xFF, 0xFF}, Frame(33, 17, 0xC2), kScan});
    EXPECT_EQ(ValidateImageHeader(filled).info.width, 33);
    const Bytes tables = Jpeg({{0xFF, 0x01, 0xFF, 0xD3}, Segment(0xC4, {0, 0, 0, 0, 0, 0}),
                               Segment(0xCC, {0}), Segment(0xC8, {}), Frame(7, 9, 0xC9, 1), kScan});
    const HeaderCheck check = ValidateImageHeader(tables);
    EXPECT_TRUE(check.ok());
    EXPECT_EQ(check.info.width, 7);
    EXPECT_EQ(check.info.height, 9);

    const Bytes bigApp = Jpeg({Segment(0xE1, Bytes(60000, 0xC0)), Frame(100, 200), kScan});
    EXPECT_EQ(ValidateImageHeader(bigApp).info.height, 200);
    EXPECT_EQ(ValidateImageHeader(std::span(bigApp).first(32768), bigApp.size()).error,
              HeaderError::NeedMoreData);
}

TEST(ImageHeader, RejectsBadJpegFrames) {
    using H = HeaderError;
    auto error = [](std::initializer_list<Bytes> parts) { return ValidateImageHeader(Jpeg(parts)).error; };
    EXPECT_TRUE(ValidateImageHeader(Jpeg({Frame(16384, 16384)})).ok());
    EXPECT_EQ(error({Frame(16385, 16384)}), H::TooLarge);
    EXPECT_EQ(error({Frame(65535, 65535)}), H::TooLarge);
    EXPECT_EQ(error({Frame(0, 480)}), H::BadDimensions);
    EXPECT_EQ(error({Frame(640, 0)}), H::BadDimensions);
    EXPECT_EQ(error({Frame(8, 8, 0xC0, 0)}), H::Inconsistent);
    EXPECT_EQ(error({Frame(8, 8, 0xC0, 5)}), H::Inconsistent);
    EXPECT_EQ(error({Segment(0xC0, {8, 0, 8, 0, 8, 3, 1, 0x11, 0})}), H::Inconsistent);

    EXPECT_EQ(error({kApp0, kScan, Frame(8, 8)}), H::Inconsistent);  // scan before frame
    EXPECT_EQ(error({kApp0, {0xFF, 0xD9}}), H::Inconsistent);
    EXPECT_EQ(error({kApp0, {0x00}, Frame(8, 8)}), H::Inconsistent);  // junk between segments
    EXPECT_EQ(error({kApp0, {0xFF, 0x00}, Frame(8, 8)}), H::Inconsistent);
    EXPECT_EQ(error({{0xFF, 0xE0, 0x00, 0x01}, Frame(8, 8)}), H::Inconsistent);
    EXPECT_EQ(error({kApp0}), H::Truncated);
}

TEST(ImageHeader, JpegCutBeforeFrameEndIsTruncated) {
    const Bytes file = Jpeg({kApp0, {0xFF}, Frame(64, 48)});
    for (std::size_t cut = 2; cut < file.size(); ++cut) {
        EXPECT_EQ(ValidateImageHeader(std::span(file).first(cut)).error, HeaderError::Truncated)
            << "cut at " << cut;
    }
    EXPECT_TRUE(ValidateImageHeader(file).ok());
}

TEST(ImageHeader, ReadsPngHeader) {
    using H = HeaderError;
    const HeaderCheck png = ValidateImageHeader(Png(100, 50));
    EXPECT_TRUE(png.ok());
    EXPECT_EQ(png.info.format, ImageFormat::Png);
    EXPECT_EQ(png.info.width, 100);
    EXPECT_EQ(png.info.height, 50);
    EXPECT_EQ(ValidateImageHeader(Png(0, 50)).error, H::BadDimensions);
    EXPECT_EQ(ValidateImageHeader(Png(0x80000000u, 1)).error, H::BadDimensions);
    EXPECT_EQ(ValidateImageHeader(Png(20000, 20000)).error, H::TooLarge);
    Bytes renamed = Png(1, 1);
    renamed[12] = 'i';
    EXPECT_EQ(ValidateImageHeader(renamed).error, H::Inconsistent);
    const Bytes full = Png(1, 1);
    EXPECT_EQ(ValidateImageHeader(std::span(full).first(full.size() - 1)).error, H::Truncated);
}

TEST(ImageHeader, UnknownContentIsLeftToTheDecoder) {
    const Bytes gif{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0};
    const HeaderCheck other = ValidateImageHeader(gif);
    EXPECT_TRUE(other.ok());
    EXPECT_EQ(other.info.format, ImageFormat::Other);
    EXPECT_EQ(other.info.width, 0);
    EXPECT_TRUE(ValidateImageHeader(Bytes{'B'}).ok());
    EXPECT_EQ(ValidateImageHeader(Bytes{}).error, HeaderError::Empty);
    EXPECT_EQ(ValidateImageHeader(std::span(gif).first(4), gif.size()).error,
              HeaderError::NeedMoreData);

    EXPECT_TRUE(PixelCountAllowed(16384, 16384));
    EXPECT_FALSE(PixelCountAllowed(16384, 16385));
    EXPECT_FALSE(PixelCountAllowed(0, 10));
    EXPECT_FALSE(PixelCountAllowed(10, -1));
    EXPECT_FALSE(PixelCountAllowed(std::numeric_limits<std::int64_t>::max(), 2));
}

}  // namespace
}  // namespace grabwell::core
