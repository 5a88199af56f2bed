#pragma once
// BMP files read by GDI itself. A BMP is a DIB with a file header, and GDI's
// own DIB engine reads every valid one: any bit fields, old core headers,
// run-length streams, rows either way up, where WIC's BMP decoder under Wine
// refuses bit fields in any but the usual orders.
#include <cstdint>
#include <span>

#include "capture/picture.h"
#include "core/image_header.h"

namespace grabwell::capture {

// `file` is the whole file and `dib` what the header check found in it. The
// empty Picture when GDI will not read it or the memory is not there.
Picture DecodeBmp(std::span<const std::uint8_t> file, const core::BmpDib& dib);

}  // namespace grabwell::capture
