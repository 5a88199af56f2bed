#pragma once
// The program's one top-level window: menu, toolbar, status bar, the
// scrollable picture viewport, and every user command.
#include <array>
#include <optional>
#include <string>

#include "app/app_environment.h"
#include "app/base_window.h"
#include "app/main_controls.h"
#include "app/picture_box.h"
#include "app/free_rectangle_overlay.h"
#include "capture/picture.h"
#include "core/commands.h"
#include "core/viewport_layout.h"
#include "document/common_dialog.h"
#include "document/language_reader.h"
#include "platform/com.h"
#include "platform/process.h"

namespace grabwell::app {

// Where the free-rectangle capture stands: armed by its command, waiting for
// the press that starts the drag; tracking the drag; or idle.
enum class FreeRectangleState { Idle, Armed, Tracking };

class FrmMain : public BaseWindow<FrmMain> {
public:
    static constexpr const wchar_t* kClassName = L"GrabwellMainWindow";

    explicit FrmMain(AppEnvironment environment);
    ~FrmMain();

    // Creates the window, runs the load steps (start time, stored
    // placement) and shows it.
    bool Create(int showCommand);

    HACCEL accelerators() const { return accelerators_; }
    const MainControls& controls() const { return controls_; }

    bool PictureUnsaved() const { return pictureUnsaved_; }
    bool RegionSelecting() const { return freeRectangle_ == FreeRectangleState::Armed; }
    FreeRectangleState freeRectangle() const { return freeRectangle_; }
    DWORD HelpProcessId() const { return help_ ? help_->id : 0; }
    double twipsPerPixelX() const { return twipsPerPixelX_; }
    double twipsPerPixelY() const { return twipsPerPixelY_; }
    // The display scale the window is drawn at now.
    UINT dpi() const { return dpi_; }

    // Runs a command as the menu does; any failure inside it stays inside.
    void RunCommand(core::CommandId id) noexcept;
    // Runs whatever the toolbar button at this 1-based position stands for.
    void OnToolbarButton(std::int16_t buttonIndex) noexcept;

    // The file-name part of a path: the text after its last backslash.
    std::wstring GetFileName(std::wstring_view path) const;
    // The current picture, `PicBmp`'s.
    const capture::Picture& CurrentPicture() const;
    // Puts a picture (or none) into `PicBmp`, which takes its size.
    void InstallPicture(capture::Picture picture);
    // The resize handling: viewport and scroll bars for the current sizes.
    void LayoutViewport();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct ScrollSteps {
        std::int32_t small = 15;
        std::int32_t large = 15;
    };

    void OnCreate();
    void OnSize(UINT state);
    void OnCommand(UINT id);
    LRESULT OnNotify(NMHDR* header);
    void OnClose();
    LRESULT OnQueryEndSession();
    void OnEndSession(bool ending);
    void OnDestroy();
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void SetIconsFor(UINT dpi);

    void OnScroll(HWND bar, UINT code);
    void OnMouseWheel(int delta, UINT keys);
    bool OnKeyDown(UINT key);
    void ScrollBy(HWND bar, UINT code, int repeat);
    void ApplyScrollBar(HWND bar, const core::ScrollBarLayout& layout, ScrollSteps& steps);
    void MovePicture();
    // The viewport is laid out in twips at the window's own scale.
    double LayoutTwipsPerPixel() const;

    // The unload handler, run by a close and by the session's end: the
    // placement first, then the close-time question. True keeps the window
    // open; any failure ends it quietly with false. Without `mayAsk` an
    // unsaved picture keeps it open without a question.
    bool UnloadCancels(bool mayAsk = true) noexcept;
    void LoadPlacement();
    // After the stored placement: a window no monitor would show comes back
    // onto the nearest one.
    void KeepOnAMonitor();
    void SaveWindowPlacement();
    // Asked after the placement is written; true keeps the window open.
    bool CloseQuestionCancels();

    friend struct FrmMainCommandTable;
    // Capture commands.
    void mnuScreen_Click();
    void mnuTitleBar_Click();
    void mnuClient_Click();
    void mnuAtiveWindow_Click();
    void mnuClear_Click();
    // Free-rectangle capture: arming, then the mouse handling that tracks
    // the drag, copies the pixels and restores the window.
    void mnuDistrict_Click();
    void OnLButtonDown(WPARAM buttons, int x, int y);
    void OnLButtonUp(WPARAM buttons, int x, int y);
    void OnCaptureLost();
    void ReleaseStepDone(ReleaseStep step) const;
    void RestorePointer();
    void LeaveArmed();
    // The session is ending: armed, the cover goes and the window comes
    // back; mid-drag, the drag ends as on a lost capture. True for a drag.
    bool CallOffFreeRectangle();
    // Document commands.
    void mnuOpen_Click();
    void mnusave_Click();
    void mnuChinese_Click();
    void mnuEnglish_Click();
    void mnuAbout_Click();
    void mnuMspaint_Click();
    void mnuWallpaper_Click();
    void mnuClearWall_Click();
    void mnuprint_Click();
    void LoadLanguageFile(const std::wstring& folder, const std::wstring& fileName);
    void RecordMenuHints();
    void RestoreNormal();
    void mnuExit_Click();
    void mnuHowto_Click();

    // First in, last out: shell verb handlers (Edit in Paint) may be COM
    // objects, which need this thread in an apartment for the window's life.
    platform::ComInit com_;
    AppEnvironment env_;
    MainControls controls_;
    PictureBox picBmp_;
    ScrollSteps hSteps_;
    ScrollSteps vSteps_;
    int wheelRemainder_ = 0;
    HACCEL accelerators_ = nullptr;
    // The screen's twips per pixel, fixed at start-up by the system's DPI:
    // the unit of the stored placement, whose values are screen
    // coordinates of the whole desktop, whatever monitor the window is on.
    double twipsPerPixelX_ = 15.0;
    double twipsPerPixelY_ = 15.0;
    UINT dpi_ = 96;
    // While the stored placement is applied, its pixels are already those of
    // the monitor it lies on.
    bool placing_ = false;
    platform::unique_hicon smallIcon_;
    platform::unique_hicon bigIcon_;
    bool pictureUnsaved_ = false;
    FreeRectangleState freeRectangle_ = FreeRectangleState::Idle;
    FreeRectangleOverlay overlay_;   // the press's way in while armed
    std::optional<platform::StartedProcess> help_;
    document::CommonDialog dialog_;  // `CDopen`: one dialog state for open, save and print
    document::LanguageTexts languageLines_;
    // Per language line, the shortcut hint its menu item had at start-up.
    std::array<std::wstring, core::kLanguageLineCount> menuHints_;
};

}  // namespace grabwell::app
