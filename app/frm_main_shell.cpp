// Handing the picture to the rest of the system: Paint, the wallpaper and
// the printer.
#include "app/FrmMain.h"
#include "document/paint_handoff.h"
#include "document/print_picture.h"
#include "document/wallpaper.h"

namespace grabwell::app {

void FrmMain::mnuMspaint_Click() {
    // One way only: the window keeps its picture and its unsaved state.
    if (CurrentPicture().empty()) return;
    std::wstring written;
    if (document::EditInPaint(hwnd(), CurrentPicture(), env_.programFolder, &written)) return;
    // Neither Paint nor any other editor could be started: say so rather
    // than leave the click without an answer, naming the file the picture
    // is in (the per-user one when the program folder was closed to us).
    const std::wstring named = written.empty() ? document::PaintTempFile(env_.programFolder) : written;
    env_.ui->ShowMessage(hwnd(), L"无法用画图编辑图片:\r\n" + named, env_.exeBaseName,
                         MB_OK | MB_ICONWARNING);
}

void FrmMain::mnuWallpaper_Click() { document::SetWallpaper(CurrentPicture(), env_.wallpaperFile); }

void FrmMain::mnuClearWall_Click() { document::ClearWallpaper(); }

void FrmMain::mnuprint_Click() {
    // The dialog shows even with no picture; only a confirmed dialog with a
    // picture prints anything.
    std::optional<document::PrinterChoice> printer = env_.ui->ShowPrinter(hwnd(), dialog_);
    if (!printer || CurrentPicture().empty()) return;
    document::PrintPicture(printer->dc.get(), CurrentPicture());
}

}  // namespace grabwell::app
