#include "capture/picture_file.h"

#include "capture/bmp_decode.h"
#include "capture/bmp_writer.h"
#include "capture/picture_decode.h"
#include "core/bmp_layout.h"
#include "core/image_header.h"
#include "platform/file.h"

namespace grabwell::capture {

namespace {

// A BMP's size fields are 32-bit; every other format stays far below this
// under core::kMaxPixels, and WIC reads memory streams of at most a DWORD.
constexpr std::uint64_t kMaxFileBytes = 0x7FFFFFFFu;

}  // namespace

Picture LoadPictureFile(const std::wstring& path) {
    const auto bytes = platform::ReadWholeFile(path, kMaxFileBytes);
    if (!bytes) return {};
    const core::HeaderCheck check = core::ValidateImageHeader(*bytes);
    if (!check.ok()) return {};
    if (check.info.format == core::ImageFormat::Bmp) return DecodeBmp(*bytes, check.bmp);
    return DecodePicture(*bytes, check.info);
}

bool SavePictureFile(const Picture& picture, const std::wstring& path) {
    if (picture.empty() || platform::IsReadOnlyFile(path)) return false;
    const auto layout = core::PlanBmp(picture.size(), picture.palette() != nullptr);
    if (!layout) return false;
    platform::ReplacementFile temp(path);
    if (!temp || !WriteBmp(picture, *layout, temp)) return false;
    return temp.Commit();
}

}  // namespace grabwell::capture
