#include "capture/picture.h"

namespace grabwell::capture {

Picture PictureFromBitmap(platform::unique_hbitmap bitmap, platform::unique_hpalette palette) {
    Picture picture;
    if (!bitmap) return picture;
    BITMAP info{};
    core::Size size;
    if (::GetObjectW(bitmap.get(), sizeof(info), &info) == sizeof(info)) {
        size = {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
    }
    picture.owned_ = std::make_shared<const Picture::Owned>(
        Picture::Owned{std::move(bitmap), std::move(palette), size});
    return picture;
}

}  // namespace grabwell::capture
