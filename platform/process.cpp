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

void EndProcess(const StartedProcess& started) noexcept {
    if (!started.process) return;
    // A handle to an ended process stays valid, so this never reaches a
    // process that merely inherited the id.
    if (::WaitForSingleObject(started.process.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(started.process.get(), 1);
    }
}

}  // namespace grabwell::platform
