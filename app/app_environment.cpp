#include "app/app_environment.h"

#include <vector>

#include "core/caption.h"
#include "platform/text.h"

namespace grabwell::app {

namespace {
std::wstring ModulePath(HINSTANCE instance) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(instance, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return {buffer.data(), length};
        buffer.resize(buffer.size() * 2);
    }
}
}  // namespace

AppEnvironment ProgramEnvironment(HINSTANCE instance, document::ModalUi& ui) {
    AppEnvironment env;
    env.instance = instance;
    const std::wstring path = ModulePath(instance);
    const auto slash = path.find_last_of(L'\\');
    env.programFolder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    env.exeBaseName = platform::Wide(core::ExeBaseName(platform::Utf16(path)));
    env.ui = &ui;
    return env;
}

}  // namespace grabwell::app
