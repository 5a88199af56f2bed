#include "platform/system_library.h"

#include <dwmapi.h>
#include <gtest/gtest.h>

#include "tests/shared/source_tree.h"
#include "tests/win32/document_test_support.h"

namespace grabwell {
namespace {

class CurrentFolderScope {
public:
    explicit CurrentFolderScope(const std::wstring& folder) {
        ::GetCurrentDirectoryW(MAX_PATH + 1, previous_);
        ::SetCurrentDirectoryW(folder.c_str());
    }
    ~CurrentFolderScope() { ::SetCurrentDirectoryW(previous_); }
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    wchar_t previous_[MAX_PATH + 1] = {};
};

// The ordinary search order finds a DLL in the current folder (this test
// checks that too, or it would prove nothing); the loader for run-time DLLs
// looks in System32 alone, and finds the system's own there.
TEST(SystemLibraryTest, NeverLoadsADllFromTheCurrentFolder) {
    testing::TempFolder folder;
    ASSERT_TRUE(::CopyFileW(testing::HostPath(GRABWELL_PLANTED_DLL).c_str(),
                            (folder / L"grabwell_planted.dll").c_str(), FALSE));
    {
        CurrentFolderScope inside(folder.path());
        // First: once a module of that name is loaded, any search returns it.
        EXPECT_FALSE(platform::SystemLibrary(L"grabwell_planted.dll"));
        HMODULE ordinary = ::LoadLibraryW(L"grabwell_planted.dll");
        EXPECT_NE(ordinary, nullptr) << "the ordinary search did not find the planted DLL";
        if (ordinary) ::FreeLibrary(ordinary);
    }
    const platform::SystemLibrary dwm(L"dwmapi.dll");
    EXPECT_NE(dwm.Find<decltype(&::DwmFlush)>("DwmFlush"), nullptr);
    EXPECT_EQ(dwm.Find<decltype(&::DwmFlush)>("NoSuchExport"), nullptr);
}

}  // namespace
}  // namespace grabwell
