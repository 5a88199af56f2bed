#pragma once
// Shared scaffolding for tests that create the real main window inside the
// test process: a scratch settings key, a scratch program folder, a scripted
// stand-in for the modal UI and a message pump.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/FrmMain.h"
#include "document/modal_ui.h"
#include "tests/win32/document_test_support.h"

namespace grabwell::test {

// Answers message boxes and dialogs from a script instead of a person.
class ScriptedUi : public document::ModalUi {
public:
    struct Message {
        std::wstring text;
        std::wstring title;
        UINT style;
    };
    std::deque<int> answers;                 // message box results, in order
    std::deque<std::optional<std::wstring>> fileChoices;  // nullopt = cancel
    std::vector<Message> messages;
    // Runs as each message box appears, to see what the user would see then.
    std::function<void()> onMessage;
    int openCalls = 0;
    int saveCalls = 0;
    int printCalls = 0;

    int ShowMessage(HWND, std::wstring_view text, std::wstring_view title, UINT style) override;
    bool ShowOpen(HWND, document::CommonDialog& dialog) override;
    bool ShowSave(HWND, document::CommonDialog& dialog) override;
    std::optional<document::PrinterChoice> ShowPrinter(HWND, document::CommonDialog&) override;

private:
    bool Choose(document::CommonDialog& dialog);
};

// Runs this thread's messages for a while, or until `done` says so (asked
// at least every 10 ms), and then lets GDI finish what they drew. With 0 it
// runs only what is waiting now. True when `done` said so in time: the one
// way a test waits for something to happen.
bool PumpMessages(int milliseconds, const std::function<bool()>& done = {});

std::wstring UniqueName(std::wstring_view prefix);

// A window's outer rectangle, frame included, in screen pixels.
RECT OuterRect(HWND window);

// The window's caption text.
std::wstring Title(HWND window);
// The text of a status bar panel (0 is the first).
std::wstring StatusText(const app::FrmMain& window, int panel);

// One menu item as the user sees it, in the menu tree's order.
struct MenuEntry {
    int level;
    std::wstring caption;  // text before any TAB; "-" for a separator
    UINT id;               // 0 for a separator
    bool grayed = false;
    bool operator==(const MenuEntry&) const = default;
};
void PrintTo(const MenuEntry& entry, std::ostream* out);
std::vector<MenuEntry> MenuEntries(HMENU root);

// A free-rectangle capture has run its course: idle, the window back from
// the task bar, and the re-posted release has put the arrow back.
bool FreeRectangleFinished(const app::FrmMain& window);

// A registry key and a folder of its own for each test, removed afterwards;
// the folder stands in for the program's own.
class WindowTestEnv {
public:
    WindowTestEnv();
    ~WindowTestEnv();
    WindowTestEnv(const WindowTestEnv&) = delete;
    WindowTestEnv& operator=(const WindowTestEnv&) = delete;

    app::AppEnvironment Environment();
    std::unique_ptr<app::FrmMain> MakeWindow(int show = SW_SHOWNORMAL);

    const std::wstring& settingsKey() const { return settingsKey_; }
    std::filesystem::path folder() const { return folder_.path(); }
    ScriptedUi ui;

private:
    std::wstring settingsKey_;
    grabwell::testing::TempFolder folder_;
};

// A test of the real main window, made afresh in an environment of its own.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = env.MakeWindow();
        ASSERT_TRUE(window);
    }

    WindowTestEnv env;
    std::unique_ptr<app::FrmMain> window;
};

}  // namespace grabwell::test
