// The shared dialog object against the real open and save dialogs, driven
// from a second thread the way a person would use them.
#include "document/common_dialog.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include "tests/win32/dialog_driver.h"
#include "tests/win32/document_test_support.h"

namespace grabwell::document {
namespace {

using testing::AcceptFileDialog;
using testing::CancelDialog;
using testing::DialogSeen;
using testing::TempFolder;

CommonDialog PictureDialog() {
    CommonDialog dialog;
    dialog.filter = L"Bitmap files (*.bmp)|*.bmp|All files (*.*)|*.*";
    dialog.defaultExt = L".bmp";
    dialog.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    return dialog;
}

TEST(CommonDialogTest, SaveKeepsTheChosenPathAndCancelLeavesIt) {
    TempFolder temp;
    CommonDialog dialog = PictureDialog();

    // Typed without an extension: the default one is added, with one dot.
    auto answer = AcceptFileDialog(temp / L"shot");
    ASSERT_TRUE(dialog.ShowSave(nullptr));
    const DialogSeen seen = answer.get();
    EXPECT_TRUE(seen.found);
    EXPECT_TRUE(seen.done);
    EXPECT_EQ(dialog.fileName, temp / L"shot.bmp");

    // The next dialog starts from that name; cancelling it keeps it.
    auto cancel = CancelDialog();
    EXPECT_FALSE(dialog.ShowSave(nullptr));
    const DialogSeen cancelled = cancel.get();
    EXPECT_TRUE(cancelled.done);
    EXPECT_NE(cancelled.name.find(L"shot.bmp"), std::wstring::npos) << cancelled.name;
    EXPECT_EQ(dialog.fileName, temp / L"shot.bmp");
}

TEST(CommonDialogTest, TitleIsTheCommandsOrTheSystemsOwn) {
    CommonDialog dialog = PictureDialog();
    dialog.dialogTitle = L"Save the picture";
    auto named = CancelDialog();
    EXPECT_FALSE(dialog.ShowSave(nullptr));
    EXPECT_EQ(named.get().title, L"Save the picture");

    dialog.dialogTitle.clear();
    auto untitled = CancelDialog();
    EXPECT_FALSE(dialog.ShowOpen(nullptr));
    const DialogSeen seen = untitled.get();
    EXPECT_TRUE(seen.done);
    EXPECT_FALSE(seen.title.empty());
    EXPECT_NE(seen.title, L"Save the picture");
}

TEST(CommonDialogTest, OpenAcceptsOnlyAnExistingFile) {
    TempFolder temp;
    const std::wstring existing = temp / L"picture.bmp";
    ASSERT_TRUE(testing::WriteBytes(existing, "BM"));
    CommonDialog dialog = PictureDialog();

    auto answer = AcceptFileDialog(existing);
    ASSERT_TRUE(dialog.ShowOpen(nullptr));
    EXPECT_TRUE(answer.get().done);
    EXPECT_EQ(dialog.fileName, existing);

    // A missing file is refused by the dialog itself: it says so and stays
    // open, so the driver gives up and cancels, and the name stays.
    testing::DialogTarget brief;
    brief.timeout = std::chrono::seconds(3);
    auto missing = AcceptFileDialog(temp / L"missing.bmp", brief);
    auto complaint = testing::AnswerMessageBox(IDOK);
    EXPECT_FALSE(dialog.ShowOpen(nullptr));
    const DialogSeen refused = missing.get();
    EXPECT_TRUE(refused.found);
    EXPECT_FALSE(refused.done);
    const DialogSeen box = complaint.get();
    EXPECT_TRUE(box.done);
    EXPECT_FALSE(box.text.empty());
    EXPECT_EQ(dialog.fileName, existing);
}

TEST(CommonDialogTest, SaveThenOpenTheSameName) {
    TempFolder temp;
    CommonDialog dialog = PictureDialog();
    auto save = AcceptFileDialog(temp / L"round trip.bmp");
    ASSERT_TRUE(dialog.ShowSave(nullptr));
    ASSERT_TRUE(save.get().done);
    ASSERT_TRUE(testing::WriteBytes(dialog.fileName, "BM"));

    // Open starts where save left off: accepting the offered name opens it.
    auto open = CancelDialog();
    EXPECT_FALSE(dialog.ShowOpen(nullptr));
    EXPECT_NE(open.get().name.find(L"round trip.bmp"), std::wstring::npos);
    auto reopen = AcceptFileDialog(dialog.fileName);
    EXPECT_TRUE(dialog.ShowOpen(nullptr));
    EXPECT_TRUE(reopen.get().done);
    EXPECT_EQ(dialog.fileName, temp / L"round trip.bmp");
}

}  // namespace
}  // namespace grabwell::document
