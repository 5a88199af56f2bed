#pragma once
// Every user command of the main window, named after its menu item. Menu
// items, shortcut keys and toolbar buttons all end up here.
#include <cstdint>

#include "resources/resource.h"

namespace grabwell::core {

enum class CommandId : std::uint16_t {
    mnuOpen = IDM_mnuOpen,
    mnusave = IDM_mnusave,
    mnuClear = IDM_mnuClear,
    mnuWallpaper = IDM_mnuWallpaper,
    mnuClearWall = IDM_mnuClearWall,
    mnuprint = IDM_mnuprint,
    mnuExit = IDM_mnuExit,
    mnuScreen = IDM_mnuScreen,
    mnuDistrict = IDM_mnuDistrict,
    mnuAtiveWindow = IDM_mnuAtiveWindow,
    mnuClient = IDM_mnuClient,
    mnuTitleBar = IDM_mnuTitleBar,
    mnuMspaint = IDM_mnuMspaint,
    mnuChinese = IDM_mnuChinese,
    mnuEnglish = IDM_mnuEnglish,
    mnuHowto = IDM_mnuHowto,
    mnuAbout = IDM_mnuAbout,
};

}  // namespace grabwell::core
