// Stands in for a DLL that someone left beside the program, under the name of
// one that the program or a system DLL asks for by name. Being loaded is all
// it does: it writes "<its own path>.loaded", holding the path of the program
// that loaded it, and then behaves as a DLL that loaded fine.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t marker[MAX_PATH + 8] = {};
    const DWORD length = ::GetModuleFileNameW(self, marker, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    ::lstrcatW(marker, L".loaded");
    HANDLE file = ::CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    wchar_t program[MAX_PATH] = {};
    const DWORD programLength = ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    DWORD written = 0;
    ::WriteFile(file, program, programLength * sizeof(wchar_t), &written, nullptr);
    ::CloseHandle(file);
    return TRUE;
}
