#include "document/paint_handoff.h"

#include <optional>

#include "capture/picture_file.h"
#include "document/ansi_path.h"
#include "platform/unique_any.h"

namespace grabwell::document {

namespace {

constexpr char kPaintClass[] = "Paint.Picture";

bool PaintClassRegistered() {
    platform::unique_hkey key;
    return ::RegOpenKeyExA(HKEY_CLASSES_ROOT, kPaintClass, 0, KEY_READ, key.put()) ==
           ERROR_SUCCESS;
}

// The fallbacks fail quietly: a failure here only means the next way is
// tried, and the caller reports when none worked.
bool ShellExecuteQuietly(HWND owner, const wchar_t* verb, const std::wstring& file,
                         const std::wstring& parameters) {
    SHELLEXECUTEINFOW record{};
    record.cbSize = sizeof(record);
    record.fMask = SEE_MASK_FLAG_NO_UI;
    record.hwnd = owner;
    record.lpVerb = verb;
    record.lpFile = file.c_str();
    record.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    record.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExW(&record) != FALSE;
}

bool LaunchEditor(HWND owner, const std::wstring& path) {
    // ShellExecuteExA shows its own error box when the class is missing,
    // which would stand in front of a fallback that works; so the class is
    // looked up first.
    if (const std::optional<std::string> ansi = ExactAnsiPath(path);
        ansi && PaintClassRegistered()) {
        SHELLEXECUTEINFOA record = PaintLaunchRecord(owner, *ansi);
        if (::ShellExecuteExA(&record)) return true;
    }
    if (ShellExecuteQuietly(owner, L"edit", path, {})) return true;
    return ShellExecuteQuietly(owner, nullptr, L"mspaint.exe", L"\"" + path + L"\"");
}

}  // namespace

std::wstring PaintTempFile(const std::wstring& programFolder) {
    return programFolder + L"\\Temp\\temp.bmp";
}

SHELLEXECUTEINFOA PaintLaunchRecord(HWND owner, const std::string& path) {
    SHELLEXECUTEINFOA record{};
    record.cbSize = sizeof(record);
    record.fMask = SEE_MASK_CLASSNAME;
    record.hwnd = owner;
    record.lpVerb = "edit";
    record.lpFile = path.c_str();
    record.lpParameters = nullptr;
    record.lpDirectory = nullptr;
    record.nShow = SW_SHOWNORMAL;
    record.lpClass = kPaintClass;
    return record;
}

bool EditInPaint(HWND owner, const capture::Picture& picture, const std::wstring& programFolder) {
    if (picture.empty()) return false;
    // The Temp folder ships with the program but may have been deleted;
    // a failure to create it shows up as the save failing.
    ::CreateDirectoryW((programFolder + L"\\Temp").c_str(), nullptr);
    const std::wstring path = PaintTempFile(programFolder);
    if (!capture::SavePictureFile(picture, path)) return false;
    return LaunchEditor(owner, path);
}

}  // namespace grabwell::document
