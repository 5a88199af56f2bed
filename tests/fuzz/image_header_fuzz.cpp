// libFuzzer target for the picture header check: arbitrary bytes as a file,
// read whole, through every kind of prefix, and as the start of a longer file.
#include "core/image_header.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <span>
#include <vector>

namespace {

using grabwell::core::HeaderCheck;
using grabwell::core::HeaderError;
using grabwell::core::ImageFormat;
using Bytes = std::span<const std::uint8_t>;

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "image_header_fuzz: %s\n", what);
    std::abort();
}

bool Same(const HeaderCheck& a, const HeaderCheck& b) {
    return a.error == b.error && a.info.format == b.info.format &&
           a.info.width == b.info.width && a.info.height == b.info.height;
}

bool StartsWith(Bytes file, std::initializer_list<std::uint8_t> magic) {
    return file.size() >= magic.size() && std::equal(magic.begin(), magic.end(), file.begin());
}

ImageFormat FormatByContent(Bytes file) {
    if (StartsWith(file, {'B', 'M'})) return ImageFormat::Bmp;
    if (StartsWith(file, {0xFF, 0xD8})) return ImageFormat::Jpeg;
    if (StartsWith(file, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return ImageFormat::Png;
    return ImageFormat::Other;
}

// What any answer must satisfy, whatever the input.
void CheckSane(const HeaderCheck& check) {
    const auto& info = check.info;
    Check(info.width >= 0 && info.height >= 0, "negative size reported");
    if (info.format == ImageFormat::Other) {
        Check(info.width == 0 && info.height == 0, "size reported for an unknown format");
    }
    if (!check.ok()) return;
    if (info.format == ImageFormat::Other) return;
    Check(info.width > 0 && info.height > 0, "accepted with an unknown size");
    Check(grabwell::core::PixelCountAllowed(info.width, info.height), "accepted too many pixels");
    Check(info.width <= grabwell::core::kMaxPixels / info.height, "accepted beyond kMaxPixels");
    if (info.format == ImageFormat::Jpeg) {
        Check(info.width <= 0xFFFF && info.height <= 0xFFFF, "JPEG size beyond 16 bits");
    }
}

// A prefix of the file either is enough for the whole-file answer or says
// that it is not.
void CheckPrefix(Bytes file, std::size_t length, const HeaderCheck& whole) {
    const HeaderCheck part = grabwell::core::ValidateImageHeader(file.first(length), file.size());
    CheckSane(part);
    if (part.error == HeaderError::NeedMoreData) {
        Check(length < file.size(), "NeedMoreData with the whole file in hand");
        return;
    }
    Check(Same(part, whole), "prefix answer differs from the whole-file answer");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(data, size);
    const HeaderCheck whole = grabwell::core::ValidateImageHeader(file);
    CheckSane(whole);
    Check(whole.error != HeaderError::NeedMoreData, "NeedMoreData for a whole file");
    Check((whole.error == HeaderError::Empty) == (size == 0), "Empty means a zero-length file");
    if (size != 0) Check(whole.info.format == FormatByContent(file), "format not taken from the content");
    if (whole.info.format == ImageFormat::Other) Check(size == 0 || whole.ok(), "unknown format refused");

    // Every short prefix, then a spread of longer ones.
    const std::size_t dense = std::min<std::size_t>(size, 64);
    for (std::size_t length = 0; length <= dense; ++length) CheckPrefix(file, length, whole);
    for (std::size_t step = 1; dense + step < size; step *= 2) {
        CheckPrefix(file, dense + step, whole);
        CheckPrefix(file, size - step, whole);
    }

    // A head longer than the stated file size: only the first fileSize bytes count.
    for (const std::size_t cut : {size / 2, size - std::min<std::size_t>(size, 1)}) {
        const HeaderCheck shorter = grabwell::core::ValidateImageHeader(file, cut);
        Check(Same(shorter, grabwell::core::ValidateImageHeader(file.first(cut))),
              "bytes past fileSize were looked at");
    }

    // The input as the start of a longer file: bytes past the head are only
    // counted on, so the answer must match the file padded out, or ask for more.
    const std::size_t extra = 1 + (size == 0 ? 0 : data[size - 1]) * 17;
    std::vector<std::uint8_t> padded(file.begin(), file.end());
    padded.resize(size + extra, 0);
    const HeaderCheck longer = grabwell::core::ValidateImageHeader(file, padded.size());
    CheckSane(longer);
    if (longer.error != HeaderError::NeedMoreData) {
        Check(Same(longer, grabwell::core::ValidateImageHeader(padded)),
              "answer depends on bytes past the head");
    }
    const HeaderCheck huge = grabwell::core::ValidateImageHeader(file, std::numeric_limits<std::uint64_t>::max());
    CheckSane(huge);
    return 0;
}
