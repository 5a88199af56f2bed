// Open, Save and the close-time question about an unsaved picture.
#include "app/FrmMain.h"

#include <commdlg.h>

#include "capture/picture_file.h"
#include "core/caption.h"
#include "platform/text.h"

namespace grabwell::app {

namespace {
constexpr const wchar_t* kPictureFilter = L"Bmp (*.bmp)|*.bmp|JPGE(*.jpg)|*.jpg";
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;  // 6
}  // namespace

std::wstring FrmMain::GetFileName(std::wstring_view path) const {
    return platform::Wide(core::GetFileName(platform::Utf16(path)));
}

void FrmMain::mnuOpen_Click() {
    dialog_.filter = kPictureFilter;
    // Open shows the system's own title, even after Save has set "保存" on
    // the shared dialog; the rest of the dialog's state carries over.
    const std::wstring title = std::exchange(dialog_.dialogTitle, std::wstring());
    const bool chosen = env_.ui->ShowOpen(hwnd(), dialog_);
    dialog_.dialogTitle = title;
    if (!chosen) return;

    capture::Picture picture = capture::LoadPictureFile(dialog_.fileName);
    if (picture.empty()) return;  // nothing changes: picture, caption, viewport
    const core::Size size = picture.size();
    InstallPicture(std::move(picture));
    const std::u16string caption = core::OpenedCaption(
        platform::Utf16(env_.exeBaseName), platform::Utf16(dialog_.fileName), size.cx, size.cy);
    ::SetWindowTextW(hwnd(), platform::Wide(caption).c_str());
    LayoutViewport();
}

void FrmMain::mnusave_Click() {
    // With nothing to save there is nothing to ask about.
    if (CurrentPicture().empty()) return;
    dialog_.defaultExt = L".BMP";
    dialog_.flags = kSaveFlags;
    dialog_.filter = kPictureFilter;
    dialog_.dialogTitle = L"保存";
    if (!env_.ui->ShowSave(hwnd(), dialog_)) return;
    // Whatever the name says, the file is a bitmap; the flag clears only
    // once the file is really written.
    if (capture::SavePictureFile(CurrentPicture(), dialog_.fileName)) pictureUnsaved_ = false;
}

bool FrmMain::CloseQuestionCancels() {
    if (!pictureUnsaved_) return false;
    const int answer =
        env_.ui->ShowMessage(hwnd(), L"  文件还没有保存，您要保存吗?", env_.exeBaseName,
                             MB_YESNOCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON1);
    switch (answer) {
        case IDYES:
            mnusave_Click();
            // Stays open unless the save really wrote, or there was no
            // picture to lose (Clear leaves the flag set): Yes must never
            // leave the user unable to close.
            return pictureUnsaved_ && !CurrentPicture().empty();
        case IDNO:
            return false;
        default:
            return true;  // Cancel, Esc and the box's close button
    }
}

}  // namespace grabwell::app
