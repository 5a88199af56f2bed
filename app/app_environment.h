#pragma once
// What the main window needs from the outside world. The program fills it
// from its own module; tests point it at scratch folders and registry keys
// and put a scripted ModalUi in front of the dialogs.
#include <functional>
#include <string>

#include "document/modal_ui.h"
#include "document/wallpaper.h"
#include "platform/settings_store.h"
#include "platform/win32.h"

namespace grabwell::app {

// The steps from a free rectangle's release to its picture on the screen and
// its copy on the clipboard, in the order they are done.
enum class ReleaseStep {
    Tracked, CoverDown, Copied, Restored, Installed, LaidOut, Painted, OnClipboard
};

struct AppEnvironment {
    HINSTANCE instance = nullptr;
    std::wstring programFolder;  // folder of the executable, without a trailing backslash
    std::wstring exeBaseName;    // file name of the executable without its extension
    platform::SettingsStore settings;
    document::ModalUi* ui = nullptr;
    bool quitWhenDestroyed = true;  // off in tests, which own their message loop
    // Where the wallpaper command writes the picture before anything else.
    std::wstring wallpaperFile = document::kWallpaperFile;
    // Told as each step is done, so that a benchmark can time them; nothing
    // listens in the program.
    std::function<void(ReleaseStep)> releaseStepDone;
};

// The environment of the running program: its own module, the real
// settings key and the real dialogs.
AppEnvironment ProgramEnvironment(HINSTANCE instance, document::ModalUi& ui);

}  // namespace grabwell::app
