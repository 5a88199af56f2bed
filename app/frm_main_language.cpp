// Relabelling the window from a language file, and the About box, whose
// language follows the Help Topics caption that the file sets.
#include <array>

#include "app/FrmMain.h"
#include "app/menu_text.h"
#include "core/about_text.h"
#include "document/language_reader.h"
#include "platform/text.h"
#include "resources/resource.h"

namespace grabwell::app {

namespace {

// Line order of the language files; 0 marks the two targets that are not
// menu items (the window title and the first status panel).
constexpr std::array<UINT, core::kLanguageLineCount> kLineTargets{
    0,
    0,
    IDM_mnuFile,
    IDM_mnuOpen,
    IDM_mnusave,
    IDM_mnuWallpaper,
    IDM_mnuClearWall,
    IDM_mnuprint,
    IDM_mnuClear,
    IDM_mnuExit,
    IDM_mnuCapture,
    IDM_mnuScreen,
    IDM_mnuAtiveWindow,
    IDM_mnuClient,
    IDM_mnuTitleBar,
    IDM_mnuScroll,
    IDM_mnuView,
    IDM_mnuMspaint,
    IDM_mnuLanguage,
    IDM_mnuChinese,
    IDM_mnuEnglish,
    IDM_mnuDistrict,
    IDM_mnuhelp,
    IDM_mnuAbout,
    IDM_mnuHowto,
};

}  // namespace

void FrmMain::LoadLanguageFile(const std::wstring& folder, const std::wstring& fileName) {
    // Every load starts from 25 empty texts, so a short or missing file
    // blanks what it does not name instead of keeping an earlier load's.
    languageLines_ = document::ReadLanguageFile(folder + fileName);
    HMENU menu = ::GetMenu(hwnd());
    for (std::size_t line = 0; line < kLineTargets.size(); ++line) {
        const std::wstring& text = languageLines_[line];
        // Each assignment stands alone: one refused leaves its target as it was.
        if (line == 0) {
            ::SetWindowTextW(hwnd(), text.c_str());
        } else if (line == 1) {
            ::SendMessageW(controls_.StatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
        } else {
            SetMenuCaption(menu, kLineTargets[line], text);
        }
    }
    ::DrawMenuBar(hwnd());
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
