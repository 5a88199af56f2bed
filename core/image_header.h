#pragma once
// Sanity check of a picture file before anything decodes it. Some decoders
// allocate the whole image from the size in the header before they look any
// further, so an absurd or lying header has to be refused here first.
//
// The format is decided by the content, never by the file name: the program
// itself may have written BMP data under a ".jpg" name and must open it again.
#include <cstdint>
#include <span>

namespace grabwell::core {

inline constexpr std::int64_t kMaxPixels = 256LL * 1024 * 1024;

enum class ImageFormat { Other, Bmp, Jpeg, Png };

// width and height are 0 while unknown (always for Other).
struct ImageHeaderInfo {
    ImageFormat format = ImageFormat::Other;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

enum class HeaderError {
    None,
    Empty,          // zero-length file
    Truncated,      // the file ends inside a header, a table or the pixel data
    NeedMoreData,   // only with a prefix: the answer lies past the bytes given
    BadHeaderSize,  // BMP info header of a size no reader knows
    BadDimensions,  // zero or negative width/height, or one no format allows
    BadPlanes,
    BadBitCount,
    BadCompression,  // unknown, or not allowed with this bit count
    BadColorCount,
    BadMasks,       // BMP bit fields that are empty, gapped, overlapping or wider than a pixel
    BadOffset,      // BMP pixel data said to start inside the headers or past the end
    TooLarge,       // more than kMaxPixels, or a byte count beyond 64 bits
    Inconsistent,   // fields or markers that contradict each other
};

// A BMP as the platform's DIB functions take it: the info header's fields
// that matter, and where the tables and the pixels lie in the file. Filled
// in when the header check passes a BMP.
struct BmpDib {
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: rows stored top-down
    std::uint16_t bits = 0;
    std::uint32_t compression = 0;       // BI_RGB, BI_RLE8, BI_RLE4 or BI_BITFIELDS
    std::uint32_t masks[3] = {};         // red, green, blue: BI_BITFIELDS only
    std::uint64_t tableOffset = 0;       // the colour table, from the file's start
    std::uint32_t tableEntries = 0;      // for up to 8 bits a pixel, else 0
    std::uint32_t entryBytes = 4;        // 3 in the old core header
    std::uint64_t pixelOffset = 0;
    std::uint64_t pixelBytes = 0;        // the run-length stream, or every row
};

struct HeaderCheck {
    HeaderError error = HeaderError::None;
    ImageHeaderInfo info;
    BmpDib bmp;  // for a BMP that passed
    // Also true for Other: its size is unknown, so whoever decodes it must
    // check the decoded size with PixelCountAllowed.
    bool ok() const { return error == HeaderError::None; }
};

// True for a positive size of at most kMaxPixels pixels.
bool PixelCountAllowed(std::int64_t width, std::int64_t height);

// head: the first bytes of the file (or all of it); fileSize: the whole
// file's length. Bytes past head are never read, only counted on: if the
// check needs to read them the result is NeedMoreData, and a longer prefix
// will do. A JPEG's frame header may follow large metadata segments, so
// handing over the whole file is simplest.
HeaderCheck ValidateImageHeader(std::span<const std::uint8_t> head, std::uint64_t fileSize);

// The whole file in memory.
HeaderCheck ValidateImageHeader(std::span<const std::uint8_t> file);

}  // namespace grabwell::core
