// Stands in for a program a test must see started (a planted mspaint.exe,
// Paint's Windows 11 alias): writes its arguments to "<its path>.ran". As
// notepad.exe it is Windows 11's, which starts another Notepad and ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    char utf8[4096] = {};
    DWORD size = static_cast<DWORD>(::WideCharToMultiByte(CP_UTF8, 0, arguments, -1, utf8, 4096, nullptr, nullptr));
    const HANDLE file = ::CreateFileW((std::wstring(self) + L".ran").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ::WriteFile(file, utf8, size > 0 ? size - 1 : 0, &size, nullptr);
    ::CloseHandle(file);
    if (::lstrcmpiW(::wcsrchr(self, L'\\'), L"\\notepad.exe") != 0) return 0;
    wchar_t notepad[MAX_PATH] = {};
    ::GetSystemDirectoryW(notepad, MAX_PATH - 12);
    std::wstring line = L"notepad.exe " + std::wstring(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    return !::CreateProcessW(::lstrcatW(notepad, L"\\notepad.exe"), line.data(), nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, &startup, &started);
}
