#pragma once
// The one dialog object behind the open, save and print dialogs. Like a
// single common-dialog control it keeps every property between uses, the
// last chosen file name included, which becomes the next dialog's initial
// name.
#include <optional>
#include <string>

#include "platform/unique_any.h"

namespace grabwell::document {

struct PrinterChoice {
    platform::unique_hdc dc;  // a printer DC for the chosen printer and settings
};

class CommonDialog {
public:
    // Properties, as the commands set them ("a|b|c|d" filter form).
    std::wstring fileName;
    std::wstring filter;
    std::wstring defaultExt;
    std::wstring dialogTitle;
    DWORD flags = 0;

    bool ShowOpen(HWND owner);
    bool ShowSave(HWND owner);
    std::optional<PrinterChoice> ShowPrinter(HWND owner);
};

}  // namespace grabwell::document
