#pragma once
// Copies part of a window's (or the screen's) pixels into a new Picture.
#include <optional>

#include "capture/picture.h"
#include "platform/unique_any.h"

namespace grabwell::capture {

// A device keeps a system palette worth copying only when it is indexed with
// a full 8-bit table; 16-colour and true-colour devices do not.
bool UsesSystemPalette(int rasterCaps, int sizePalette);

enum class SystemPalette {
    FromDevice,  // copy it when UsesSystemPalette says so
    Always,      // copy it whatever the device says (true-colour test runs)
};

// Where `window` shows on the screen, in screen pixels: its visible bounds
// (platform::Compositor::VisibleBounds), or with `client` its client area.
// Nothing when the window is gone.
std::optional<RECT> WindowOnScreen(HWND window, bool client);

// Copies what `window` shows, off the screen: a composed window's own DC
// holds neither its frame nor what a GPU draws in it, and its rectangle takes
// in invisible borders. left and top count from the corner of
// WindowOnScreen. Parts off the screen come as GDI gives them. Width or
// height 0 is passed to GDI unchanged; a negative one gives the empty Picture
// (GDI would mirror it), as does any failure.
Picture CopyWindowArea(HWND window, bool client, int left, int top, int width, int height,
                       SystemPalette palette = SystemPalette::FromDevice);

// The same from a DC the caller already holds (and keeps).
Picture CopyFromDc(HDC source, int left, int top, int width, int height,
                   SystemPalette palette = SystemPalette::FromDevice);

// A bitmap of width x height that `reference` can draw into: a compatible
// bitmap, or, when the device refuses one that large, a 32-bit top-down DIB
// section of the same size. Null only when both fail.
platform::unique_hbitmap CreateCaptureBitmap(HDC reference, int width, int height);

}  // namespace grabwell::capture
