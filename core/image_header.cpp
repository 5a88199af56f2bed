#include "core/image_header.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "core/bmp_layout.h"

namespace grabwell::core {

namespace {

using E = HeaderError;

// Reads little- and big-endian fields from the prefix, and tells a file that
// ends too soon from a prefix that does.
class Reader {
public:
    Reader(std::span<const std::uint8_t> head, std::uint64_t fileSize)
        : head_(head.first(static_cast<std::size_t>(
              std::min<std::uint64_t>(head.size(), fileSize)))),
          fileSize_(fileSize) {}

    std::uint64_t fileSize() const { return fileSize_; }

    // Bytes that will be read.
    E Need(std::uint64_t offset, std::uint64_t count) const {
        if (offset + count <= head_.size()) return E::None;
        return Present(offset, count) == E::None ? E::NeedMoreData : E::Truncated;
    }
    // Bytes that only have to exist in the file.
    E Present(std::uint64_t offset, std::uint64_t count) const {
        return offset > fileSize_ || count > fileSize_ - offset ? E::Truncated : E::None;
    }

    unsigned U8(std::uint64_t at) const { return head_[static_cast<std::size_t>(at)]; }
    unsigned Le16(std::uint64_t at) const { return U8(at) | U8(at + 1) << 8; }
    std::uint32_t Le32(std::uint64_t at) const {
        return static_cast<std::uint32_t>(Le16(at)) |
               static_cast<std::uint32_t>(Le16(at + 2)) << 16;
    }
    unsigned Be16(std::uint64_t at) const { return U8(at) << 8 | U8(at + 1); }
    std::uint32_t Be32(std::uint64_t at) const {
        return static_cast<std::uint32_t>(Be16(at)) << 16 |
               static_cast<std::uint32_t>(Be16(at + 2));
    }

private:
    std::span<const std::uint8_t> head_;
    std::uint64_t fileSize_;
};

std::optional<std::uint64_t> CheckedMul(std::uint64_t a, std::uint64_t b) {
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a) return std::nullopt;
    return a * b;
}

HeaderCheck Fail(HeaderCheck check, E error) {
    check.error = error;
    return check;
}

// ---- BMP ----------------------------------------------------------------

constexpr std::uint64_t kBmpFileHeader = kBmpFileHeaderBytes;
constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;

bool KnownInfoSize(std::uint32_t size) {
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool CompressionFits(std::uint32_t compression, unsigned bits) {
    switch (compression) {
        case kBiRgb: return true;
        case kBiRle8: return bits == 8;
        case kBiRle4: return bits == 4;
        case kBiBitfields: return bits == 16 || bits == 32;
        default: return false;  // embedded JPEG/PNG, alpha bitfields, unknown
    }
}

// Each mask one run of bits (or none), no bit claimed twice, all inside the
// pixel, and some colour at all: what a DIB reader can shift and scale.
bool MasksUsable(const std::uint32_t (&masks)[3], unsigned bits) {
    std::uint32_t seen = 0;
    for (const std::uint32_t mask : masks) {
        if (mask & seen) return false;
        seen |= mask;
        const std::uint32_t low = mask & (~mask + 1);  // its lowest set bit
        if (((mask + low) & mask) != 0) return false;  // a gap: carrying leaves bits behind
    }
    return seen != 0 && (bits == 32 || seen <= 0xFFFFu);
}

HeaderCheck CheckBmp(const Reader& r) {
    HeaderCheck check;
    check.info.format = ImageFormat::Bmp;
    if (E e = r.Need(0, kBmpFileHeader + 4); e != E::None) return Fail(check, e);
    const std::uint64_t pixelOffset = r.Le32(10);
    const std::uint32_t infoSize = r.Le32(14);
    if (!KnownInfoSize(infoSize)) return Fail(check, E::BadHeaderSize);
    if (E e = r.Need(kBmpFileHeader, infoSize); e != E::None) return Fail(check, e);

    const bool core = infoSize == 12;
    std::int64_t width = 0;
    std::int64_t height = 0;
    unsigned planes = 0;
    unsigned bits = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t imageSize = 0;
    std::uint32_t colorsUsed = 0;
    if (core) {
        width = r.Le16(18);
        height = r.Le16(20);
        planes = r.Le16(22);
        bits = r.Le16(24);
    } else {
        width = static_cast<std::int32_t>(r.Le32(18));
        height = static_cast<std::int32_t>(r.Le32(22));
        planes = r.Le16(26);
        bits = r.Le16(28);
        compression = r.Le32(30);
        imageSize = r.Le32(34);
        colorsUsed = r.Le32(46);
    }
    // A negative height only means the rows run top-down; INT32_MIN has no
    // positive counterpart.
    const bool topDown = height < 0;
    if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min()) {
        return Fail(check, E::BadDimensions);
    }
    height = topDown ? -height : height;
    check.info.width = width;
    check.info.height = height;
    if (!PixelCountAllowed(width, height)) return Fail(check, E::TooLarge);
    if (planes != 1) return Fail(check, E::BadPlanes);
    const bool bitsKnown = bits == 1 || bits == 4 || bits == 8 || bits == 24 ||
                           (!core && (bits == 16 || bits == 32));
    if (!bitsKnown) return Fail(check, E::BadBitCount);
    if (!CompressionFits(compression, bits)) return Fail(check, E::BadCompression);
    const bool rle = compression == kBiRle8 || compression == kBiRle4;
    if (rle && topDown) return Fail(check, E::Inconsistent);  // RLE runs bottom-up only

    // Colour table: for up to 8 bits every index needs an entry (0 = all of
    // them); above that it is an optional hint of at most 2^24 colours.
    const std::uint64_t indexable = bits <= 8 ? 1ULL << bits : 1ULL << 24;
    if (colorsUsed > indexable) return Fail(check, E::BadColorCount);
    const std::uint64_t entries = bits <= 8 && colorsUsed == 0 ? indexable : colorsUsed;
    const std::uint64_t masks = compression == kBiBitfields && infoSize == 40 ? 12 : 0;
    const std::uint64_t tables = masks + entries * (core ? 3 : 4);
    if (E e = r.Present(kBmpFileHeader + infoSize, tables); e != E::None) return Fail(check, e);
    const std::uint64_t headersEnd = kBmpFileHeader + infoSize + tables;
    if (pixelOffset < headersEnd || pixelOffset > r.fileSize()) return Fail(check, E::BadOffset);

    BmpDib& dib = check.bmp;
    if (compression == kBiBitfields) {
        // In the table right after a 40-byte header, or inside a longer one:
        // the same place in the file either way.
        if (E e = r.Need(kBmpFileHeader + kBmpInfoHeaderBytes, 12); e != E::None) return Fail(check, e);
        for (std::uint64_t i = 0; i < 3; ++i) {
            dib.masks[i] = r.Le32(kBmpFileHeader + kBmpInfoHeaderBytes + 4 * i);
        }
        if (!MasksUsable(dib.masks, bits)) return Fail(check, E::BadMasks);
    }
    dib.width = static_cast<std::int32_t>(width);
    dib.height = static_cast<std::int32_t>(topDown ? -height : height);
    dib.bits = static_cast<std::uint16_t>(bits);
    dib.compression = compression;
    dib.tableOffset = kBmpFileHeader + infoSize + masks;
    dib.tableEntries = bits <= 8 ? static_cast<std::uint32_t>(entries) : 0;
    dib.entryBytes = core ? 3 : 4;
    dib.pixelOffset = pixelOffset;

    const std::uint64_t available = r.fileSize() - pixelOffset;
    if (rle) {
        // Even an empty RLE image carries its end-of-bitmap code.
        const std::uint64_t needed = std::max<std::uint64_t>(imageSize, 2);
        if (needed > available) return Fail(check, E::Truncated);
        // Without a stated length the stream may run to the end of the file.
        dib.pixelBytes = imageSize != 0 ? imageSize : available;
        return check;
    }
    const auto stride = BmpStride(static_cast<std::uint64_t>(width), bits);
    if (!stride) return Fail(check, E::TooLarge);
    const auto pixelBytes = CheckedMul(*stride, static_cast<std::uint64_t>(height));
    if (!pixelBytes) return Fail(check, E::TooLarge);
    if (*pixelBytes > available) return Fail(check, E::Truncated);
    dib.pixelBytes = *pixelBytes;
    return check;
}

// ---- JPEG ---------------------------------------------------------------

bool IsStartOfFrame(unsigned marker) {
    // C4 (Huffman tables), C8 (reserved) and CC (arithmetic conditioning)
    // sit in the same range but are not frames.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
           marker != 0xCC;
}

bool IsStandalone(unsigned marker) {
    return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;
}

HeaderCheck CheckJpegFrame(const Reader& r, std::uint64_t body, unsigned length,
                           HeaderCheck check) {
    // precision, height, width, component count, then 3 bytes a component
    if (E e = r.Need(body, 6); e != E::None) return Fail(check, e);
    const unsigned components = r.U8(body + 5);
    if (components < 1 || components > 4) return Fail(check, E::Inconsistent);
    if (length != 8 + 3 * components) return Fail(check, E::Inconsistent);
    if (E e = r.Present(body + 6, 3ULL * components); e != E::None) return Fail(check, e);
    check.info.height = r.Be16(body + 1);
    check.info.width = r.Be16(body + 3);
    // A zero height would be announced later by a DNL marker, which the
    // platform decoder does not support.
    if (check.info.width == 0 || check.info.height == 0) return Fail(check, E::BadDimensions);
    if (!PixelCountAllowed(check.info.width, check.info.height)) return Fail(check, E::TooLarge);
    return check;
}

HeaderCheck CheckJpeg(const Reader& r) {
    HeaderCheck check;
    check.info.format = ImageFormat::Jpeg;
    std::uint64_t pos = 2;  // past SOI
    for (;;) {
        if (E e = r.Need(pos, 1); e != E::None) return Fail(check, e);
        if (r.U8(pos) != 0xFF) return Fail(check, E::Inconsistent);
        // Any number of FF fill bytes may come before the marker code.
        do {
            ++pos;
            if (E e = r.Need(pos, 1); e != E::None) return Fail(check, e);
        } while (r.U8(pos) == 0xFF);
        const unsigned marker = r.U8(pos++);
        if (IsStandalone(marker)) continue;
        // Scan data, the end, a second start or a stuffed zero before any
        // frame header: there is no size to trust.
        if (marker == 0xDA || marker == 0xD9 || marker == 0xD8 || marker == 0x00) {
            return Fail(check, E::Inconsistent);
        }
        if (E e = r.Need(pos, 2); e != E::None) return Fail(check, e);
        const unsigned length = r.Be16(pos);  // counts its own two bytes
        if (length < 2) return Fail(check, E::Inconsistent);
        if (IsStartOfFrame(marker)) return CheckJpegFrame(r, pos + 2, length, check);
        pos += length;
    }
}

// ---- PNG ----------------------------------------------------------------

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

HeaderCheck CheckPng(const Reader& r) {
    HeaderCheck check;
    check.info.format = ImageFormat::Png;
    // The first chunk must be IHDR: length 13, type, width, height, ...
    if (E e = r.Need(8, 16); e != E::None) return Fail(check, e);
    if (r.Be32(8) != 13 || r.Be32(12) != 0x49484452u) return Fail(check, E::Inconsistent);
    if (E e = r.Present(8, 8 + 13 + 4); e != E::None) return Fail(check, e);
    const std::uint32_t width = r.Be32(16);
    const std::uint32_t height = r.Be32(20);
    check.info.width = width;
    check.info.height = height;
    constexpr std::uint32_t kPngLimit = 0x7FFFFFFFu;
    if (width == 0 || height == 0 || width > kPngLimit || height > kPngLimit) {
        return Fail(check, E::BadDimensions);
    }
    if (!PixelCountAllowed(width, height)) return Fail(check, E::TooLarge);
    return check;
}

bool StartsWith(const Reader& r, std::span<const std::uint8_t> magic) {
    if (r.Need(0, magic.size()) != E::None) return false;
    for (std::size_t i = 0; i < magic.size(); ++i) {
        if (r.U8(i) != magic[i]) return false;
    }
    return true;
}

}  // namespace

bool PixelCountAllowed(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) return false;
    return width <= kMaxPixels / height;
}

HeaderCheck ValidateImageHeader(std::span<const std::uint8_t> head, std::uint64_t fileSize) {
    if (fileSize == 0) return Fail(HeaderCheck{}, E::Empty);
    const Reader r(head, fileSize);
    // The longest signature has to be in hand before "none of them" is said.
    constexpr std::uint64_t kLongestMagic = sizeof kPngSignature;
    if (E e = r.Need(0, std::min(fileSize, kLongestMagic)); e != E::None) {
        return Fail(HeaderCheck{}, e);
    }
    constexpr std::uint8_t kBm[] = {'B', 'M'};
    constexpr std::uint8_t kSoi[] = {0xFF, 0xD8};
    if (StartsWith(r, kBm)) return CheckBmp(r);
    if (StartsWith(r, kSoi)) return CheckJpeg(r);
    if (StartsWith(r, kPngSignature)) return CheckPng(r);
    return HeaderCheck{};
}

HeaderCheck ValidateImageHeader(std::span<const std::uint8_t> file) {
    return ValidateImageHeader(file, file.size());
}

}  // namespace grabwell::core
