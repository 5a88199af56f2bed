#pragma once
// Language files relabel the window title, the first status panel and the
// menu captions, one text per line in a fixed order. Old files were saved in
// the system ANSI code page (GBK on Chinese systems); new ones are UTF-8.
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace grabwell::core {

inline constexpr std::size_t kLanguageLineCount = 25;

// Line order of a language file. The menu names match the menu resource
// identifiers so a line can be traced to its control.
enum class LanguageTarget : int {
    WindowTitle,
    StatusPanel1,
    mnuFile,
    mnuOpen,
    mnusave,
    mnuWallpaper,
    mnuClearWall,
    mnuprint,
    mnuClear,
    mnuExit,
    mnuCapture,
    mnuScreen,
    mnuAtiveWindow,
    mnuClient,
    mnuTitleBar,
    mnuScroll,
    mnuView,
    mnuMspaint,
    mnuLanguage,
    mnuChinese,
    mnuEnglish,
    mnuDistrict,
    mnuhelp,
    mnuAbout,
    mnuHowto,
};

constexpr std::size_t LineIndex(LanguageTarget target) {
    return static_cast<std::size_t>(target);
}

// Texts shown before any language file is loaded, in line order.
const std::array<std::u16string_view, kLanguageLineCount>& ChineseStartupTexts();

// Always kLanguageLineCount raw lines. A line ends at CR or CR LF; a lone LF
// is part of the text. Lines after the last one used are ignored, missing
// lines are empty.
std::vector<std::string> SplitLanguageLines(std::string_view bytes);

// Strict: no overlong forms, no surrogates, nothing above U+10FFFF, no
// truncated sequences.
bool IsValidUtf8(std::string_view bytes);

// Meant for text IsValidUtf8 accepted; anything malformed becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);

// Decides the encoding once for the whole file: valid UTF-8 (a leading BOM is
// dropped) or else the ANSI code page through ansiDecode, one line at a time.
std::vector<std::u16string> DecodeLanguageFile(
    std::string_view bytes,
    const std::function<std::u16string(std::string_view)>& ansiDecode);

}  // namespace grabwell::core
