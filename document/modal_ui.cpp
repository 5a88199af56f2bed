#include "document/modal_ui.h"

#include <string>

namespace grabwell::document {

int SystemModalUi::ShowMessage(HWND owner, std::wstring_view text, std::wstring_view title,
                               UINT style) {
    const std::wstring t(text);
    const std::wstring c(title);
    return ::MessageBoxW(owner, t.c_str(), c.c_str(), style);
}

bool SystemModalUi::ShowOpen(HWND owner, CommonDialog& dialog) { return dialog.ShowOpen(owner); }
bool SystemModalUi::ShowSave(HWND owner, CommonDialog& dialog) { return dialog.ShowSave(owner); }
std::optional<PrinterChoice> SystemModalUi::ShowPrinter(HWND owner, CommonDialog& dialog) {
    return dialog.ShowPrinter(owner);
}

}  // namespace grabwell::document
