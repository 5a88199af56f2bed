#pragma once
// Language files relabel the window title, the first status panel and the
// menu captions, one text per line in a fixed order. Old files were saved in
// the system ANSI code page (GBK on Chinese systems); new ones are UTF-8.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "resources/resource.h"

namespace grabwell::core {

inline constexpr std::size_t kLanguageLineCount = 25;

// What one line of a language file relabels.
enum class LanguageTarget : std::uint8_t { WindowTitle, StatusPanel, Menu };

struct LanguageLine {
    LanguageTarget target;
    std::uint16_t menuId;  // the menu item's resource id; 0 for the other targets
};

// Line n of a language file relabels kLanguageLines[n - 1]. The order is the
// files', not the menus': separators have no line, and mnuClear, mnuDistrict
// and mnuAbout sit apart from their neighbours in the menu.
inline constexpr std::array<LanguageLine, kLanguageLineCount> kLanguageLines{{
    {LanguageTarget::WindowTitle, 0},
    {LanguageTarget::StatusPanel, 0},
    {LanguageTarget::Menu, IDM_mnuFile},
    {LanguageTarget::Menu, IDM_mnuOpen},
    {LanguageTarget::Menu, IDM_mnusave},
    {LanguageTarget::Menu, IDM_mnuWallpaper},
    {LanguageTarget::Menu, IDM_mnuClearWall},
    {LanguageTarget::Menu, IDM_mnuprint},
    {LanguageTarget::Menu, IDM_mnuClear},
    {LanguageTarget::Menu, IDM_mnuExit},
    {LanguageTarget::Menu, IDM_mnuCapture},
    {LanguageTarget::Menu, IDM_mnuScreen},
    {LanguageTarget::Menu, IDM_mnuAtiveWindow},
    {LanguageTarget::Menu, IDM_mnuClient},
    {LanguageTarget::Menu, IDM_mnuTitleBar},
    {LanguageTarget::Menu, IDM_mnuScroll},
    {LanguageTarget::Menu, IDM_mnuView},
    {LanguageTarget::Menu, IDM_mnuMspaint},
    {LanguageTarget::Menu, IDM_mnuLanguage},
    {LanguageTarget::Menu, IDM_mnuChinese},
    {LanguageTarget::Menu, IDM_mnuEnglish},
    {LanguageTarget::Menu, IDM_mnuDistrict},
    {LanguageTarget::Menu, IDM_mnuhelp},
    {LanguageTarget::Menu, IDM_mnuAbout},
    {LanguageTarget::Menu, IDM_mnuHowto},
}};

// The 0-based line that relabels a menu item; kLanguageLineCount for none.
constexpr std::size_t LanguageLineOf(std::uint16_t menuId) {
    for (std::size_t i = 0; i < kLanguageLines.size(); ++i) {
        if (kLanguageLines[i].target == LanguageTarget::Menu && kLanguageLines[i].menuId == menuId) {
            return i;
        }
    }
    return kLanguageLineCount;
}

// Always kLanguageLineCount raw lines. A line ends at CR or CR LF; a lone LF
// is part of the text. Lines after the last one used are ignored, missing
// lines are empty.
std::vector<std::string> SplitLanguageLines(std::string_view bytes);

// Strict: no overlong forms, no surrogates, nothing above U+10FFFF, no
// truncated sequences.
bool IsValidUtf8(std::string_view bytes);

// Meant for text IsValidUtf8 accepted; anything malformed becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);

// Decides the encoding once, from the lines that are used: all of them valid
// UTF-8 (a leading BOM is dropped), or else the ANSI code page through
// ansiDecode, one line at a time. Bytes after the last used line never count.
std::vector<std::u16string> DecodeLanguageFile(
    std::string_view bytes,
    const std::function<std::u16string(std::string_view)>& ansiDecode);

}  // namespace grabwell::core
