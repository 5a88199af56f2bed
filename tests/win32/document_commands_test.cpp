// Open, Save and the close-time question, with the dialogs answered by a
// script.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "capture/picture_file.h"
#include "core/rounding.h"
#include "tests/win32/document_test_support.h"
#include "tests/win32/test_window_env.h"

using namespace grabwell;
using grabwell::test::Title;
using grabwell::test::WindowTestEnv;

namespace {

std::string Head(const std::filesystem::path& file, std::size_t n) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(n, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(n));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

constexpr const wchar_t* kQuestion = L"  文件还没有保存，您要保存吗?";

class DocumentTest : public test::MainWindowTest {
protected:
    // A capture marks the picture unsaved.
    void Capture() {
        window->RunCommand(core::CommandId::mnuTitleBar);
        ASSERT_TRUE(window->PictureUnsaved());
        ASSERT_FALSE(window->CurrentPicture().empty());
    }
    void Close() {
        ::SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
        test::PumpMessages(30);
    }
};

}  // namespace

TEST_F(DocumentTest, NothingUnsavedClosesWithoutAsking) {
    Close();
    EXPECT_TRUE(env.ui.messages.empty());
    EXPECT_FALSE(::IsWindow(window->hwnd()));
}

TEST_F(DocumentTest, CancelKeepsTheWindowAndItsPictureAndAsksAgainNextTime) {
    Capture();
    env.ui.answers = {IDCANCEL, IDCANCEL};
    Close();
    ASSERT_EQ(env.ui.messages.size(), 1u);
    EXPECT_EQ(env.ui.messages[0].text, kQuestion);
    EXPECT_EQ(env.ui.messages[0].title, L"Grabwell");
    EXPECT_EQ(env.ui.messages[0].style, static_cast<UINT>(67));  // Yes/No/Cancel + information
    EXPECT_TRUE(::IsWindow(window->hwnd()));
    EXPECT_FALSE(window->CurrentPicture().empty());
    // The placement was written before the question.
    EXPECT_TRUE(platform::SettingsStore(env.settingsKey()).Read(L"MainLeft").has_value());
    Close();
    EXPECT_EQ(env.ui.messages.size(), 2u);
    EXPECT_TRUE(::IsWindow(window->hwnd()));
}

TEST_F(DocumentTest, NoClosesWithoutSaving) {
    Capture();
    env.ui.answers = {IDNO};
    Close();
    EXPECT_FALSE(::IsWindow(window->hwnd()));
    EXPECT_EQ(env.ui.saveCalls, 0);
}

TEST_F(DocumentTest, YesWithACancelledSaveStaysOpenAndYesWithASaveCloses) {
    Capture();
    env.ui.answers = {IDYES, IDYES};
    env.ui.fileChoices = {std::nullopt};
    Close();
    EXPECT_EQ(env.ui.saveCalls, 1);
    EXPECT_TRUE(::IsWindow(window->hwnd()));
    EXPECT_TRUE(window->PictureUnsaved());

    const auto target = env.folder() / L"closing.bmp";
    env.ui.fileChoices = {target.wstring()};
    Close();
    EXPECT_FALSE(::IsWindow(window->hwnd()));
    EXPECT_EQ(Head(target, 2), "BM");
}

TEST_F(DocumentTest, YesWithAFailingSaveStaysOpen) {
    Capture();
    env.ui.answers = {IDYES};
    env.ui.fileChoices = {(env.folder() / L"no such folder" / L"x.bmp").wstring()};
    Close();
    EXPECT_TRUE(::IsWindow(window->hwnd()));
    EXPECT_TRUE(window->PictureUnsaved());
}

TEST_F(DocumentTest, YesWithNoPictureLeftCloses) {
    Capture();
    window->RunCommand(core::CommandId::mnuClear);
    ASSERT_TRUE(window->PictureUnsaved()) << "Clear leaves the flag";
    env.ui.answers = {IDYES};
    Close();
    EXPECT_EQ(env.ui.messages.size(), 1u);
    EXPECT_EQ(env.ui.saveCalls, 0) << "nothing to save, so no dialog";
    EXPECT_FALSE(::IsWindow(window->hwnd()));
}

// The session's end runs the same unload as a close, but only answers: the
// window goes when the session really ends, without a second question.
TEST_F(DocumentTest, SessionEndAsksAsACloseAndTheAnswerDecidesWhetherItMayEnd) {
    const auto mayEnd = [&] {
        return ::SendMessageW(window->hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    };
    const platform::SettingsStore store(env.settingsKey());
    EXPECT_EQ(mayEnd(), TRUE) << "nothing unsaved";
    EXPECT_TRUE(env.ui.messages.empty());

    Capture();
    ::SetWindowPos(window->hwnd(), nullptr, 40, 30, 500, 400, SWP_NOZORDER);
    const auto target = env.folder() / L"ending.bmp";
    env.ui.answers = {IDCANCEL, IDYES, IDYES, IDNO};
    env.ui.fileChoices = {std::nullopt, target.wstring()};
    EXPECT_EQ(mayEnd(), FALSE) << "Cancel";
    EXPECT_EQ(store.Read(L"MainLeft"),
              std::to_wstring(core::PixelsToTwips(40, window->twipsPerPixelX())));
    ASSERT_EQ(env.ui.messages.size(), 1u);
    EXPECT_EQ(env.ui.messages[0].text, kQuestion);
    EXPECT_EQ(env.ui.messages[0].style, static_cast<UINT>(67));
    EXPECT_EQ(mayEnd(), FALSE) << "Yes, save cancelled";
    EXPECT_EQ(mayEnd(), TRUE) << "Yes, saved";
    EXPECT_EQ(Head(target, 2), "BM");
    Capture();
    EXPECT_EQ(mayEnd(), TRUE) << "No";
    EXPECT_EQ(env.ui.messages.size(), 4u);

    ::SendMessageW(window->hwnd(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(::IsWindow(window->hwnd())) << "another program called the end off";
    ::SendMessageW(window->hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(::IsWindow(window->hwnd()));
    EXPECT_EQ(env.ui.messages.size(), 4u);
}

// Our own question or dialog disables the window while it is up; a session
// end then must not stack a second question on it.
TEST_F(DocumentTest, SessionEndWhileOurDialogIsUpWritesThePlacementAndWaitsWithoutAsking) {
    Capture();
    ::SetWindowPos(window->hwnd(), nullptr, 50, 30, 500, 400, SWP_NOZORDER);
    ::EnableWindow(window->hwnd(), FALSE);
    EXPECT_EQ(::SendMessageW(window->hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    ::EnableWindow(window->hwnd(), TRUE);
    EXPECT_TRUE(env.ui.messages.empty());
    EXPECT_EQ(env.ui.saveCalls, 0);
    EXPECT_EQ(platform::SettingsStore(env.settingsKey()).Read(L"MainLeft"),
              std::to_wstring(core::PixelsToTwips(50, window->twipsPerPixelX())));
    EXPECT_TRUE(::IsWindow(window->hwnd()));
}

TEST_F(DocumentTest, SaveWritesABitmapWhateverTheNameAndClearsTheFlag) {
    window->RunCommand(core::CommandId::mnusave);
    EXPECT_EQ(env.ui.saveCalls, 0) << "no picture: no dialog";

    Capture();
    const auto target = env.folder() / L"picture.jpg";
    env.ui.fileChoices = {target.wstring()};
    window->RunCommand(core::CommandId::mnusave);
    EXPECT_EQ(Head(target, 2), "BM");
    EXPECT_FALSE(window->PictureUnsaved());

    // A cancelled save leaves the flag as it is.
    Capture();
    env.ui.fileChoices = {std::nullopt};
    window->RunCommand(core::CommandId::mnusave);
    EXPECT_TRUE(window->PictureUnsaved());
}

TEST_F(DocumentTest, OpenShowsNameAndSizeInTheCaptionAndKeepsTheFlag) {
    const auto file = env.folder() / L"shot.bmp";
    ASSERT_TRUE(capture::SavePictureFile(grabwell::testing::PatternPicture(123, 45), file.wstring()));
    Capture();
    env.ui.fileChoices = {file.wstring()};
    window->RunCommand(core::CommandId::mnuOpen);
    EXPECT_EQ(Title(window->hwnd()), L"Grabwell\u2500[shot.bmp(123x45) ]");
    EXPECT_EQ(window->CurrentPicture().size().cx, 123);
    EXPECT_TRUE(window->PictureUnsaved()) << "open leaves the flag alone";
}

TEST_F(DocumentTest, CancelledOrUnreadableOpenChangesNothing) {
    Capture();
    const HBITMAP shown = window->CurrentPicture().handle();
    env.ui.fileChoices = {std::nullopt};
    window->RunCommand(core::CommandId::mnuOpen);
    EXPECT_EQ(window->CurrentPicture().handle(), shown);

    const auto junk = env.folder() / L"junk.bmp";
    std::ofstream(junk, std::ios::binary) << "BM this is not a bitmap";
    env.ui.fileChoices = {junk.wstring()};
    window->RunCommand(core::CommandId::mnuOpen);
    EXPECT_EQ(window->CurrentPicture().handle(), shown);
    EXPECT_EQ(Title(window->hwnd()), L"Grabwell");
}

TEST_F(DocumentTest, GetFileNameSplitsOnlyAtBackslashes) {
    EXPECT_EQ(window->GetFileName(L"C:\\pics\\a.bmp"), L"a.bmp");
    EXPECT_EQ(window->GetFileName(L"a.bmp"), L"a.bmp");
    EXPECT_EQ(window->GetFileName(L"dir/a.bmp"), L"dir/a.bmp");
    EXPECT_EQ(window->GetFileName(L""), L"");
}
