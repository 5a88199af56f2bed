#include "app/menu_text.h"

#include <vector>

namespace grabwell::app {

namespace {

struct Found {
    HMENU menu = nullptr;
    UINT position = 0;
};

// Searched by hand rather than with MF_BYCOMMAND, which does not find
// submenu items by their id on every system.
Found FindItem(HMENU menu, UINT id) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.wID == id) return {menu, static_cast<UINT>(i)};
        if (info.hSubMenu) {
            if (const Found inner = FindItem(info.hSubMenu, id); inner.menu) return inner;
        }
    }
    return {};
}

std::wstring FullText(const Found& item) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    if (!::GetMenuItemInfoW(item.menu, item.position, TRUE, &info)) return {};
    std::vector<wchar_t> text(info.cch + 1, L'\0');
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    if (!::GetMenuItemInfoW(item.menu, item.position, TRUE, &info)) return {};
    return text.data();
}

// The item's caption and its hint (from the first TAB on).
struct CaptionAndHint {
    std::wstring caption;
    std::wstring hint;
};

CaptionAndHint SplitText(HMENU root, UINT id) {
    const Found item = FindItem(root, id);
    if (!item.menu) return {};
    std::wstring text = FullText(item);
    const auto tab = text.find(L'\t');
    if (tab == std::wstring::npos) return {std::move(text), {}};
    return {text.substr(0, tab), text.substr(tab)};
}

}  // namespace

std::wstring MenuCaption(HMENU root, UINT id) { return SplitText(root, id).caption; }

std::wstring MenuHint(HMENU root, UINT id) { return SplitText(root, id).hint; }

bool SetMenuCaption(HMENU root, UINT id, std::wstring_view caption, std::wstring_view hint) {
    const Found item = FindItem(root, id);
    if (!item.menu) return false;
    std::wstring text(caption);
    text += hint;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.data();
    return ::SetMenuItemInfoW(item.menu, item.position, TRUE, &info) != FALSE;
}

}  // namespace grabwell::app
