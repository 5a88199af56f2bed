#include "platform/process.h"

namespace grabwell::platform {

std::optional<StartedProcess> StartProcess(const std::wstring& application,
                                           std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(application.empty() ? nullptr : application.c_str(),
                          commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        return std::nullopt;
    }
    unique_handle thread(info.hThread);
    StartedProcess started;
    started.process = unique_handle(info.hProcess);
    started.id = info.dwProcessId;
    return started;
}

namespace {

BOOL CALLBACK PostCloseToWindowOf(HWND window, LPARAM processId) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    // Owned windows (a Find box, a message box) go with their owner.
    if (owner == static_cast<DWORD>(processId) && ::IsWindowVisible(window) &&
        !::GetWindow(window, GW_OWNER)) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

}  // namespace

void AskToClose(const StartedProcess& started) noexcept {
    // While the handle is held the id names this process and no other.
    if (!started.process || ::WaitForSingleObject(started.process.get(), 0) != WAIT_TIMEOUT) return;
    // One that is still starting has no window to ask yet.
    ::WaitForInputIdle(started.process.get(), 2000);
    ::EnumWindows(PostCloseToWindowOf, static_cast<LPARAM>(started.id));
}

}  // namespace grabwell::platform
