#pragma once
// What the main window needs from the outside world. The program fills it
// from its own module; tests point it at scratch folders and registry keys
// and put a scripted ModalUi in front of the dialogs.
#include <string>

#include "document/modal_ui.h"
#include "document/wallpaper.h"
#include "platform/settings_store.h"
#include "platform/win32.h"

namespace grabwell::app {

struct AppEnvironment {
    HINSTANCE instance = nullptr;
    std::wstring programFolder;  // folder of the executable, without a trailing backslash
    std::wstring exeBaseName;    // file name of the executable without its extension
    platform::SettingsStore settings;
    document::ModalUi* ui = nullptr;
    bool quitWhenDestroyed = true;  // off in tests, which own their message loop
    // Where the wallpaper command writes the picture before anything else.
    std::wstring wallpaperFile = document::kWallpaperFile;
};

// The environment of the running program: its own module, the real
// settings key and the real dialogs.
AppEnvironment ProgramEnvironment(HINSTANCE instance, document::ModalUi& ui);

}  // namespace grabwell::app
