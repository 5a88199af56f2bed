#pragma once
// A picture's pixels written out as an uncompressed BMP.
#include "capture/picture.h"
#include "core/bmp_layout.h"
#include "platform/file.h"

namespace grabwell::capture {

// Writes headers, colour table and rows as `layout` plans them (see
// core::PlanBmp), reading the picture back from GDI a strip at a time.
bool WriteBmp(const Picture& picture, const core::BmpLayout& layout,
              platform::ReplacementFile& out);

}  // namespace grabwell::capture
