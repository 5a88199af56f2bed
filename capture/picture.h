#pragma once
// The picture every command works on: one bitmap and, for a capture on a
// palette display, its palette. A capture's bitmap is in the display's
// format; a file's is a DIB section holding the pixels as decoded, which
// every user (painting, saving, printing) reads through GDI alike. Copies
// share the same bitmap; the last copy to go frees the bitmap and the palette.
#include <memory>

#include "core/geometry.h"
#include "platform/unique_any.h"

namespace grabwell::capture {

class Picture {
public:
    Picture() = default;  // the empty picture: handle 0, size 0 x 0

    HBITMAP handle() const noexcept { return owned_ ? owned_->bitmap.get() : nullptr; }
    HPALETTE palette() const noexcept { return owned_ ? owned_->palette.get() : nullptr; }
    core::Size size() const noexcept { return owned_ ? owned_->size : core::Size{}; }
    bool empty() const noexcept { return handle() == nullptr; }
    explicit operator bool() const noexcept { return !empty(); }

    friend Picture PictureFromBitmap(platform::unique_hbitmap bitmap,
                                     platform::unique_hpalette palette);

private:
    struct Owned {
        platform::unique_hbitmap bitmap;
        platform::unique_hpalette palette;
        core::Size size;
    };
    std::shared_ptr<const Owned> owned_;
};

// Takes ownership of both handles. A null bitmap gives the empty picture (and
// the palette is freed at once).
Picture PictureFromBitmap(platform::unique_hbitmap bitmap,
                          platform::unique_hpalette palette = platform::unique_hpalette());

}  // namespace grabwell::capture
