#pragma once
// Picture files built byte by byte: the header check's cases, and for the
// Open command a few well-formed files with known pixels and many that lie
// about themselves in one field each, so a refusal can be traced to that
// field. Plain C++, so the native core tests build them too.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace grabwell::test {

using Bytes = std::vector<std::uint8_t>;

// The fields of a BMP file. Anything left unset is made consistent with the
// rest; a case sets only the field it is about, directly or through the
// setters that chain.
struct BmpFields {
    std::uint8_t magic[2] = {'B', 'M'};
    std::uint32_t infoSize = 40;        // 12 writes the old 16-bit core header
    std::int32_t width = 5;             // 5 pixels: 24-bit rows carry a pad byte
    std::int32_t height = 3;            // negative: rows stored top-down
    std::uint16_t planes = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;      // BI_RGB
    std::uint32_t colorsUsed = 0;       // written as given
    std::optional<std::uint32_t> tableEntries;  // default: what colorsUsed/bits imply
    std::optional<std::uint32_t> pixelOffset;   // default: right after the tables
    std::optional<std::uint64_t> pixelBytes;    // default: stride x |height|
    std::optional<std::uint32_t> imageSize;     // default: the pixel data's length
    // Red, green, blue of BI_BITFIELDS, also what 16- and 32-bit pixels are
    // packed by. Default: 5-6-5 and 8-8-8 with bitfields, 5-5-5 and 8-8-8
    // without.
    std::optional<std::array<std::uint32_t, 3>> masks;

    BmpFields& Info(std::uint32_t v) { infoSize = v; return *this; }
    BmpFields& Width(std::int32_t v) { width = v; return *this; }
    BmpFields& Height(std::int32_t v) { height = v; return *this; }
    BmpFields& Planes(std::uint16_t v) { planes = v; return *this; }
    BmpFields& Bits(std::uint16_t v) { bits = v; return *this; }
    BmpFields& Compression(std::uint32_t v) { compression = v; return *this; }
    BmpFields& Colors(std::uint32_t v) { colorsUsed = v; return *this; }
    BmpFields& Offset(std::uint32_t v) { pixelOffset = v; return *this; }
    BmpFields& ImageSize(std::uint32_t v) { imageSize = v; return *this; }
    BmpFields& Masks(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
        masks = {red, green, blue};
        return *this;
    }
};

Bytes MakeBmp(const BmpFields& fields);

// What MakeBmp writes before the pixel data: file header, info header and
// tables. With BmpFileSize, a header check can be asked about files too large
// to build (MakeBmp leaves absurd pixel data out).
Bytes BmpHeaders(const BmpFields& fields);
// The length of the whole file the fields describe, pixel data included.
std::uint64_t BmpFileSize(const BmpFields& fields);

// The top-down 0x00RRGGBB pixels MakeBmp's file shows, for files of 1, 4, 8
// (through the colour table, RLE8 too), 16, 24 or 32 bits. A channel of
// fewer than 8 bits is scaled to the full 0-255 range; a wider one keeps its
// top 8 bits.
std::vector<std::uint32_t> BmpPixels(const BmpFields& fields);
// How far a reader may stray from BmpPixels in any channel and still have
// read what the masks say: a channel of n < 8 bits may be widened by shifting
// alone, leaving the low 8 - n bits anything.
int BmpTolerance(const BmpFields& fields);

// A baseline greyscale JPEG of flat mid-grey (every block's DC and AC are
// zero), small enough to assemble by hand. Offsets of its frame header are
// given so cases can cut or rewrite it.
struct GreyJpeg {
    Bytes bytes;
    std::size_t frameMarker = 0;  // the FF of FF C0
    std::size_t scanMarker = 0;   // the FF of FF DA
};
GreyJpeg MakeGreyJpeg(std::uint16_t width, std::uint16_t height);

struct ImageCase {
    std::string name;
    Bytes bytes;
    int width = 0;  // the size its header claims, where that is meaningful
    int height = 0;
};

struct ValidImage {
    std::string name;
    Bytes bytes;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // top-down 0x00RRGGBB
    int tolerance = 0;                  // per channel: lossy formats
};

// Files that every reader must refuse: bad magic, offsets, header sizes,
// dimensions, bit count and compression pairs, colour counts, truncations at
// each header boundary, a cut JPEG frame header and absurd sizes.
std::vector<ImageCase> MalformedImages();

// Headers that pass every check but carry hostile pixel data: they may open
// (at the size the header claims) or not, but must do no harm.
std::vector<ImageCase> HostilePayloads();

// 24-bit, 8-bit palette, RLE8, 16- and 32-bit with bit fields in several
// orders and widths, top-down, core-header and JPEG files that must open.
std::vector<ValidImage> ValidImages();

}  // namespace grabwell::test
