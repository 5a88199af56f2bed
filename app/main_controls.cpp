#include "app/main_controls.h"

#include <algorithm>
#include <array>

#include "app/base_window.h"
#include "core/rounding.h"
#include "core/toolbar.h"
#include "platform/dpi.h"
#include "platform/text.h"
#include "resources/resource.h"

namespace grabwell::app {

namespace {

constexpr COLORREF kMaskColour = RGB(0xC0, 0xC0, 0xC0);

const wchar_t* const kViewportClass = L"GrabwellViewport";

HWND MakeChild(const wchar_t* cls, DWORD style, HWND parent, HINSTANCE instance) {
    return ::CreateWindowExW(0, cls, nullptr, WS_CHILD | style, 0, 0, 0, 0, parent, nullptr,
                             instance, nullptr);
}

// The strip of `size`-pixel pictures, as an image list of that size.
unique_himagelist LoadToolbarPictures(HINSTANCE instance, int size) {
    unique_himagelist list(::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK,
                                              core::kToolbarPictureCount, 0));
    if (!list) return list;
    platform::unique_hbitmap strip(static_cast<HBITMAP>(::LoadImageW(
        instance, MAKEINTRESOURCEW(IDB_TOOLBAR + size), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (strip) ::ImageList_AddMasked(list.get(), strip.get(), kMaskColour);
    return list;
}

void SetToolbarPictures(HWND toolbar, HIMAGELIST pictures, int size) {
    ::SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pictures));
    ::SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
}

HWND CreateToolbar(HWND parent, HINSTANCE instance, HIMAGELIST pictures, int pictureSize) {
    HWND toolbar = ::CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP,
        0, 0, 0, 0, parent, nullptr, instance, nullptr);
    if (!toolbar) return nullptr;
    ::SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetToolbarPictures(toolbar, pictures, pictureSize);

    std::array<TBBUTTON, core::kToolbarButtonCount> buttons{};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const core::ToolbarButton& row = core::kToolbarButtons[i];
        TBBUTTON& b = buttons[i];
        b.idCommand = static_cast<int>(MainControls::ToolbarButtonId(static_cast<int>(i) + 1));
        if (row.kind == core::ToolbarKind::Separator) {
            b.fsStyle = BTNS_SEP;  // its width comes with the button size
            continue;
        }
        b.fsStyle = BTNS_BUTTON;
        // A placeholder is an empty, inert gap the width of a button.
        b.iBitmap = row.picture > 0 ? row.picture - 1 : I_IMAGENONE;
        // A button that runs nothing is shown greyed rather than inviting
        // clicks that do nothing.
        b.fsState = row.command ? TBSTATE_ENABLED : 0;
    }
    ::SendMessageW(toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    return toolbar;
}

}  // namespace

bool MainControls::Create(HWND parent, HINSTANCE instance, PictureBox& pictureBox, UINT dpi) {
    // The viewport only holds the picture box; the default procedure is all
    // it needs.
    RegisterWindowClass(instance, kViewportClass, ::DefWindowProcW, nullptr,
                        ::GetSysColorBrush(COLOR_APPWORKSPACE), 0);
    HScroll1 = MakeChild(L"SCROLLBAR", SBS_HORZ, parent, instance);
    VScroll1 = MakeChild(L"SCROLLBAR", SBS_VERT, parent, instance);
    picScroll = MakeChild(kViewportClass, WS_VISIBLE | WS_CLIPCHILDREN, parent, instance);
    if (pictureBox.Create(picScroll, instance)) PicBmp = pictureBox.hwnd();
    const int pictureSize = core::ToolbarMetricsAt(static_cast<int>(dpi)).pictureSize;
    ImageList1 = LoadToolbarPictures(instance, pictureSize);
    StatusBar1 = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr,
                                   WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                                   nullptr, instance, nullptr);
    if (dpi != platform::SystemDpi()) SetStatusFont(dpi);
    Toolbar1 = CreateToolbar(parent, instance, ImageList1.get(), pictureSize);
    SizeToolbarButtons(dpi);
    return HScroll1 && VScroll1 && picScroll && PicBmp && StatusBar1 && Toolbar1 && ImageList1;
}

void MainControls::ApplyDpi(HINSTANCE instance, UINT dpi) {
    const int pictureSize = core::ToolbarMetricsAt(static_cast<int>(dpi)).pictureSize;
    // Without the whole strip the old pictures stay: wrong in size, but the
    // right pictures on the right buttons.
    unique_himagelist pictures = LoadToolbarPictures(instance, pictureSize);
    if (pictures && ::ImageList_GetImageCount(pictures.get()) == core::kToolbarPictureCount) {
        SetToolbarPictures(Toolbar1, pictures.get(), pictureSize);
        // The old list goes only now that the toolbar no longer draws from it.
        ImageList1 = std::move(pictures);
    }
    SizeToolbarButtons(dpi);
    SetStatusFont(dpi);
}

void MainControls::SizeToolbarButtons(UINT dpi) const {
    const core::ToolbarMetrics metrics = core::ToolbarMetricsAt(static_cast<int>(dpi));
    for (int position = 1; position <= core::kToolbarButtonCount; ++position) {
        if (core::ToolbarButtonAt(position)->kind != core::ToolbarKind::Separator) continue;
        // A separator's image index is its width.
        TBBUTTONINFOW info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_IMAGE;
        info.iImage = metrics.separatorWidth;
        ::SendMessageW(Toolbar1, TB_SETBUTTONINFOW, ToolbarButtonId(position), reinterpret_cast<LPARAM>(&info));
    }
    ::SendMessageW(Toolbar1, TB_SETBUTTONSIZE, 0, MAKELPARAM(metrics.buttonWidth, metrics.buttonHeight));
    ::SendMessageW(Toolbar1, TB_AUTOSIZE, 0, 0);
}

void MainControls::SetStatusFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    if (!platform::NonClientMetricsForDpi(metrics, dpi)) return;
    platform::unique_hfont font(::CreateFontIndirectW(&metrics.lfStatusFont));
    if (!font) return;
    ::SendMessageW(StatusBar1, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    statusFont = std::move(font);
}

void MainControls::DockBars(double twipsPerPixelX) const {
    ::SendMessageW(Toolbar1, TB_AUTOSIZE, 0, 0);
    ::SendMessageW(StatusBar1, WM_SIZE, 0, 0);
    RECT client{};
    ::GetClientRect(::GetParent(StatusBar1), &client);
    const int panel = core::TwipsToPixels(kStatusPanelTwips, twipsPerPixelX);
    const int first = std::max(static_cast<int>(client.right) - panel, panel);
    const std::array<int, 2> edges{first, -1};
    ::SendMessageW(StatusBar1, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

int MainControls::ToolbarHeight() const {
    RECT r{};
    ::GetWindowRect(Toolbar1, &r);
    return r.bottom - r.top;
}

int MainControls::StatusBarHeight() const {
    RECT r{};
    ::GetWindowRect(StatusBar1, &r);
    return r.bottom - r.top;
}

const wchar_t* MainControls::TooltipFor(UINT_PTR commandId) {
    static const auto texts = [] {
        std::array<std::wstring, core::kToolbarButtonCount> all;
        for (std::size_t i = 0; i < all.size(); ++i) {
            all[i] = platform::Wide(core::kToolbarButtons[i].tooltip);
        }
        return all;
    }();
    const int position = ToolbarPosition(commandId);
    if (!core::ToolbarButtonAt(position)) return nullptr;
    const std::wstring& text = texts[static_cast<std::size_t>(position - 1)];
    return text.empty() ? nullptr : text.c_str();
}

}  // namespace grabwell::app
