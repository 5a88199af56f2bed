#include "tests/shared/image_files.h"

#include <algorithm>
#include <climits>
#include <tuple>

namespace grabwell::test {

namespace {

constexpr std::uint32_t kRle8 = 1, kRle4 = 2, kBitfields = 3;
constexpr std::uint64_t kFileHeader = 14;
// Rows and colour tables are generated only up to this much data; absurd
// sizes give their own pixelBytes, or ask BmpFileSize for the length.
constexpr std::uint64_t kMaxGeneratedBytes = 1u << 20;
// Room for every real info header, whatever size field a case writes.
constexpr std::uint32_t kLongestInfoHeader = 256;

void Le16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>(v >> 8 & 0xFF));
}
void Le32(Bytes& b, std::uint32_t v) {
    Le16(b, v & 0xFFFF);
    Le16(b, v >> 16);
}
void Be16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v >> 8 & 0xFF));
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
}
void Append(Bytes& b, std::initializer_list<std::uint8_t> bytes) { b.insert(b.end(), bytes); }
void SetLe32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint64_t Magnitude(std::int32_t v) {
    return v < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(v))
                 : static_cast<std::uint64_t>(v);
}
std::uint64_t Stride(std::int32_t width, unsigned bits) {
    return (Magnitude(width) * bits + 31) / 32 * 4;
}

std::uint32_t TableEntries(const BmpFields& f) {
    if (f.tableEntries) return *f.tableEntries;
    if (f.bits <= 8) return f.colorsUsed ? f.colorsUsed : 1u << f.bits;
    return f.colorsUsed;
}

std::uint32_t PaletteColour(std::uint32_t i) {
    const std::uint32_t r = i * 37 & 0xFF, g = 0xFF - (i * 91 & 0xFF), b = (i * 53 + 17) & 0xFF;
    return r << 16 | g << 8 | b;
}
std::uint32_t TrueColour(std::uint64_t x, std::uint64_t y) {
    const auto r = static_cast<std::uint32_t>(x * 50 + 10) & 0xFF;
    const auto g = static_cast<std::uint32_t>(y * 80 + 20) & 0xFF;
    const auto b = static_cast<std::uint32_t>(200 - x * 7 - y * 11) & 0xFF;
    return r << 16 | g << 8 | b;
}
std::uint32_t PixelIndex(std::uint64_t x, std::uint64_t y, std::uint32_t entries) {
    return entries ? static_cast<std::uint32_t>((x + 2 * y) % entries) : 0;
}

bool RleCompressed(const BmpFields& f) { return f.compression == kRle8 || f.compression == kRle4; }

std::array<std::uint32_t, 3> MasksOf(const BmpFields& f) {
    if (f.masks) return *f.masks;
    if (f.bits == 32) return {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    if (f.compression == kBitfields) return {0xF800u, 0x07E0u, 0x001Fu};
    return {0x7C00u, 0x03E0u, 0x001Fu};
}

int LowestBit(std::uint32_t mask) {
    int shift = 0;
    while (mask && !(mask >> shift & 1)) ++shift;
    return shift;
}
int BitCount(std::uint32_t mask) {
    int n = 0;
    for (; mask; mask &= mask - 1) ++n;
    return n;
}

// An 8-bit channel value stored in the field `mask`: its top bits, or for a
// field wider than 8 bits, the value followed by zeros.
std::uint32_t Pack(std::uint32_t value, std::uint32_t mask) {
    const int width = BitCount(mask);
    const std::uint32_t field = width <= 8 ? value >> (8 - width) : value << (width - 8);
    return field << LowestBit(mask) & mask;
}
// What the field `mask` of `pixel` says as an 8-bit channel.
std::uint32_t Unpack(std::uint32_t pixel, std::uint32_t mask) {
    const int width = BitCount(mask);
    if (width == 0) return 0;
    const std::uint32_t field = (pixel & mask) >> LowestBit(mask);
    if (width >= 8) return field >> (width - 8);
    const std::uint32_t top = (1u << width) - 1;
    return (field * 255 + top / 2) / top;
}
std::uint32_t PackedPixel(std::uint32_t colour, const std::array<std::uint32_t, 3>& masks) {
    return Pack(colour >> 16 & 0xFF, masks[0]) | Pack(colour >> 8 & 0xFF, masks[1]) |
           Pack(colour & 0xFF, masks[2]);
}

// One stored row (`y` counted from the top of the picture).
void AppendRow(Bytes& b, const BmpFields& f, std::uint64_t y, std::uint32_t entries) {
    const std::uint64_t width = Magnitude(f.width);
    const std::size_t start = b.size();
    if (f.bits == 24) {
        for (std::uint64_t x = 0; x < width; ++x) {
            const std::uint32_t c = TrueColour(x, y);
            Append(b, {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                       static_cast<std::uint8_t>(c >> 16)});
        }
    } else if (f.bits == 16 || f.bits == 32) {
        const auto masks = MasksOf(f);
        for (std::uint64_t x = 0; x < width; ++x) {
            const std::uint32_t p = PackedPixel(TrueColour(x, y), masks);
            Append(b, {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8)});
            if (f.bits == 32) Append(b, {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 24)});
        }
    } else if (f.bits == 1 || f.bits == 4 || f.bits == 8) {
        unsigned acc = 0, used = 0;
        for (std::uint64_t x = 0; x < width; ++x) {
            acc = acc << f.bits | PixelIndex(x, y, entries);
            used += f.bits;
            if (used == 8) {
                b.push_back(static_cast<std::uint8_t>(acc));
                acc = used = 0;
            }
        }
        if (used) b.push_back(static_cast<std::uint8_t>(acc << (8 - used)));
    }
    // Other depths only need the right amount of data, and the padding.
    b.resize(start + static_cast<std::size_t>(Stride(f.width, f.bits)), 0x5A);
}

// An RLE8 stream of the indexed picture, bottom row first: each row as
// runs of one pixel (so every pixel is spelt out), then end of line; at the
// end, end of bitmap. An RLE4 stream is the end code alone.
Bytes RleData(const BmpFields& f, std::uint32_t entries) {
    Bytes data;
    const std::uint64_t rows = Magnitude(f.height);
    if (f.compression == kRle8 && (Magnitude(f.width) + 1) * 2 * rows <= kMaxGeneratedBytes) {
        for (std::uint64_t s = 0; s < rows; ++s) {
            for (std::uint64_t x = 0; x < Magnitude(f.width); ++x) {
                Append(data, {1, static_cast<std::uint8_t>(PixelIndex(x, rows - 1 - s, entries))});
            }
            if (s + 1 < rows) Append(data, {0x00, 0x00});
        }
    }
    Append(data, {0x00, 0x01});
    return data;
}

std::uint64_t PixelByteCount(const BmpFields& f) {
    if (f.pixelBytes) return *f.pixelBytes;
    if (RleCompressed(f)) return RleData(f, TableEntries(f)).size();
    return Stride(f.width, f.bits) * Magnitude(f.height);
}

Bytes PixelData(const BmpFields& f, std::uint32_t entries) {
    Bytes data;
    if (f.pixelBytes) {
        data.resize(static_cast<std::size_t>(*f.pixelBytes));
        for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
        return data;
    }
    if (RleCompressed(f)) return RleData(f, entries);
    const std::uint64_t rows = Magnitude(f.height);
    if (Stride(f.width, f.bits) * rows > kMaxGeneratedBytes) return data;
    for (std::uint64_t s = 0; s < rows; ++s) {
        AppendRow(data, f, f.height < 0 ? s : rows - 1 - s, entries);
    }
    return data;
}

void AppendMasks(Bytes& b, const BmpFields& f) {
    for (const std::uint32_t mask : MasksOf(f)) Le32(b, mask);
}

Bytes Cut(Bytes b, std::size_t size) {
    b.resize(size);
    return b;
}

ImageCase Bmp(std::string name, const BmpFields& f) { return {std::move(name), MakeBmp(f)}; }

BmpFields Palette8() {
    BmpFields f;
    f.bits = 8;
    return f;
}

}  // namespace

Bytes BmpHeaders(const BmpFields& f) {
    const std::uint32_t entries = TableEntries(f);
    const bool core = f.infoSize == 12;
    const std::uint64_t pixelBytes = PixelByteCount(f);
    Bytes info;
    if (core) {
        Le32(info, 12);
        Le16(info, static_cast<std::uint32_t>(f.width));
        Le16(info, static_cast<std::uint32_t>(f.height));
        Le16(info, f.planes);
        Le16(info, f.bits);
    } else {
        Le32(info, f.infoSize);
        Le32(info, static_cast<std::uint32_t>(f.width));
        Le32(info, static_cast<std::uint32_t>(f.height));
        Le16(info, f.planes);
        Le16(info, f.bits);
        Le32(info, f.compression);
        Le32(info, f.imageSize.value_or(static_cast<std::uint32_t>(pixelBytes)));
        Le32(info, 2835);
        Le32(info, 2835);
        Le32(info, f.colorsUsed);
        Le32(info, 0);
        // V2 and later headers carry the masks themselves.
        if (f.infoSize >= 52) AppendMasks(info, f);
        if (f.infoSize >= 56) Le32(info, 0);
        const std::uint32_t length = f.infoSize < kLongestInfoHeader ? f.infoSize : kLongestInfoHeader;
        if (length > info.size()) info.resize(length, 0);
    }
    Bytes tables;
    if (f.compression == kBitfields && f.infoSize == 40) AppendMasks(tables, f);
    if (std::uint64_t{entries} * 4 <= kMaxGeneratedBytes) {
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::uint32_t c = PaletteColour(i);
            Append(tables, {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                            static_cast<std::uint8_t>(c >> 16)});
            if (!core) tables.push_back(0);
        }
    }

    const std::uint64_t offset = kFileHeader + info.size() + tables.size();
    Bytes file;
    file.push_back(f.magic[0]);
    file.push_back(f.magic[1]);
    Le32(file, static_cast<std::uint32_t>(offset + pixelBytes));
    Le32(file, 0);
    Le32(file, f.pixelOffset.value_or(static_cast<std::uint32_t>(offset)));
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), tables.begin(), tables.end());
    return file;
}

std::uint64_t BmpFileSize(const BmpFields& f) { return BmpHeaders(f).size() + PixelByteCount(f); }

Bytes MakeBmp(const BmpFields& f) {
    Bytes file = BmpHeaders(f);
    const Bytes pixels = PixelData(f, TableEntries(f));
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

std::vector<std::uint32_t> BmpPixels(const BmpFields& f) {
    const std::uint32_t entries = TableEntries(f);
    std::vector<std::uint32_t> pixels;
    for (std::uint64_t y = 0; y < Magnitude(f.height); ++y) {
        for (std::uint64_t x = 0; x < Magnitude(f.width); ++x) {
            if (f.bits <= 8) {
                pixels.push_back(PaletteColour(PixelIndex(x, y, entries)));
            } else if (f.bits == 24) {
                pixels.push_back(TrueColour(x, y));
            } else {
                const auto masks = MasksOf(f);
                const std::uint32_t p = PackedPixel(TrueColour(x, y), masks);
                pixels.push_back(Unpack(p, masks[0]) << 16 | Unpack(p, masks[1]) << 8 |
                                 Unpack(p, masks[2]));
            }
        }
    }
    return pixels;
}

int BmpTolerance(const BmpFields& f) {
    if (f.bits != 16 && f.bits != 32) return 0;
    int narrowest = 8;
    for (const std::uint32_t mask : MasksOf(f)) narrowest = std::min(narrowest, BitCount(mask));
    return (1 << (8 - narrowest)) - 1;
}

GreyJpeg MakeGreyJpeg(std::uint16_t width, std::uint16_t height) {
    GreyJpeg jpeg;
    Bytes& b = jpeg.bytes;
    Append(b, {0xFF, 0xD8});
    // Quantisation table 0: all ones.
    Append(b, {0xFF, 0xDB, 0x00, 0x43, 0x00});
    b.insert(b.end(), 64, 0x01);
    // Frame: 8-bit samples, one component, no subsampling, table 0.
    jpeg.frameMarker = b.size();
    Append(b, {0xFF, 0xC0, 0x00, 0x0B, 0x08});
    Be16(b, height);
    Be16(b, width);
    Append(b, {0x01, 0x01, 0x11, 0x00});
    // One-code Huffman tables: DC category 0 and AC end-of-block, both "0".
    for (const std::uint8_t tableClass : {std::uint8_t{0x00}, std::uint8_t{0x10}}) {
        Append(b, {0xFF, 0xC4, 0x00, 0x14, tableClass, 0x01});
        b.insert(b.end(), 15, 0x00);
        b.push_back(0x00);
    }
    jpeg.scanMarker = b.size();
    Append(b, {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00});
    // Two zero bits a block (DC difference 0, then end of block), padded
    // with ones; no byte can be FF, so nothing needs stuffing.
    const std::uint64_t blocks = ((width + 7u) / 8u) * ((height + 7u) / 8u);
    const std::uint64_t bits = 2 * blocks;
    b.insert(b.end(), static_cast<std::size_t>(bits / 8), 0x00);
    if (bits % 8) b.push_back(static_cast<std::uint8_t>(0xFFu >> (bits % 8)));
    Append(b, {0xFF, 0xD9});
    return jpeg;
}

std::vector<ImageCase> MalformedImages() {
    std::vector<ImageCase> cases;
    const auto add = [&](std::string name, Bytes bytes) {
        cases.push_back({std::move(name), std::move(bytes)});
    };
    const BmpFields plain;  // 24-bit 5 x 3
    const Bytes good24 = MakeBmp(plain);

    // Not a picture at all, or the wrong magic on a good body.
    add("empty", {});
    add("one-byte", {'B'});
    add("text", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
    for (const auto& [name, magic] : {std::pair{"magic-XM", "XM"}, {"magic-MB", "MB"},
                                      {"magic-BA-os2-array", "BA"}, {"magic-lowercase-bm", "bm"}}) {
        BmpFields f;
        f.magic[0] = static_cast<std::uint8_t>(magic[0]);
        f.magic[1] = static_cast<std::uint8_t>(magic[1]);
        cases.push_back(Bmp(name, f));
    }

    // Pixel data said to start past the end, or inside the headers.
    {
        BmpFields f;
        f.pixelOffset = static_cast<std::uint32_t>(good24.size() + 1);
        cases.push_back(Bmp("offset-past-end", f));
        f.pixelOffset = 0xFFFFFFFFu;
        cases.push_back(Bmp("offset-4G", f));
        f.pixelOffset = 14 + 40 - 1;
        cases.push_back(Bmp("offset-inside-header", f));
        BmpFields p = Palette8();
        p.pixelOffset = 14 + 40 + 512;
        cases.push_back(Bmp("offset-inside-colour-table", p));
    }

    // Info header sizes no reader knows; the body is a good 40-byte one.
    for (const std::uint32_t size : {0u, 16u, 39u, 41u, 64u, 100u, 125u, 0xFFFFFFFFu}) {
        BmpFields f;
        // Sizes up to 125 get a header that long; otherwise only the size
        // field lies about a 40-byte header.
        if (size >= 40 && size <= 125) f.infoSize = size;
        Bytes bytes = MakeBmp(f);
        SetLe32(bytes, 14, size);
        add("header-size-" + std::to_string(size), std::move(bytes));
    }

    // Dimensions.
    {
        BmpFields f;
        f.width = 0;
        cases.push_back(Bmp("width-0", f));
        f = {};
        f.height = 0;
        cases.push_back(Bmp("height-0", f));
        f = {};
        f.width = -5;
        cases.push_back(Bmp("width-negative", f));
        f = {};
        f.width = -5;
        f.height = -3;
        cases.push_back(Bmp("width-and-height-negative", f));
        f = {};
        f.height = INT_MIN;
        f.pixelBytes = 4096;
        cases.push_back(Bmp("height-INT_MIN", f));
        f = {};
        f.width = INT_MIN;
        f.pixelBytes = 4096;
        cases.push_back(Bmp("width-INT_MIN", f));
        f = {};
        f.infoSize = 12;
        f.width = 0;
        cases.push_back(Bmp("core-width-0", f));
    }

    // Bit counts and compressions that do not go together, or do not exist.
    struct Pairing {
        const char* name;
        std::uint16_t bits;
        std::uint32_t compression;
    };
    for (const Pairing& p : {Pairing{"rle8-at-24bpp", 24, kRle8}, {"rle8-at-4bpp", 4, kRle8},
                             {"rle4-at-8bpp", 8, kRle4}, {"rle4-at-24bpp", 24, kRle4},
                             {"bitfields-at-8bpp", 8, kBitfields},
                             {"bitfields-at-24bpp", 24, kBitfields},
                             {"bitfields-at-1bpp", 1, kBitfields},
                             {"embedded-jpeg-at-24bpp", 24, 4}, {"embedded-png-at-24bpp", 24, 5},
                             {"alphabitfields-at-32bpp", 32, 6}, {"compression-7", 24, 7},
                             {"compression-4G", 24, 0xFFFFFFFFu}, {"bits-0", 0, 0},
                             {"bits-2", 2, 0}, {"bits-7", 7, 0}, {"bits-48", 48, 0},
                             {"bits-64", 64, 0}, {"bits-65535", 0xFFFF, 0}}) {
        BmpFields f;
        f.bits = p.bits;
        f.compression = p.compression;
        if (f.bits > 32) f.pixelBytes = 4096;
        cases.push_back(Bmp(p.name, f));
    }
    {
        BmpFields f;
        f.infoSize = 12;
        f.bits = 32;  // the core header has no 16- or 32-bit form
        cases.push_back(Bmp("core-32bpp", f));
        f = {};
        f.planes = 0;
        cases.push_back(Bmp("planes-0", f));
        f.planes = 2;
        cases.push_back(Bmp("planes-2", f));
        f = {};
        f.bits = 8;
        f.compression = kRle8;
        f.height = -3;  // RLE runs bottom-up only
        cases.push_back(Bmp("rle8-top-down", f));
    }

    // Bit fields no reader can take apart: a gap inside a field, two fields
    // sharing bits, fields beyond a 16-bit pixel, and no field at all.
    for (const auto& [name, bits, masks] :
         {std::tuple{"bitfields-32bpp-gapped-red", 32, std::array{0x00FF00F0u, 0x0000FF00u, 0x0000000Fu}},
          {"bitfields-32bpp-overlapping", 32, std::array{0x00FF0000u, 0x00FFFF00u, 0x000000FFu}},
          {"bitfields-16bpp-red-past-16-bits", 16, std::array{0x001F0000u, 0x07E0u, 0x001Fu}},
          {"bitfields-16bpp-all-zero", 16, std::array{0u, 0u, 0u}}}) {
        BmpFields f;
        f.bits = static_cast<std::uint16_t>(bits);
        f.compression = kBitfields;
        f.masks = masks;
        cases.push_back(Bmp(name, f));
    }

    // More colours than the bit count can index.
    for (const auto& [bits, count] :
         {std::pair<std::uint16_t, std::uint32_t>{1, 3}, {4, 17}, {8, 257}}) {
        BmpFields f;
        f.bits = bits;
        f.colorsUsed = count;
        cases.push_back(Bmp("colours-" + std::to_string(count) + "-at-" + std::to_string(bits) +
                                "bpp",
                            f));
    }
    {
        BmpFields f = Palette8();
        f.colorsUsed = 0xFFFFFFFFu;
        f.tableEntries = 256;
        cases.push_back(Bmp("colours-4G-at-8bpp", f));
        f = {};
        f.colorsUsed = (1u << 24) + 1;
        f.tableEntries = 0;
        cases.push_back(Bmp("colours-2^24+1-at-24bpp", f));
    }

    // Cut at each boundary of an 8-bit file: file header, header size, info
    // header, colour table, and inside the pixels.
    {
        const Bytes good8 = MakeBmp(Palette8());
        const std::size_t table = 14 + 40 + 256 * 4;
        for (const auto& [name, size] :
             {std::pair<const char*, std::size_t>{"cut-at-2-after-magic", 2},
              {"cut-at-13-inside-file-header", 13},
              {"cut-at-14-after-file-header", 14},
              {"cut-at-18-after-header-size", 18},
              {"cut-at-30-inside-info-header", 30},
              {"cut-at-54-after-info-header", 54},
              {"cut-at-566-inside-colour-table", 14 + 40 + 512},
              {"cut-at-1078-after-colour-table", table},
              {"cut-mid-pixels", table + 8},
              {"cut-one-byte-short", good8.size() - 1}}) {
            add(std::string("8bpp-") + name, Cut(good8, size));
        }
        BmpFields v5;
        v5.infoSize = 124;
        const Bytes good = MakeBmp(v5);
        add("v5-cut-at-18", Cut(good, 18));
        add("v5-cut-inside-header", Cut(good, 14 + 123));
        add("v5-cut-at-138-after-header", Cut(good, 14 + 124));
        add("v5-cut-mid-pixels", Cut(good, 14 + 124 + 20));
        BmpFields core;
        core.infoSize = 12;
        add("core-cut-mid-pixels", Cut(MakeBmp(core), 14 + 12 + 20));
    }

    // Sizes that must be refused before anything is allocated for them. A
    // BMP can say 100,000 x 100,000; a JPEG frame header has 16-bit fields,
    // so 65535 x 65535 is the largest a JPEG can claim.
    {
        BmpFields f;
        f.width = f.height = 100000;
        f.pixelBytes = 4096;
        cases.push_back(Bmp("bmp-100000x100000", f));
        f.height = -100000;
        cases.push_back(Bmp("bmp-100000x100000-top-down", f));
        f.width = 16385;  // one column more than 256 Mpixels
        f.height = 16384;
        cases.push_back(Bmp("bmp-16385x16384", f));
    }

    // JPEG frame headers: cut at every field, lying about their length or
    // size, or missing before the scan.
    {
        const GreyJpeg grey = MakeGreyJpeg(16, 16);
        const std::size_t sof = grey.frameMarker;
        for (const auto& [name, at] : {std::pair<const char*, std::size_t>{"marker", 2},
                                       {"length", 4},
                                       {"precision", 5},
                                       {"mid-height", 6},
                                       {"dimensions", 9},
                                       {"component-count", 10},
                                       {"mid-component", 12}}) {
            add(std::string("jpeg-frame-cut-after-") + name, Cut(grey.bytes, sof + at));
        }
        add("jpeg-cut-before-frame", Cut(grey.bytes, sof));
        Bytes lying = grey.bytes;
        lying[sof + 3] = 0x11;  // length for three components, with one
        add("jpeg-frame-length-lies", lying);
        Bytes flat = grey.bytes;
        flat[sof + 5] = flat[sof + 6] = 0;
        add("jpeg-height-0", flat);
        Bytes huge = grey.bytes;
        for (std::size_t i = 5; i < 9; ++i) huge[sof + i] = 0xFF;
        add("jpeg-65535x65535", huge);
        Bytes scanFirst(grey.bytes.begin(), grey.bytes.begin() + static_cast<long>(sof));
        scanFirst.insert(scanFirst.end(), grey.bytes.begin() + static_cast<long>(grey.scanMarker),
                         grey.bytes.end());
        add("jpeg-scan-without-frame", scanFirst);
        add("jpeg-end-marker-first", Bytes{0xFF, 0xD9, 0xFF, 0xD8, 0xFF, 0xD9});
    }
    return cases;
}

std::vector<ImageCase> HostilePayloads() {
    std::vector<ImageCase> cases;
    const auto rle8 = [&](std::string name, Bytes data) {
        BmpFields f = Palette8();
        f.compression = kRle8;
        f.pixelBytes = data.size();
        Bytes file = MakeBmp(f);
        std::copy(data.begin(), data.end(), file.end() - static_cast<long>(data.size()));
        cases.push_back({std::move(name), std::move(file), 5, 3});
    };
    rle8("rle8-run-past-the-row", {200, 0x07, 0x00, 0x01});
    rle8("rle8-delta-past-the-picture", {0x00, 0x02, 0xFF, 0xFF, 0x02, 0x07, 0x00, 0x01});
    rle8("rle8-literal-past-the-data", {0x00, 0xFF, 0x01, 0x02, 0x03});
    Bytes lines;
    for (int i = 0; i < 200; ++i) Append(lines, {0x05, 0x03, 0x00, 0x00});  // many more rows than 3
    rle8("rle8-rows-past-the-picture-and-no-end", lines);
    {
        BmpFields f;
        f.bits = 4;
        f.compression = kRle4;
        f.pixelBytes = 4;
        Bytes file = MakeBmp(f);
        const Bytes data{0xFF, 0x12, 0x00, 0x01};
        std::copy(data.begin(), data.end(), file.end() - 4);
        cases.push_back({"rle4-run-past-the-row", std::move(file), 5, 3});
    }
    {
        // Two colours in the table; the pixels index far beyond them.
        BmpFields f = Palette8();
        f.colorsUsed = 2;
        Bytes file = MakeBmp(f);
        const std::size_t pixels = 14 + 40 + 2 * 4;
        std::fill(file.begin() + static_cast<long>(pixels), file.end(), 0xFF);
        cases.push_back({"8bpp-index-beyond-2-colour-table", std::move(file), 5, 3});
    }
    for (const std::uint32_t mask : {0u, 0xFFFFFFFFu}) {
        for (const std::uint16_t bits : {std::uint16_t{16}, std::uint16_t{32}}) {
            BmpFields f;
            f.bits = bits;
            f.compression = kBitfields;
            Bytes file = MakeBmp(f);
            for (std::size_t m = 0; m < 3; ++m) SetLe32(file, 14 + 40 + 4 * m, mask);
            cases.push_back({"bitfields-" + std::to_string(bits) + "bpp-masks-" +
                                 (mask ? std::string("all-ones") : std::string("zero")),
                             std::move(file), 5, 3});
        }
    }
    {
        const GreyJpeg grey = MakeGreyJpeg(64, 48);
        const std::size_t scanData = grey.scanMarker + 10;
        cases.push_back({"jpeg-cut-after-scan-header", Cut(grey.bytes, scanData), 64, 48});
        cases.push_back({"jpeg-cut-mid-scan", Cut(grey.bytes, grey.bytes.size() - 10), 64, 48});
        GreyJpeg wide = MakeGreyJpeg(8, 8);
        Bytes w = wide.bytes;
        w[wide.frameMarker + 7] = w[wide.frameMarker + 8] = 0xFF;  // 65535 x 8, one block of data
        cases.push_back({"jpeg-65535-wide-one-block-of-data", std::move(w), 65535, 8});
        const auto frameEnd = grey.bytes.begin() + static_cast<long>(grey.frameMarker) + 13;
        Bytes noTables(grey.bytes.begin(), frameEnd);
        noTables.insert(noTables.end(), grey.bytes.begin() + static_cast<long>(grey.scanMarker),
                        grey.bytes.end());
        cases.push_back({"jpeg-without-huffman-tables", std::move(noTables), 64, 48});
    }
    return cases;
}

std::vector<ValidImage> ValidImages() {
    std::vector<ValidImage> images;
    const auto add = [&](std::string name, const BmpFields& f) {
        images.push_back({std::move(name), MakeBmp(f), static_cast<int>(Magnitude(f.width)),
                          static_cast<int>(Magnitude(f.height)), BmpPixels(f), BmpTolerance(f)});
    };
    add("24bpp-bottom-up", BmpFields{});
    BmpFields f;
    f.height = -3;
    add("24bpp-top-down", f);
    add("8bpp-palette", Palette8());
    f = {};
    f.bits = 4;
    f.colorsUsed = 5;
    add("4bpp-five-colours", f);
    f = {};
    f.infoSize = 12;
    add("24bpp-core-header", f);
    f = {};
    f.infoSize = 124;
    add("24bpp-v5-header", f);
    add("8bpp-rle8", Palette8().Compression(kRle8));
    // Bit fields: the usual orders, the reverse ones, and fields that are
    // not whole bytes, in each kind of header that can carry them.
    struct Fields {
        const char* name;
        std::uint32_t infoSize;
        std::uint16_t bits;
        std::array<std::uint32_t, 3> masks;  // red, green, blue
    };
    for (const Fields& b : {
             Fields{"32bpp-bitfields-xrgb", 40, 32, {0x00FF0000u, 0x0000FF00u, 0x000000FFu}},
             {"32bpp-bitfields-xbgr", 40, 32, {0x000000FFu, 0x0000FF00u, 0x00FF0000u}},
             {"32bpp-bitfields-bgrx-v3-header", 56, 32, {0x0000FF00u, 0x00FF0000u, 0xFF000000u}},
             {"32bpp-bitfields-10-10-10-v5-header", 124, 32, {0x3FF00000u, 0x000FFC00u, 0x000003FFu}},
             {"32bpp-bitfields-bgr-11-10-11", 40, 32, {0x000007FFu, 0x001FF800u, 0xFFE00000u}},
             {"16bpp-bitfields-565", 40, 16, {0xF800u, 0x07E0u, 0x001Fu}},
             {"16bpp-bitfields-bgr-565", 40, 16, {0x001Fu, 0x07E0u, 0xF800u}},
             {"16bpp-bitfields-444-v4-header", 108, 16, {0x0F00u, 0x00F0u, 0x000Fu}},
             {"16bpp-bitfields-gbr-6-5-5-v2-header", 52, 16, {0x001Fu, 0xFC00u, 0x03E0u}},
         }) {
        f = {};
        f.infoSize = b.infoSize;
        f.bits = b.bits;
        f.compression = kBitfields;
        f.masks = b.masks;
        add(b.name, f);
    }
    add("32bpp-rgb", BmpFields().Bits(32));
    add("16bpp-rgb-555", BmpFields().Bits(16));
    const GreyJpeg grey = MakeGreyJpeg(20, 12);
    images.push_back({"grey-20x12.jpg", grey.bytes, 20, 12,
                      std::vector<std::uint32_t>(20 * 12, 0x808080u), 2});
    return images;
}

}  // namespace grabwell::test
