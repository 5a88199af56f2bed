#pragma once
// "Edit in Paint": the picture goes to a fixed file beside the program and
// Paint is asked to edit that file. Nothing waits for Paint and nothing is
// read back; the user saves from Paint wherever they like.
#include <string>

#include "capture/picture.h"
#include "platform/win32.h"
// After windows.h, which WIN32_LEAN_AND_MEAN keeps from including it.
#include <shellapi.h>

namespace grabwell::document {

// <programFolder>\Temp\temp.bmp; every hand-off overwrites it.
std::wstring PaintTempFile(const std::wstring& programFolder);

// The launch of Paint's "edit" verb through its registered class, quiet on
// failure. The record points into `path`, which must outlive it.
SHELLEXECUTEINFOW PaintLaunchRecord(HWND owner, const std::wstring& path);

// Empty picture: does nothing. Otherwise writes the temp file (creating the
// Temp folder when missing), or, when the program folder is closed to this
// user, %LOCALAPPDATA%\Grabwell\Temp\temp.bmp; then starts the editor on
// the file written: through Paint's class when its command names a program
// that is there; else the system folder's mspaint.exe (Windows 10); else
// Paint's app execution alias in %LOCALAPPDATA%\Microsoft\WindowsApps
// (Windows 11); else the file's own "edit" verb. None of them shows the
// shell's error box. False when nothing was written or nothing could be
// started. `written`, when given, receives the file written, or empty.
bool EditInPaint(HWND owner, const capture::Picture& picture, const std::wstring& programFolder,
                 std::wstring* written = nullptr);

}  // namespace grabwell::document
