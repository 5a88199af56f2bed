#pragma once
// Every modal interaction goes through this seam, so the logic around a
// question or a dialog can be tested without a person to click it. The
// system implementation shows the real boxes and common dialogs.
#include <optional>
#include <string>
#include <string_view>

#include "document/common_dialog.h"
#include "platform/win32.h"

namespace grabwell::document {

class ModalUi {
public:
    virtual ~ModalUi() = default;
    // Returns the button chosen (IDOK, IDYES, ...), as MessageBoxW does.
    virtual int ShowMessage(HWND owner, std::wstring_view text, std::wstring_view title,
                            UINT style) = 0;
    // The file dialogs and the print dialog of the one shared dialog object.
    // A cancelled dialog returns false and leaves the chosen name alone.
    virtual bool ShowOpen(HWND owner, CommonDialog& dialog) = 0;
    virtual bool ShowSave(HWND owner, CommonDialog& dialog) = 0;
    virtual std::optional<PrinterChoice> ShowPrinter(HWND owner, CommonDialog& dialog) = 0;
};

class SystemModalUi : public ModalUi {
public:
    int ShowMessage(HWND owner, std::wstring_view text, std::wstring_view title,
                    UINT style) override;
    bool ShowOpen(HWND owner, CommonDialog& dialog) override;
    bool ShowSave(HWND owner, CommonDialog& dialog) override;
    std::optional<PrinterChoice> ShowPrinter(HWND owner, CommonDialog& dialog) override;
};

}  // namespace grabwell::document
