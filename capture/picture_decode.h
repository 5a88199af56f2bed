#pragma once
// Picture files other than BMP decoded by the platform's codecs (WIC), straight
// into the memory of a DIB section.
#include <cstdint>
#include <span>

#include "capture/picture.h"
#include "core/image_header.h"

namespace grabwell::capture {

// `bytes` is the whole file, `header` what the header check found in it: the
// codec must see the same size, and any size at all within core::kMaxPixels.
// The empty Picture for anything it cannot or may not decode.
Picture DecodePicture(std::span<const std::uint8_t> bytes, const core::ImageHeaderInfo& header);

}  // namespace grabwell::capture
