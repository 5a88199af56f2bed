// Help opens the text beside the program in Notepad; Exit asks exactly that
// Notepad to close and then ends the program, without the close-time path.
#include "app/FrmMain.h"

#include <shellapi.h>

#include <string>

namespace grabwell::app {

namespace {
std::wstring WindowsFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring(L"C:\\Windows");
}
}  // namespace

void FrmMain::mnuHowto_Click() {
    const std::wstring readme = env_.programFolder + L"\\readme.txt";
    // Notepad by its full path, and the document in quotes: a program folder
    // with spaces must neither open the wrong file nor run a planted
    // C:\Program.exe.
    const std::wstring notepad = WindowsFolder() + L"\\notepad.exe";
    if (auto started = platform::StartProcess(notepad, L"\"" + notepad + L"\" \"" + readme + L"\"")) {
        help_ = std::move(*started);
        return;
    }
    const auto opened = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(hwnd(), L"open", readme.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (opened > 32) return;
    env_.ui->ShowMessage(hwnd(), L"无法打开帮助文件:\r\n" + readme, env_.exeBaseName,
                         MB_OK | MB_ICONWARNING);
}

void FrmMain::mnuExit_Click() {
    if (help_) platform::AskToClose(*help_);
    // Straight to the end: no placement is written and nothing is asked.
    ::DestroyWindow(hwnd());
}

}  // namespace grabwell::app
