#pragma once
// Per-user settings under HKEY_CURRENT_USER, one key per section, values
// stored as REG_SZ text.
#include <optional>
#include <string>
#include <string_view>

namespace grabwell::platform {

class SettingsStore {
public:
    static constexpr std::wstring_view kDefaultKey = L"Software\\Grabwell\\Settings";

    explicit SettingsStore(std::wstring keyPath = std::wstring(kDefaultKey));

    // Missing key, missing value or a value that is not text: nullopt.
    std::optional<std::wstring> Read(std::wstring_view name) const;
    bool Write(std::wstring_view name, std::wstring_view text) const;

    const std::wstring& keyPath() const { return keyPath_; }

private:
    std::wstring keyPath_;
};

}  // namespace grabwell::platform
