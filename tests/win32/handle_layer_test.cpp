// The owners of the handle layer where they differ from a plain "close if
// not null": files, out-parameters and selections that can fail.
#include <gtest/gtest.h>

#include "platform/unique_any.h"
#include "tests/win32/document_test_support.h"
#include "tests/win32/process_gauges.h"

namespace grabwell::platform {
namespace {

using test::HandleSnapshot;

TEST(HandleLayer, FileOwnersTellAFailedOpenFromAnOpenFile) {
    testing::TempFolder temp;
    const HandleSnapshot before = HandleSnapshot::Now();
    {
        const unique_hfile missing(::CreateFileW((temp / L"missing").c_str(), GENERIC_READ, 0,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(missing);
        EXPECT_EQ(HandleSnapshot::Now(), before);
        const unique_hfile made(::CreateFileW((temp / L"made").c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(made);
        EXPECT_EQ(HandleSnapshot::Now()[HandleKind::Kernel], before[HandleKind::Kernel] + 1);
    }
    EXPECT_EQ(HandleSnapshot::Now(), before);
    // Closed for real: a file still open without delete sharing cannot go.
    EXPECT_TRUE(::DeleteFileW((temp / L"made").c_str()));
}

TEST(HandleLayer, PutFreesWhatIsHeldAndCountsWhatLands) {
    const HandleSnapshot before = HandleSnapshot::Now();
    unique_hkey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()),
              ERROR_SUCCESS);
    ASSERT_TRUE(key);
    EXPECT_EQ(HandleSnapshot::Now()[HandleKind::Key], before[HandleKind::Key] + 1);
    const HKEY first = key.get();

    // A failing call through put() leaves the owner empty: the first key was
    // closed before the call, and nothing is counted for the failure.
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\no such key, surely", 0, KEY_READ,
                              key.put()),
              ERROR_SUCCESS);
    EXPECT_FALSE(key);
    EXPECT_EQ(HandleSnapshot::Now(), before);
    EXPECT_NE(::RegQueryInfoKeyW(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS)
        << "the first key is still open";

    // addressof() keeps what is held; a callee that fills it is counted.
    HKEY* storage = key.addressof();
    EXPECT_EQ(*storage, nullptr);
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.addressof()),
              ERROR_SUCCESS);
    EXPECT_EQ(HandleSnapshot::Now()[HandleKind::Key], before[HandleKind::Key] + 1);
    key.reset();
    EXPECT_EQ(HandleSnapshot::Now(), before);
}

TEST(HandleLayer, ASelectionSaysWhetherTheDcTookTheObject) {
    const unique_hdc first(::CreateCompatibleDC(nullptr));
    const unique_hdc second(::CreateCompatibleDC(nullptr));
    const unique_hbitmap bitmap(::CreateBitmap(8, 8, 1, 1, nullptr));
    ASSERT_TRUE(first && second && bitmap);
    const unique_select_object held(first.get(), bitmap.get());
    EXPECT_TRUE(held);
    EXPECT_EQ(::GetCurrentObject(first.get(), OBJ_BITMAP), bitmap.get());
    {
        // A bitmap can be in one DC at a time.
        const unique_select_object refused(second.get(), bitmap.get());
        EXPECT_FALSE(refused);
        EXPECT_NE(::GetCurrentObject(second.get(), OBJ_BITMAP), bitmap.get());
    }
    EXPECT_EQ(::GetCurrentObject(first.get(), OBJ_BITMAP), bitmap.get())
        << "the refused selection must put nothing back";
}

}  // namespace
}  // namespace grabwell::platform
