#include "tests/win32/dialog_driver.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <thread>
#include <utility>

#include "tests/win32/test_window_env.h"

namespace grabwell::testing {

namespace {

using Clock = std::chrono::steady_clock;
using DialogTest = std::function<bool(HWND)>;

constexpr int kFileNameCombo = 0x47C;  // cmb13, the explorer-style name box
constexpr int kFileNameEdit = 0x480;   // edt1, the older name box
// A dialog is shown before its last posted set-up messages have run; typing
// straight away can be overwritten by them.
constexpr auto kSettle = std::chrono::milliseconds(300);

std::wstring TextOf(HWND window) {
    wchar_t buffer[1024] = {};
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer),
                               reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                               &length)) {
        return {};
    }
    return buffer;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

HWND FileNameBox(HWND dialog) {
    if (HWND combo = ::GetDlgItem(dialog, kFileNameCombo)) return combo;
    return ::GetDlgItem(dialog, kFileNameEdit);
}

bool BelongsToTarget(HWND window, const DialogTarget& target) {
    if (!::IsWindowVisible(window) || ClassOf(window) != L"#32770") return false;
    DWORD process = 0;
    const DWORD thread = ::GetWindowThreadProcessId(window, &process);
    if (process != target.processId) return false;
    if (target.threadId != 0 && thread != target.threadId) return false;
    return target.title.empty() || TextOf(window) == target.title;
}

struct Search {
    const DialogTarget* target;
    const DialogTest* test;
    HWND found;
};

BOOL CALLBACK SearchTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (BelongsToTarget(window, *search->target) && (*search->test)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(const DialogTarget& target, const DialogTest& test) {
    Search search{&target, &test, nullptr};
    ::EnumWindows(SearchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int MillisecondsLeft(Clock::time_point until) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

HWND WaitForDialog(const DialogTarget& target, const DialogTest& test, Clock::time_point until) {
    HWND dialog = nullptr;
    test::PumpMessages(MillisecondsLeft(until),
                       [&] { return (dialog = FindDialog(target, test)) != nullptr; });
    return dialog;
}

bool WaitClosed(HWND dialog, Clock::time_point until) {
    return test::PumpMessages(MillisecondsLeft(until), [&] {
        return !::IsWindow(dialog) || !::IsWindowVisible(dialog);
    });
}

bool HasButton(HWND dialog, int id) { return ::GetDlgItem(dialog, id) != nullptr; }

void Press(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

BOOL CALLBACK FirstStaticText(HWND child, LPARAM param) {
    auto* text = reinterpret_cast<std::wstring*>(param);
    if (ClassOf(child) != L"Static") return TRUE;
    *text = TextOf(child);
    return text->empty();
}

std::wstring MessageText(HWND dialog) {
    std::wstring text;
    ::EnumChildWindows(dialog, FirstStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

// Closes whatever dialogs the target still shows, innermost (most recent)
// first, so a test whose dialog went wrong does not stay blocked.
void CloseLeftovers(const DialogTarget& target) {
    const DialogTest any = [](HWND) { return true; };
    for (int round = 0; round < 20; ++round) {
        HWND dialog = FindDialog(target, any);
        if (!dialog) return;
        if (HasButton(dialog, IDCANCEL)) {
            Press(dialog, IDCANCEL);
        } else if (HasButton(dialog, IDOK)) {
            Press(dialog, IDOK);
        } else {
            ::PostMessageW(dialog, WM_CLOSE, 0, 0);
        }
        WaitClosed(dialog, Clock::now() + std::chrono::seconds(2));
    }
}

// Waits for a dialog that passes `test`, runs `act` on it (false: could not),
// and waits for the dialog to close.
DialogSeen Drive(const DialogTarget& target, const DialogTest& test,
                 const std::function<bool(HWND)>& act) {
    const auto until = Clock::now() + target.timeout;
    DialogSeen seen;
    HWND dialog = WaitForDialog(target, test, until);
    if (dialog) {
        seen.found = true;
        std::this_thread::sleep_for(kSettle);
        seen.title = TextOf(dialog);
        seen.text = MessageText(dialog);
        if (HWND box = FileNameBox(dialog)) seen.name = TextOf(box);
        seen.done = act(dialog) && WaitClosed(dialog, until);
    }
    if (!seen.done) CloseLeftovers(target);
    return seen;
}

std::future<DialogSeen> Launch(DialogTarget target, DialogTest test,
                               std::function<bool(HWND)> act) {
    return std::async(std::launch::async, [target = std::move(target), test = std::move(test),
                                           act = std::move(act)] {
        return Drive(target, test, act);
    });
}

}  // namespace

std::future<DialogSeen> AcceptFileDialog(std::wstring fileName, DialogTarget target) {
    return Launch(
        std::move(target), [](HWND dialog) { return FileNameBox(dialog) != nullptr; },
        [fileName = std::move(fileName)](HWND dialog) {
            HWND box = FileNameBox(dialog);
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName.c_str()),
                                  SMTO_ABORTIFHUNG, 2000, &ignored);
            if (TextOf(box) != fileName) return false;
            Press(dialog, IDOK);
            return true;
        });
}

std::future<DialogSeen> CancelDialog(DialogTarget target) {
    return PressDialogButton(IDCANCEL, std::move(target));
}

std::future<DialogSeen> PressDialogButton(int button, DialogTarget target) {
    return Launch(
        std::move(target), [button](HWND dialog) { return HasButton(dialog, button); },
        [button](HWND dialog) {
            Press(dialog, button);
            return true;
        });
}

std::future<DialogSeen> AnswerMessageBox(int button, DialogTarget target) {
    return Launch(
        std::move(target), [](HWND dialog) { return FileNameBox(dialog) == nullptr; },
        [button](HWND dialog) {
            if (!HasButton(dialog, button)) return false;
            Press(dialog, button);
            return true;
        });
}

}  // namespace grabwell::testing
