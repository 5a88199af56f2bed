// The Paint hand-off against the real shell: fake editors are registered
// per user, and this test program itself stands in for the editor, writing
// down the command line it was started with.
#include "document/paint_handoff.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdlib>
#include <vector>

#include "document/ansi_path.h"
#include "document/user_files.h"
#include "tests/win32/document_test_support.h"
#include "tests/win32/test_window_env.h"

namespace grabwell::document {
namespace {

using testing::TempFolder;

constexpr wchar_t kRecorderVariable[] = L"GRABWELL_TEST_EDITOR_RECORD";

std::string Utf8(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), n, nullptr, nullptr);
    return utf8.c_str();
}

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// Started as the "editor" (the variable is inherited from the test that
// launched it): record which program ran and its command line, one line
// each, and end before any test runs.
[[maybe_unused]] const bool kRanAsEditor = [] {
    wchar_t record[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(kRecorderVariable, record, MAX_PATH)) return false;
    const std::wstring part = std::wstring(record) + L".part";
    testing::WriteBytes(part, Utf8(ThisProgram() + L"\n" + ::GetCommandLineW()));
    ::MoveFileExW(part.c_str(), record, MOVEFILE_REPLACE_EXISTING);
    ::ExitProcess(0);
}();

struct EditorRun {
    std::string program;
    std::string commandLine;
};


bool SetDefaultValue(HKEY root, const std::wstring& path, const std::wstring& value) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const auto* data = reinterpret_cast<const BYTE*>(value.c_str());
    const LSTATUS status = ::RegSetValueExW(key, nullptr, 0, REG_SZ, data, bytes);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool VisibleInClassesRoot(const std::wstring& name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

// A class registered for the length of a test: per user, as a user's own
// registration would be. Wine 8's HKEY_CLASSES_ROOT shows only the machine's
// classes, so there the class goes under HKLM (of the throwaway prefix).
class ScopedClass {
public:
    explicit ScopedClass(std::wstring name)
        : name_(std::move(name)), path_(L"Software\\Classes\\" + name_) {
        if (SetDefaultValue(root_, path_, L"") && !VisibleInClassesRoot(name_)) {
            ::RegDeleteTreeW(root_, path_.c_str());
            root_ = HKEY_LOCAL_MACHINE;
        }
    }
    ~ScopedClass() { ::RegDeleteTreeW(root_, path_.c_str()); }
    ScopedClass(const ScopedClass&) = delete;
    ScopedClass& operator=(const ScopedClass&) = delete;

    bool Set(const std::wstring& subkey, const std::wstring& value) const {
        return SetDefaultValue(root_, subkey.empty() ? path_ : path_ + L"\\" + subkey, value);
    }
    bool SetEditCommand(const std::wstring& command) const {
        return Set(L"shell\\edit\\command", command);
    }

private:
    std::wstring name_;
    std::wstring path_;
    HKEY root_ = HKEY_CURRENT_USER;
};

class PaintHandoffTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A program folder named in scripts that no one ANSI code page holds
        // together (Chinese and Hebrew), as a Chinese folder is to a Western
        // system: the hand-off must never pass through ANSI.
        program_ = temp_ / L"程序 א";
        ASSERT_FALSE(ExactAnsiPath(program_)) << "the ANSI code page can say the folder's name";
        ASSERT_TRUE(::CreateDirectoryW(program_.c_str(), nullptr));
        record_ = temp_ / L"editor.txt";
        ::SetEnvironmentVariableW(kRecorderVariable, record_.c_str());
    }
    void TearDown() override { ::SetEnvironmentVariableW(kRecorderVariable, nullptr); }

    std::wstring EditorCommand() const { return L"\"" + ThisProgram() + L"\" \"%1\""; }

    // What the fake editor recorded, once it is there; empty when it never ran.
    EditorRun WaitForEditor(int limitMs = 20000) const {
        std::optional<std::string> text;
        test::PumpMessages(limitMs, [&] { return (text = testing::ReadBytes(record_)).has_value(); });
        if (!text) return {};
        const std::size_t newline = text->find('\n');
        return {text->substr(0, newline), text->substr(newline + 1)};
    }

    std::wstring TempFile() const { return PaintTempFile(program_); }

    TempFolder temp_;
    std::wstring program_;
    std::wstring record_;
};

TEST(PaintLaunchRecordTest, AsksPaintsClassToEditTheFile) {
    const std::wstring path = L"C:\\Grabwell\\Temp\\temp.bmp";
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    const SHELLEXECUTEINFOW record = PaintLaunchRecord(owner, path);
    EXPECT_EQ(record.cbSize, sizeof(SHELLEXECUTEINFOW));
    EXPECT_EQ(record.fMask, static_cast<ULONG>(SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI));
    EXPECT_EQ(record.hwnd, owner);
    EXPECT_STREQ(record.lpVerb, L"edit");
    EXPECT_EQ(record.lpFile, path.c_str());
    EXPECT_EQ(record.lpParameters, nullptr);
    EXPECT_EQ(record.lpDirectory, nullptr);
    EXPECT_EQ(record.nShow, SW_SHOWNORMAL);
    EXPECT_STREQ(record.lpClass, L"Paint.Picture");
}

TEST_F(PaintHandoffTest, EmptyPictureWritesAndStartsNothing) {
    ScopedClass paint(L"Paint.Picture");
    ASSERT_TRUE(paint.SetEditCommand(EditorCommand()));
    EXPECT_FALSE(EditInPaint(nullptr, capture::Picture(), program_));
    EXPECT_FALSE(testing::FileExists(TempFile()));
    EXPECT_EQ(WaitForEditor(1000).program, "");
}

TEST_F(PaintHandoffTest, PaintClassEditsTheTempFileAndEachUseOverwritesIt) {
    ScopedClass paint(L"Paint.Picture");
    ASSERT_TRUE(paint.SetEditCommand(EditorCommand()));

    // No Temp folder yet: it is created.
    ASSERT_TRUE(EditInPaint(nullptr, testing::PatternPicture(40, 30), program_));
    EXPECT_EQ(WaitForEditor().commandLine,
              Utf8(L"\"" + ThisProgram() + L"\" \"" + TempFile() + L"\""));
    auto bytes = testing::ReadBytes(TempFile());
    ASSERT_TRUE(bytes);
    auto headers = testing::ParseBmpHeaders(*bytes);
    ASSERT_TRUE(headers);
    EXPECT_EQ(headers->info.biWidth, 40);
    EXPECT_EQ(headers->info.biHeight, 30);

    ::DeleteFileW(record_.c_str());
    ASSERT_TRUE(EditInPaint(nullptr, testing::PatternPicture(17, 9), program_));
    EXPECT_NE(WaitForEditor().commandLine, "");
    bytes = testing::ReadBytes(TempFile());
    ASSERT_TRUE(bytes);
    headers = testing::ParseBmpHeaders(*bytes);
    ASSERT_TRUE(headers);
    EXPECT_EQ(headers->info.biWidth, 17);
    EXPECT_EQ(headers->info.biHeight, 9);
}

TEST_F(PaintHandoffTest, WithoutPaintsClassTheFilesOwnEditVerbIsUsed) {
    ScopedClass extension(L".bmp");
    ScopedClass type(L"GrabwellTest.Bitmap");
    ASSERT_TRUE(extension.Set(L"", L"GrabwellTest.Bitmap"));
    ASSERT_TRUE(type.SetEditCommand(EditorCommand()));

    ASSERT_TRUE(EditInPaint(nullptr, testing::PatternPicture(8, 8), program_));
    EXPECT_NE(WaitForEditor().commandLine.find(Utf8(TempFile())), std::string::npos);
}

TEST_F(PaintHandoffTest, PaintOnlyByFullPathNeverOneInTheCurrentFolderOrOnPath) {
    // A program named mspaint.exe planted where a bare name would find it:
    // the current folder, and first on PATH.
    const std::wstring planted = temp_ / L"planted";
    ASSERT_TRUE(::CreateDirectoryW(planted.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(ThisProgram().c_str(), (planted + L"\\mspaint.exe").c_str(), TRUE));
    wchar_t saved[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, saved);
    std::vector<wchar_t> path(32767);
    ::GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size()));
    const std::wstring oldPath = path.data();
    ::SetCurrentDirectoryW(planted.c_str());
    ::SetEnvironmentVariableW(L"PATH", (planted + L";" + oldPath).c_str());
    struct Restore {
        const wchar_t* folder;
        const std::wstring& path;
        ~Restore() {
            ::SetCurrentDirectoryW(folder);
            ::SetEnvironmentVariableW(L"PATH", path.c_str());
        }
    } restore{saved, oldPath};

    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    const std::wstring paint = std::wstring(system) + L"\\mspaint.exe";
    if (testing::FileExists(paint)) {
        GTEST_SKIP() << "a real Paint is installed; this case needs a system without one";
    }
    // Paint's class names its program bare, which only those two would answer;
    // no edit verb for .bmp, no system Paint: nothing can start, though the
    // file is written.
    ScopedClass paintClass(L"Paint.Picture");
    ASSERT_TRUE(paintClass.SetEditCommand(L"mspaint.exe \"%1\""));
    EXPECT_FALSE(EditInPaint(nullptr, testing::PatternPicture(8, 8), program_));
    EXPECT_TRUE(testing::FileExists(TempFile()));
    EXPECT_EQ(WaitForEditor(2000).program, "") << "the planted program ran";

    // A Paint in the system folder (this throwaway Windows lets us put one
    // there) is the one that starts.
    ASSERT_TRUE(::CopyFileW(ThisProgram().c_str(), paint.c_str(), TRUE));
    const bool started = EditInPaint(nullptr, testing::PatternPicture(8, 8), program_);
    const EditorRun run = WaitForEditor();
    ::DeleteFileW(paint.c_str());
    EXPECT_TRUE(started);
    EXPECT_EQ(run.program, Utf8(paint));
    EXPECT_NE(run.commandLine.find(Utf8(L"\"" + TempFile() + L"\"")), std::string::npos)
        << run.commandLine;
}

TEST_F(PaintHandoffTest, AProgramFolderClosedToTheUserSendsThePerUserFileToTheEditor) {
    ScopedClass paint(L"Paint.Picture");
    ASSERT_TRUE(paint.SetEditCommand(EditorCommand()));
    // "Temp" is a file here, so neither the folder nor temp.bmp can be
    // made, as in a Program Files folder a standard user may not write.
    ASSERT_TRUE(testing::WriteBytes(program_ + L"\\Temp", "not a folder"));
    const std::wstring perUser = PerUserFile(L"\\Temp\\temp.bmp");
    ASSERT_FALSE(perUser.empty());
    // The per-user folders are made when missing.
    const std::wstring perUserTemp = perUser.substr(0, perUser.rfind(L'\\'));
    ::DeleteFileW(perUser.c_str());
    ::RemoveDirectoryW(perUserTemp.c_str());
    ASSERT_FALSE(testing::FileExists(perUserTemp));

    std::wstring written;
    EXPECT_TRUE(EditInPaint(nullptr, testing::PatternPicture(12, 7), program_, &written));
    EXPECT_EQ(written, perUser);
    EXPECT_NE(WaitForEditor().commandLine.find(Utf8(L"\"" + perUser + L"\"")), std::string::npos);
    const auto bytes = testing::ReadBytes(perUser);
    ASSERT_TRUE(bytes);
    const auto headers = testing::ParseBmpHeaders(*bytes);
    ASSERT_TRUE(headers);
    EXPECT_EQ(headers->info.biWidth, 12);
    EXPECT_EQ(std::abs(headers->info.biHeight), 7);
    ::DeleteFileW(perUser.c_str());
}

}  // namespace
}  // namespace grabwell::document
