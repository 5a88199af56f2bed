#pragma once
// The About box follows the loaded language. Its language is read off the
// Help Topics caption, the one line the Chinese file spells differently.
#include <string>
#include <string_view>

namespace grabwell::core {

struct AboutBox {
    std::u16string title;
    std::u16string text;
};

// Chinese only for the exact Chinese Help Topics caption, English otherwise.
AboutBox BuildAboutBox(std::u16string_view howtoCaption);

}  // namespace grabwell::core
