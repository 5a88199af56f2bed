// Paint, wallpaper and print as the window runs them: what they leave alone
// matters as much as what they do.
#include <gtest/gtest.h>

#include <thread>

#include "tests/win32/document_test_support.h"
#include "tests/win32/test_window_env.h"
// After windows.h, which the window headers bring.
#include <imm.h>
#include <objbase.h>

using namespace grabwell;
using grabwell::test::WindowTestEnv;

TEST(ShellCommands, PaintWithoutAPictureWritesNothing) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    window->RunCommand(core::CommandId::mnuMspaint);
    EXPECT_FALSE(std::filesystem::exists(env.folder() / L"Temp" / L"temp.bmp"));
}

TEST(ShellCommands, TheWindowsThreadIsInASingleThreadedApartmentForTheShell) {
    // A thread of its own, where nothing has started COM yet. Without an
    // input method nothing starts COM behind the window's back either, as
    // the system's IME support otherwise does.
    std::thread([] {
        ASSERT_TRUE(::ImmDisableIME(::GetCurrentThreadId()));
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        ASSERT_EQ(::CoGetApartmentType(&type, &qualifier), CO_E_NOTINITIALIZED);
        {
            WindowTestEnv env;
            auto window = env.MakeWindow();
            ASSERT_TRUE(window);
            ASSERT_EQ(::CoGetApartmentType(&type, &qualifier), S_OK);
            EXPECT_TRUE(type == APTTYPE_STA || type == APTTYPE_MAINSTA) << type;
        }
        EXPECT_EQ(::CoGetApartmentType(&type, &qualifier), CO_E_NOTINITIALIZED) << "given back";
    }).join();
}

TEST(ShellCommands, WallpaperWritesThePictureAndLeavesTheUnsavedFlag) {
    WindowTestEnv env;
    const auto file = env.folder() / L"wall.bmp";
    auto environment = env.Environment();
    environment.wallpaperFile = file.wstring();
    app::FrmMain window(std::move(environment));
    ASSERT_TRUE(window.Create(SW_SHOWNORMAL));
    window.InstallPicture(grabwell::testing::PatternPicture(64, 32));
    window.RunCommand(core::CommandId::mnuWallpaper);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(window.PictureUnsaved());
    wchar_t current[MAX_PATH] = {};
    ::SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, current, 0);
    EXPECT_EQ(std::filesystem::path(current), file);

    window.RunCommand(core::CommandId::mnuClearWall);
    ::SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, current, 0);
    EXPECT_EQ(std::wstring(current), L"");
    EXPECT_TRUE(std::filesystem::exists(file)) << "clearing keeps the file";
}

TEST(ShellCommands, PrintShowsTheDialogEvenWithoutAPicture) {
    WindowTestEnv env;
    auto window = env.MakeWindow();
    ASSERT_TRUE(window);
    window->RunCommand(core::CommandId::mnuprint);
    EXPECT_EQ(env.ui.printCalls, 1);
}
