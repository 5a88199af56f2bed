// Help opens the readme in Notepad by full path and quoted document, so a
// folder with spaces neither opens the wrong file nor runs a planted program;
// Exit ends exactly the Notepad it started.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "test_window_env.h"

using namespace grabwell;

namespace {

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring ImageOf(DWORD pid) {
    platform::unique_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!process || !::QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    return path;
}

struct TitleSearch {
    DWORD pid;
    std::wstring title;
};

BOOL CALLBACK CollectTitle(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<TitleSearch*>(p);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(w, &owner);
    wchar_t text[256] = {};
    if (owner == s->pid && ::IsWindowVisible(w) && ::GetWindowTextW(w, text, 256) > 0) {
        s->title = text;
        return FALSE;
    }
    return TRUE;
}

// The title of the process's visible window once it mentions `wanted` (Notepad
// shows "Untitled" before the file is loaded), or the last title seen.
std::wstring WindowTitleOf(DWORD pid, std::wstring_view wanted) {
    TitleSearch search{pid, {}};
    test::PumpMessages(5000, [&] {
        search.title.clear();
        ::EnumWindows(CollectTitle, reinterpret_cast<LPARAM>(&search));
        return search.title.find(wanted) != std::wstring::npos;
    });
    return search.title;
}

bool Running(const platform::unique_handle& process) {
    return ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

}  // namespace

TEST(Help, FolderWithSpacesOpensItsOwnReadmeAndRunsNoPlantedProgram) {
    test::WindowTestEnv env;
    const auto root = env.folder() / L"Program Files";
    const auto folder = root / L"Grabwell Tools";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / L"readme.txt") << "help text";
    // Where an unquoted command line would stop at the first space.
    const auto decoy = env.folder() / L"Program.exe";
    std::filesystem::copy_file(ThisProgram(), decoy);
    const auto marker = env.folder() / L"decoy-ran.txt";
    ::SetEnvironmentVariableW(L"GRABWELL_TEST_EDITOR_RECORD", marker.c_str());

    auto environment = env.Environment();
    environment.programFolder = folder.wstring();
    app::FrmMain window(std::move(environment));
    ASSERT_TRUE(window.Create(SW_SHOWNORMAL));
    window.RunCommand(core::CommandId::mnuHowto);
    ::SetEnvironmentVariableW(L"GRABWELL_TEST_EDITOR_RECORD", nullptr);

    const DWORD pid = window.HelpProcessId();
    ASSERT_NE(pid, 0u);
    EXPECT_EQ(::CompareStringOrdinal(std::filesystem::path(ImageOf(pid)).filename().c_str(), -1,
                                     L"notepad.exe", -1, TRUE),
              CSTR_EQUAL);
    const std::wstring title = WindowTitleOf(pid, L"readme");
    EXPECT_NE(title.find(L"readme"), std::wstring::npos)
        << "Notepad did not open the readme: " << std::string(title.begin(), title.end());
    ::Sleep(300);
    EXPECT_FALSE(std::filesystem::exists(marker)) << "the planted program ran";
    EXPECT_TRUE(env.ui.messages.empty());
    platform::unique_handle notepad(::OpenProcess(SYNCHRONIZE, FALSE, pid));
    window.RunCommand(core::CommandId::mnuExit);
    if (notepad) ::WaitForSingleObject(notepad.get(), 5000);
}

TEST(Help, ExitEndsOnlyTheLatestNotepadItStarted) {
    test::WindowTestEnv env;
    std::ofstream(env.folder() / L"readme.txt") << "help";
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);

    window->RunCommand(core::CommandId::mnuHowto);
    platform::unique_handle first(
        ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, window->HelpProcessId()));
    window->RunCommand(core::CommandId::mnuHowto);
    platform::unique_handle second(::OpenProcess(SYNCHRONIZE, FALSE, window->HelpProcessId()));
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);

    window->RunCommand(core::CommandId::mnuExit);
    EXPECT_EQ(::WaitForSingleObject(second.get(), 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(Running(first)) << "an earlier Notepad is not ours to end";
    // Tidy up what the command line left running.
    ::TerminateProcess(first.get(), 0);
    EXPECT_EQ(::WaitForSingleObject(first.get(), 5000), static_cast<DWORD>(WAIT_OBJECT_0));
}
