#pragma once
// Menu captions by item id, submenus included. A caption's shortcut hint
// (the text after a TAB) belongs to the item, not to its language, so
// relabelling keeps it.
#include <string>
#include <string_view>

#include "platform/win32.h"

namespace grabwell::app {

// The caption without its shortcut hint; empty when there is no such item.
std::wstring MenuCaption(HMENU root, UINT id);
// Replaces the caption, keeping any shortcut hint. False when the item is
// not found or the menu refuses the text.
bool SetMenuCaption(HMENU root, UINT id, std::wstring_view caption);

}  // namespace grabwell::app
