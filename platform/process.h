#pragma once
// Starting a helper program and ending exactly that program later. The
// process handle is kept, not just the id: an id can be reused by an
// unrelated process once the first has exited.
#include <optional>
#include <string>

#include "platform/unique_any.h"

namespace grabwell::platform {

struct StartedProcess {
    unique_handle process;
    DWORD id = 0;
};

// Starts `commandLine` (application path given separately, so no search path
// is involved) in a normal window that takes the focus.
std::optional<StartedProcess> StartProcess(const std::wstring& application,
                                           std::wstring commandLine);

// Ends the process if it is still running. Failures are ignored: the process
// may have ended already, or we may lack the right to end it.
void EndProcess(const StartedProcess& started) noexcept;

}  // namespace grabwell::platform
