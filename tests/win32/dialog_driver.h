#pragma once
// Plays the person at a modal dialog: from a second thread it waits for a
// dialog box to appear, fills in a file name or picks a button, and reports
// what it saw. The thread that shows the dialog stays blocked in the real
// modal loop, exactly as it would with a person clicking.
//
//   auto answer = AcceptFileDialog(L"C:\\temp\\a.bmp");
//   dialog.ShowSave(nullptr);        // blocks until the driver presses OK
//   DialogSeen seen = answer.get();
//
// If the driver cannot do what it was asked (the dialog refuses the name and
// shows an error, say), it cancels whatever dialogs are left so the test
// fails instead of hanging.
#include <chrono>
#include <future>
#include <string>

#include "platform/win32.h"

namespace grabwell::testing {

struct DialogTarget {
    DWORD processId = ::GetCurrentProcessId();
    // 0: any thread of the process. By default the thread that asked for
    // the driver, which is the one about to show the dialog.
    DWORD threadId = ::GetCurrentThreadId();
    std::wstring title;  // empty: any title
    std::chrono::milliseconds timeout{15000};
};

struct DialogSeen {
    bool found = false;  // a matching dialog appeared in time
    bool done = false;   // the action was taken and the dialog closed
    std::wstring title;
    std::wstring text;   // a message box's message
    std::wstring name;   // a file dialog's name box as the dialog opened
};

// Types fileName into a file dialog's name box and presses OK.
std::future<DialogSeen> AcceptFileDialog(std::wstring fileName, DialogTarget target = {});

// Presses Cancel on the first dialog that has a Cancel button.
std::future<DialogSeen> CancelDialog(DialogTarget target = {});

// Presses a button of the first dialog of any kind that has it (OK on the
// print dialog, say).
std::future<DialogSeen> PressDialogButton(int button, DialogTarget target = {});

// Presses one button (IDYES, IDNO, IDCANCEL, IDOK, ...) of a message box.
// A box without that button is left alone (and then cancelled).
std::future<DialogSeen> AnswerMessageBox(int button, DialogTarget target = {});

}  // namespace grabwell::testing
