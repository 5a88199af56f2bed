#include "core/caption.h"

#include <cstddef>

namespace grabwell::core {

namespace {

std::u16string Decimal(std::int64_t value) {
    std::u16string digits;
    for (const char c : std::to_string(value)) digits.push_back(static_cast<char16_t>(c));
    return digits;
}

}  // namespace

std::u16string GetFileName(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'\\');
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

std::u16string ExeBaseName(std::u16string_view modulePath) {
    std::u16string name = GetFileName(modulePath);
    const std::size_t dot = name.rfind(u'.');
    if (dot != std::u16string::npos) name.erase(dot);
    return name;
}

std::u16string OpenedCaption(std::u16string_view exeBaseName, std::u16string_view path,
                             std::int64_t width, std::int64_t height) {
    std::u16string caption(exeBaseName);
    caption += u"\u2500[";
    caption += GetFileName(path);
    caption += u'(';
    caption += Decimal(width);
    caption += u'x';
    caption += Decimal(height);
    caption += u") ]";
    return caption;
}

}  // namespace grabwell::core
