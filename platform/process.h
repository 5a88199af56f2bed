#pragma once
// Starting a helper program and later asking exactly that program to close.
// The process handle is kept, not just the id: an id can be reused by an
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

// Asks the process's own top-level windows to close, as their close boxes
// would, and returns without waiting: a program holding unsaved work asks
// its own question. A process that has ended is left alone, and so is any
// other process it handed its work to (Windows 11's notepad.exe starts the
// Store Notepad, which may be one the user had open already).
void AskToClose(const StartedProcess& started) noexcept;

}  // namespace grabwell::platform
