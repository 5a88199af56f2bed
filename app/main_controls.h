#pragma once
// The child controls of the main window, created in the order the window
// defines them.
#include "platform/win32.h"

#include <commctrl.h>

#include "app/picture_box.h"
#include "platform/unique_any.h"

namespace grabwell::app {

inline void DestroyImageList(HIMAGELIST list) noexcept { ::ImageList_Destroy(list); }
using unique_himagelist = platform::unique_any<
    platform::NullHandleTraits<HIMAGELIST, DestroyImageList, platform::HandleKind::GdiObject>>;

struct MainControls {
    HWND HScroll1 = nullptr;
    HWND VScroll1 = nullptr;
    HWND picScroll = nullptr;
    HWND PicBmp = nullptr;
    HWND StatusBar1 = nullptr;
    HWND Toolbar1 = nullptr;
    unique_himagelist ImageList1;

    bool Create(HWND parent, HINSTANCE instance, PictureBox& pictureBox);
    // Docks the toolbar and status bar to the client area and sizes the
    // status panels: panel 2 fixed, panel 1 taking the rest but never less.
    void DockBars(double twipsPerPixelX) const;
    int ToolbarHeight() const;
    int StatusBarHeight() const;
    // Tooltip for a toolbar command id; null when the slot has none.
    static const wchar_t* TooltipFor(UINT_PTR commandId);
};

inline constexpr double kStatusPanelTwips = 2000.0;

}  // namespace grabwell::app
