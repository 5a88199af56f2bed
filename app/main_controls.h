#pragma once
// The child controls of the main window, created in the order the window
// defines them.
#include "platform/win32.h"

#include <commctrl.h>

#include "app/picture_box.h"
#include "platform/unique_any.h"
#include "resources/resource.h"

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
    // The status bar's font when the window is at another scale than the
    // system's, which the bar took its own font from.
    platform::unique_hfont statusFont;

    // Creates the controls sized for the window's display scale.
    bool Create(HWND parent, HINSTANCE instance, PictureBox& pictureBox, UINT dpi);
    // Moves the controls to another display scale: the toolbar's pictures of
    // that size in buttons of that size, and the status bar's font.
    void ApplyDpi(HINSTANCE instance, UINT dpi);
    // Docks the toolbar and status bar to the client area and sizes the
    // status panels: panel 2 fixed, panel 1 taking the rest but never less.
    void DockBars(double twipsPerPixelX) const;
    int ToolbarHeight() const;
    int StatusBarHeight() const;
    // Tooltip for a toolbar command id; null when the button has none.
    static const wchar_t* TooltipFor(UINT_PTR commandId);
    // A toolbar button's command id carries its 1-based position.
    static constexpr UINT ToolbarButtonId(int position) {
        return IDC_TOOLBAR_BUTTON + static_cast<UINT>(position);
    }
    // The position a command id stands for; 0 when it is no toolbar button's.
    // Any 16-bit position counts, so the dispatch alone decides what runs.
    static constexpr int ToolbarPosition(UINT_PTR commandId) {
        return commandId > IDC_TOOLBAR_BUTTON && commandId <= IDC_TOOLBAR_BUTTON + 0x7FFF
                   ? static_cast<int>(commandId - IDC_TOOLBAR_BUTTON)
                   : 0;
    }

private:
    void SizeToolbarButtons(UINT dpi) const;
    void SetStatusFont(UINT dpi);
};

inline constexpr double kStatusPanelTwips = 2000.0;

}  // namespace grabwell::app
