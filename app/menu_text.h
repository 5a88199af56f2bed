#pragma once
// Menu captions by item id, submenus included. A caption's shortcut hint
// (a TAB and the text after it) belongs to the item, not to its language:
// relabelling puts back the hint the item had at start-up, whatever text an
// earlier relabelling gave it.
#include <string>
#include <string_view>

#include "platform/win32.h"

namespace grabwell::app {

// The caption without its shortcut hint; empty when there is no such item.
std::wstring MenuCaption(HMENU root, UINT id);
// The shortcut hint, TAB included; empty when the item has none.
std::wstring MenuHint(HMENU root, UINT id);
// Replaces the item's whole text with the caption followed by the hint.
// False when the item is not found or the menu refuses the text.
bool SetMenuCaption(HMENU root, UINT id, std::wstring_view caption, std::wstring_view hint);

}  // namespace grabwell::app
