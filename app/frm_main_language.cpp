// Relabelling the window from a language file, and the About box, whose
// language follows the Help Topics caption that the file sets.
#include "app/FrmMain.h"
#include "app/menu_text.h"
#include "core/about_text.h"
#include "core/language_file.h"
#include "document/language_reader.h"
#include "platform/text.h"
#include "resources/resource.h"

namespace grabwell::app {

void FrmMain::LoadLanguageFile(const std::wstring& folder, const std::wstring& fileName) {
    // Every load starts from 25 empty texts, so a short or missing file
    // blanks what it does not name instead of keeping an earlier load's.
    languageLines_ = document::ReadLanguageFile(folder + fileName);
    HMENU menu = ::GetMenu(hwnd());
    for (std::size_t line = 0; line < core::kLanguageLines.size(); ++line) {
        const std::wstring& text = languageLines_[line];
        // Each assignment stands alone: one refused leaves its target as it was.
        switch (core::kLanguageLines[line].target) {
            case core::LanguageTarget::WindowTitle:
                ::SetWindowTextW(hwnd(), text.c_str());
                break;
            case core::LanguageTarget::StatusPanel:
                ::SendMessageW(controls_.StatusBar1, SB_SETTEXTW, 0,
                               reinterpret_cast<LPARAM>(text.c_str()));
                break;
            case core::LanguageTarget::Menu:
                SetMenuCaption(menu, core::kLanguageLines[line].menuId, text, menuHints_[line]);
                break;
        }
    }
    ::DrawMenuBar(hwnd());
}

void FrmMain::RecordMenuHints() {
    HMENU menu = ::GetMenu(hwnd());
    for (std::size_t line = 0; line < core::kLanguageLines.size(); ++line) {
        if (core::kLanguageLines[line].target != core::LanguageTarget::Menu) continue;
        menuHints_[line] = MenuHint(menu, core::kLanguageLines[line].menuId);
    }
}

void FrmMain::mnuChinese_Click() { LoadLanguageFile(env_.programFolder + L"\\language", L"\\chinese.lng"); }

void FrmMain::mnuEnglish_Click() { LoadLanguageFile(env_.programFolder + L"\\language", L"\\English.lng"); }

void FrmMain::mnuAbout_Click() {
    const std::wstring howto = MenuCaption(::GetMenu(hwnd()), IDM_mnuHowto);
    const core::AboutBox about = core::BuildAboutBox(platform::Utf16(howto));
    env_.ui->ShowMessage(hwnd(), platform::Wide(about.text), platform::Wide(about.title),
                         MB_OK | MB_ICONINFORMATION);
}

}  // namespace grabwell::app
