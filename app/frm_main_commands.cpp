// The one table from command ids to handlers, and the two ways commands are
// started: the menu (and its shortcut keys) and the toolbar.
#include <array>

#include "app/FrmMain.h"
#include "core/toolbar.h"

namespace grabwell::app {

namespace {

using Handler = void (FrmMain::*)();

struct CommandBinding {
    core::CommandId id;
    Handler handler;
};

}  // namespace

// Member access needs a function of the class; the table itself stays data.
struct FrmMainCommandTable {
    static constexpr std::array kBindings{
        CommandBinding{core::CommandId::mnuOpen, &FrmMain::mnuOpen_Click},
        CommandBinding{core::CommandId::mnusave, &FrmMain::mnusave_Click},
        CommandBinding{core::CommandId::mnuClear, &FrmMain::mnuClear_Click},
        CommandBinding{core::CommandId::mnuExit, &FrmMain::mnuExit_Click},
        CommandBinding{core::CommandId::mnuScreen, &FrmMain::mnuScreen_Click},
        CommandBinding{core::CommandId::mnuDistrict, &FrmMain::mnuDistrict_Click},
        CommandBinding{core::CommandId::mnuAtiveWindow, &FrmMain::mnuAtiveWindow_Click},
        CommandBinding{core::CommandId::mnuClient, &FrmMain::mnuClient_Click},
        CommandBinding{core::CommandId::mnuTitleBar, &FrmMain::mnuTitleBar_Click},
        CommandBinding{core::CommandId::mnuChinese, &FrmMain::mnuChinese_Click},
        CommandBinding{core::CommandId::mnuEnglish, &FrmMain::mnuEnglish_Click},
        CommandBinding{core::CommandId::mnuMspaint, &FrmMain::mnuMspaint_Click},
        CommandBinding{core::CommandId::mnuWallpaper, &FrmMain::mnuWallpaper_Click},
        CommandBinding{core::CommandId::mnuClearWall, &FrmMain::mnuClearWall_Click},
        CommandBinding{core::CommandId::mnuprint, &FrmMain::mnuprint_Click},
        CommandBinding{core::CommandId::mnuHowto, &FrmMain::mnuHowto_Click},
        CommandBinding{core::CommandId::mnuAbout, &FrmMain::mnuAbout_Click},
    };
};

void FrmMain::RunCommand(core::CommandId id) noexcept {
    for (const auto& binding : FrmMainCommandTable::kBindings) {
        if (binding.id != id) continue;
        try {
            (this->*binding.handler)();
        } catch (...) {
            // A failing command ends where it failed; the window stays usable.
        }
        return;
    }
}

void FrmMain::OnToolbarButton(std::int16_t buttonIndex) noexcept {
    if (const auto command = core::ToolbarCommand(buttonIndex)) RunCommand(*command);
}

void FrmMain::OnCommand(UINT id) {
    if (const int position = MainControls::ToolbarPosition(id)) {
        OnToolbarButton(static_cast<std::int16_t>(position));
        return;
    }
    RunCommand(static_cast<core::CommandId>(id));
}

}  // namespace grabwell::app
