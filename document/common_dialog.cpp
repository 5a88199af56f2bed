#include "document/common_dialog.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace grabwell::document {

namespace {

// Long enough for any path the shell can hand back, and never shorter than
// the name we start from, so a long previous name is not cut.
constexpr std::size_t kMinimumNameBuffer = 32768;

// "Pictures|*.bmp|All|*.*" -> "Pictures\0*.bmp\0All\0*.*\0\0".
std::wstring DoubleNulFilter(const std::wstring& filter) {
    std::wstring list = filter;
    std::replace(list.begin(), list.end(), L'|', L'\0');
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

std::wstring WithoutLeadingDot(const std::wstring& ext) {
    return !ext.empty() && ext.front() == L'.' ? ext.substr(1) : ext;
}

using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEW);

bool RunFileDialog(HWND owner, CommonDialog& dialog, DWORD flags, FileDialogFn show) {
    const std::wstring filter =
        dialog.filter.empty() ? std::wstring() : DoubleNulFilter(dialog.filter);
    const std::wstring ext = WithoutLeadingDot(dialog.defaultExt);

    std::vector<wchar_t> name(std::max(kMinimumNameBuffer, dialog.fileName.size() + 1), L'\0');
    std::copy(dialog.fileName.begin(), dialog.fileName.end(), name.begin());

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrTitle = dialog.dialogTitle.empty() ? nullptr : dialog.dialogTitle.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    // The dialog must not move the process into whatever folder was browsed:
    // that folder could then not be removed while the program runs.
    ofn.Flags = flags | OFN_EXPLORER | OFN_NOCHANGEDIR;

    BOOL chosen = show(&ofn);
    if (!chosen && ::CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
        // The remembered name is one the dialog refuses to start from (a
        // name with characters the file system rejects): start empty rather
        // than fail to show the dialog at all.
        std::fill(name.begin(), name.end(), L'\0');
        chosen = show(&ofn);
    }
    if (!chosen) return false;
    dialog.fileName.assign(name.data());
    return true;
}

}  // namespace

bool CommonDialog::ShowOpen(HWND owner) {
    return RunFileDialog(owner, *this, flags | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                         ::GetOpenFileNameW);
}

bool CommonDialog::ShowSave(HWND owner) {
    return RunFileDialog(owner, *this, flags, ::GetSaveFileNameW);
}

std::optional<PrinterChoice> CommonDialog::ShowPrinter(HWND owner) {
    // The flags property holds file-dialog bits, which mean other things to
    // the print dialog, so only the print dialog's own flags go in.
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = owner;
    pd.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL chosen = ::PrintDlgW(&pd);
    // Everything the dialog allocated is ours from here on, chosen or not.
    const platform::unique_hglobal devMode(pd.hDevMode);
    const platform::unique_hglobal devNames(pd.hDevNames);
    platform::unique_hdc printer(pd.hDC);
    if (!chosen || !printer) return std::nullopt;
    return PrinterChoice{std::move(printer)};
}

}  // namespace grabwell::document
