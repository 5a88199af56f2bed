#pragma once
// Printing the picture: one page, the picture at the size it has on screen
// (shrunk to fit the printable area when larger), centred.
#include "capture/picture.h"
#include "platform/win32.h"

namespace grabwell::document {

// Draws the picture on the page `page` is on, placed for that device's
// resolution and printable area. False when there is nothing to draw or the
// device refuses it. Separate from the document so any DC (a metafile, say)
// can be drawn on.
bool DrawPictureOnPage(HDC page, const capture::Picture& picture);

// One document named "Grabwell" of one page. A failure part-way abandons the
// job rather than leaving a blank or half page queued.
bool PrintPicture(HDC printer, const capture::Picture& picture);

}  // namespace grabwell::document
