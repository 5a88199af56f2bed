// Faults from outside the program: another process holding the clipboard
// through a free-rectangle capture, save targets that cannot take the file,
// and a language folder that is not there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "app/menu_text.h"
#include "capture_test_support.h"
#include "platform/clipboard.h"
#include "resources/resource.h"
#include "tests/shared/mouse_input.h"
#include "test_window_env.h"

using namespace grabwell;
namespace fs = std::filesystem;
namespace support = grabwell::testing;
using support::BlockWindow;
using support::MouseAt;

namespace {

constexpr wchar_t kHolderVariable[] = L"GRABWELL_TEST_HOLD_CLIPBOARD";
constexpr wchar_t kHolderText[] = L"put there by the other process";

// Started as the clipboard holder (the variable, inherited from the test that
// launched it, says "<milliseconds> <event name>"): take the clipboard with a
// text of its own, say so through the event, keep it open for that long, and
// end before any test runs.
[[maybe_unused]] const bool kRanAsClipboardHolder = [] {
    wchar_t request[256] = {};
    if (!::GetEnvironmentVariableW(kHolderVariable, request, 256)) return false;
    wchar_t* name = nullptr;
    const DWORD holdMs = std::wcstoul(request, &name, 10);
    const HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, name + 1);
    // With no owner window the system may refuse the data after emptying.
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         nullptr, nullptr);
    bool put = false;
    {
        platform::ClipboardSession session(owner, 100, 20);
        if (session && ::EmptyClipboard()) {
            HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(kHolderText));
            if (memory) {
                std::memcpy(::GlobalLock(memory), kHolderText, sizeof(kHolderText));
                ::GlobalUnlock(memory);
                put = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
            }
        }
        if (put && ready) ::SetEvent(ready);
        ::Sleep(holdMs);
    }
    ::ExitProcess(put ? 0 : 1);
}();

// This test program started again as the holder, with the clipboard open
// once the constructor returns (when `holding()`).
class ClipboardHeldElsewhere {
public:
    explicit ClipboardHeldElsewhere(DWORD holdMs) {
        const std::wstring eventName = test::UniqueName(L"GrabwellClipboardHolder");
        ready_.reset(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring commandLine = L"\"" + std::wstring(self) + L"\"";
        const std::wstring request = std::to_wstring(holdMs) + L" " + eventName;
        ::SetEnvironmentVariableW(kHolderVariable, request.c_str());
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started{};
        if (::CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &started)) {
            ::CloseHandle(started.hThread);
            process_.reset(started.hProcess);
        }
        ::SetEnvironmentVariableW(kHolderVariable, nullptr);
        if (!ready_ || !process_) return;
        const HANDLE either[] = {ready_.get(), process_.get()};
        holding_ = ::WaitForMultipleObjects(2, either, FALSE, 30000) == WAIT_OBJECT_0;
    }
    ~ClipboardHeldElsewhere() {
        if (process_) ::WaitForSingleObject(process_.get(), 30000);
    }
    ClipboardHeldElsewhere(const ClipboardHeldElsewhere&) = delete;
    ClipboardHeldElsewhere& operator=(const ClipboardHeldElsewhere&) = delete;

    bool holding() const { return holding_; }
    // True once the holder has let go and ended normally.
    bool Finished(DWORD timeoutMs) const {
        DWORD code = 1;
        return ::WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0 &&
               ::GetExitCodeProcess(process_.get(), &code) && code == 0;
    }

private:
    platform::unique_handle ready_;
    platform::unique_handle process_;
    bool holding_ = false;
};

std::set<std::wstring> Listing(const fs::path& folder) {
    std::set<std::wstring> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        names.insert(entry.path().filename().wstring());
    }
    return names;
}

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FaultsTest : public test::MainWindowTest {
protected:
    // A capture of the client area that is not saved.
    void CaptureUnsaved() {
        window->RunCommand(core::CommandId::mnuClient);
        ASSERT_TRUE(window->PictureUnsaved());
        ASSERT_FALSE(window->CurrentPicture().empty());
    }

    // Save through the command into `target`, which must fail: the old file
    // (when there is one) is byte for byte what it was, the folder holds what
    // it held, and the picture still counts as unsaved.
    void ExpectSaveRefused(const fs::path& target) {
        const fs::path folder = target.parent_path();
        const std::set<std::wstring> listing = Listing(folder);
        const bool existed = fs::exists(target);
        const std::string old = existed ? Contents(target) : std::string();
        env.ui.fileChoices = {target.wstring()};
        const int dialogs = env.ui.saveCalls;
        window->RunCommand(core::CommandId::mnusave);
        EXPECT_EQ(env.ui.saveCalls, dialogs + 1);
        EXPECT_EQ(fs::exists(target), existed);
        if (existed && fs::is_regular_file(target)) {
            EXPECT_EQ(Contents(target), old);
        }
        EXPECT_EQ(Listing(folder), listing) << "nothing left behind";
        EXPECT_TRUE(window->PictureUnsaved());
    }

    std::wstring Caption(UINT id) const { return app::MenuCaption(::GetMenu(window->hwnd()), id); }
    std::wstring Panel1() const { return test::StatusText(*window, 0); }
    std::wstring Title() const { return test::Title(window->hwnd()); }
};

}  // namespace

TEST_F(FaultsTest, ClipboardHeldByAnotherProcessStillDeliversTheFreeRectangle) {
    BlockWindow blocks(560, 300);
    test::PumpMessages(100);
    // Under Wine the first OpenClipboard after another process took the
    // clipboard waits 5 s for the X clipboard manager (which cannot get in
    // either), so the hold has to outlast that wait plus the retries.
    const ClipboardHeldElsewhere holder(8000);
    ASSERT_TRUE(holder.holding()) << "the helper process could not open the clipboard";

    window->RunCommand(core::CommandId::mnuDistrict);
    test::PumpMessages(50);
    ASSERT_TRUE(window->RegionSelecting());
    POINT client{0, 0};
    ::ClientToScreen(blocks.hwnd(), &client);
    const POINT from{client.x + 10, client.y + 10};
    const POINT to{client.x + 150, client.y + 110};
    INPUT drag[] = {MouseAt(from, 0), MouseAt(from, MOUSEEVENTF_LEFTDOWN),
                    MouseAt({(from.x + to.x) / 2, (from.y + to.y) / 2}, 0), MouseAt(to, 0),
                    MouseAt(to, MOUSEEVENTF_LEFTUP)};
    for (INPUT& event : drag) ::SendInput(1, &event, sizeof(event));
    test::PumpMessages(15000, [&] { return test::FreeRectangleFinished(*window); });

    EXPECT_NE(::GetOpenClipboardWindow(), nullptr)
        << "the capture ended while the clipboard was held";
    const support::Pixels pixels = support::ReadPixels(window->CurrentPicture().handle());
    ASSERT_EQ(pixels.width, to.x - from.x);
    ASSERT_EQ(pixels.height, to.y - from.y);
    if (!support::PaletteScreen()) {
        int wrong = 0;
        for (int y = 0; y < pixels.height; ++y) {
            for (int x = 0; x < pixels.width; ++x) {
                const COLORREF want = BlockWindow::BlockColour(x + 10, y + 10);
                if (pixels.at(x, y) != support::Rgb(want)) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
    EXPECT_TRUE(holder.Finished(10000));
    // Had the copy gone onto the clipboard after all, its bitmap would still
    // be there: only the holder emptied it, before the capture.
    platform::ClipboardSession session(nullptr);
    ASSERT_TRUE(session);
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_BITMAP));
}

TEST_F(FaultsTest, SavesThatCannotWriteLeaveTheOldFileAndNoTemporary) {
    CaptureUnsaved();
    const std::string old = "the previous picture, byte for byte";

    // Read-only. Wine would open it for writing and rename over it (its
    // attribute is only the Unix write bits, and the tests run as root).
    const fs::path locked = env.folder() / L"locked.bmp";
    std::ofstream(locked, std::ios::binary) << old;
    ASSERT_TRUE(::SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    ExpectSaveRefused(locked);
    EXPECT_TRUE(::GetFileAttributesW(locked.c_str()) & FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);

    // A folder that is not there is not made for the file.
    ExpectSaveRefused(env.folder() / L"no such folder" / L"shot.bmp");
    EXPECT_FALSE(fs::exists(env.folder() / L"no such folder"));

    // A name that is a folder already.
    fs::create_directories(env.folder() / L"taken.bmp");
    ExpectSaveRefused(env.folder() / L"taken.bmp");
    EXPECT_TRUE(fs::is_directory(env.folder() / L"taken.bmp"));
}

// A volume too small for the picture: scripts/soak mounts a 64 KiB tmpfs
// and names it in GRABWELL_TEST_FULL_VOLUME (a Windows path). Wine reports
// the full volume as a short write, not an error.
TEST_F(FaultsTest, SaveOntoAFullVolumeLeavesTheOldFileAndFreesTheSpace) {
    const char* volume = std::getenv("GRABWELL_TEST_FULL_VOLUME");
    if (!volume || !*volume) GTEST_SKIP() << "no small volume (scripts/soak mounts one)";
    const fs::path folder = fs::path(volume) / test::UniqueName(L"full");
    ASSERT_TRUE(fs::create_directories(folder));
    const fs::path target = folder / L"shot.bmp";
    std::ofstream(target, std::ios::binary) << "the previous picture, byte for byte";
    ULARGE_INTEGER freeBefore{}, freeAfter{};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(folder.c_str(), &freeBefore, nullptr, nullptr));
    CaptureUnsaved();
    const core::Size size = window->CurrentPicture().size();
    ASSERT_GT(std::uint64_t{3} * static_cast<std::uint64_t>(size.cx * size.cy), freeBefore.QuadPart)
        << "the picture must not fit";

    ExpectSaveRefused(target);
    ASSERT_TRUE(::GetDiskFreeSpaceExW(folder.c_str(), &freeAfter, nullptr, nullptr));
    EXPECT_EQ(freeAfter.QuadPart, freeBefore.QuadPart);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

TEST_F(FaultsTest, LanguageFolderMissingOrAFolderWhereTheFileShouldBeBlanksEveryTarget) {
    const auto expectBlank = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(Title(), L"");
        EXPECT_EQ(Panel1(), L"");
        for (UINT id : {IDM_mnuFile, IDM_mnuOpen, IDM_mnuCapture, IDM_mnuChinese, IDM_mnuHowto}) {
            EXPECT_EQ(Caption(id), L"") << id;
        }
        EXPECT_TRUE(::IsWindow(window->hwnd()));
    };
    ASSERT_FALSE(fs::exists(env.folder() / L"language"));
    window->RunCommand(core::CommandId::mnuEnglish);
    expectBlank("English, no folder");
    window->RunCommand(core::CommandId::mnuChinese);
    expectBlank("Chinese, no folder");

    // Still usable: the menu commands run by id whatever their captions.
    window->RunCommand(core::CommandId::mnuClient);
    EXPECT_FALSE(window->CurrentPicture().empty());

    fs::create_directories(env.folder() / L"language" / L"chinese.lng");
    std::ofstream(env.folder() / L"language" / L"English.lng", std::ios::binary) << "Title\r\n";
    window->RunCommand(core::CommandId::mnuEnglish);
    EXPECT_EQ(Title(), L"Title") << "the folder itself is readable";
    window->RunCommand(core::CommandId::mnuChinese);
    expectBlank("chinese.lng is a folder");
}
