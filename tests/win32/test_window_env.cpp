#include "test_window_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "tests/win32/document_test_support.h"

namespace grabwell::test {

int ScriptedUi::ShowMessage(HWND, std::wstring_view text, std::wstring_view title, UINT style) {
    messages.push_back({std::wstring(text), std::wstring(title), style});
    if (onMessage) onMessage();
    if (answers.empty()) return IDCANCEL;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedUi::Choose(document::CommonDialog& dialog) {
    if (fileChoices.empty()) return false;
    auto choice = fileChoices.front();
    fileChoices.pop_front();
    if (!choice) return false;
    dialog.fileName = *choice;
    return true;
}

bool ScriptedUi::ShowOpen(HWND, document::CommonDialog& dialog) {
    ++openCalls;
    return Choose(dialog);
}

bool ScriptedUi::ShowSave(HWND, document::CommonDialog& dialog) {
    ++saveCalls;
    return Choose(dialog);
}

std::optional<document::PrinterChoice> ScriptedUi::ShowPrinter(HWND, document::CommonDialog&) {
    ++printCalls;
    return std::nullopt;
}

bool PumpMessages(int milliseconds, const std::function<bool()>& done) {
    const ULONGLONG until = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    bool happened = false;
    for (MSG msg{};;) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done && done()) {
            happened = true;
            break;
        }
        const ULONGLONG now = ::GetTickCount64();
        if (now >= until) break;
        const ULONGLONG wait = std::min<ULONGLONG>(until - now, 10);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(wait), QS_ALLINPUT);
    }
    ::GdiFlush();
    return happened;
}

std::wstring UniqueName(std::wstring_view prefix) {
    static std::atomic<int> counter{0};
    return std::wstring(prefix) + std::to_wstring(::GetCurrentProcessId()) + L"_" +
           std::to_wstring(++counter);
}

RECT OuterRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

std::wstring Title(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

std::wstring StatusText(const app::FrmMain& window, int panel) {
    wchar_t text[512] = {};
    ::SendMessageW(window.controls().StatusBar1, SB_GETTEXTW, static_cast<WPARAM>(panel),
                   reinterpret_cast<LPARAM>(text));
    return text;
}

namespace {

void WalkMenu(HMENU menu, int level, std::vector<MenuEntry>& out) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 255;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) {
            ADD_FAILURE() << "menu item " << i << " at level " << level << " unreadable";
            continue;
        }
        if (info.fType & MFT_SEPARATOR) {
            out.push_back({level, L"-", 0});
            continue;
        }
        std::wstring caption(text);
        caption = caption.substr(0, caption.find(L'\t'));
        out.push_back({level, caption, info.wID, (info.fState & MFS_GRAYED) != 0});
        if (info.hSubMenu) WalkMenu(info.hSubMenu, level + 1, out);
    }
}

}  // namespace

void PrintTo(const MenuEntry& entry, std::ostream* out) {
    *out << entry.level << " '" << grabwell::testing::Utf8ForTrace(entry.caption) << "' " << entry.id
         << (entry.grayed ? " grayed" : "");
}

std::vector<MenuEntry> MenuEntries(HMENU root) {
    std::vector<MenuEntry> entries;
    WalkMenu(root, 0, entries);
    return entries;
}

bool FreeRectangleFinished(const app::FrmMain& window) {
    return window.freeRectangle() == app::FreeRectangleState::Idle &&
           !::IsIconic(window.hwnd()) && ::GetCursor() == ::LoadCursorW(nullptr, IDC_ARROW);
}

WindowTestEnv::WindowTestEnv()
    : settingsKey_(L"Software\\GrabwellTests\\" + UniqueName(L"run")) {}

WindowTestEnv::~WindowTestEnv() { ::RegDeleteTreeW(HKEY_CURRENT_USER, settingsKey_.c_str()); }

app::AppEnvironment WindowTestEnv::Environment() {
    app::AppEnvironment env;
    env.instance = ::GetModuleHandleW(nullptr);
    env.programFolder = folder_.path();
    env.exeBaseName = L"Grabwell";
    env.settings = platform::SettingsStore(settingsKey_);
    env.ui = &ui;
    env.quitWhenDestroyed = false;
    return env;
}

std::unique_ptr<app::FrmMain> WindowTestEnv::MakeWindow(int show) {
    auto window = std::make_unique<app::FrmMain>(Environment());
    if (!window->Create(show)) return nullptr;
    PumpMessages(50);
    return window;
}

}  // namespace grabwell::test
