#include "document/paint_handoff.h"

#include "document/user_files.h"
#include "platform/unique_any.h"

namespace grabwell::document {

namespace {

constexpr wchar_t kPaintClass[] = L"Paint.Picture";
constexpr wchar_t kTempTail[] = L"\\Temp\\temp.bmp";

bool PaintClassRegistered() {
    platform::unique_hkey key;
    return ::RegOpenKeyExW(HKEY_CLASSES_ROOT, kPaintClass, 0, KEY_READ, key.put()) ==
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

// Paint by its full path: a bare "mspaint.exe" would be looked for in the
// current folder first, where anyone may have left a program of that name.
std::wstring SystemPaint() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(folder, length) + L"\\mspaint.exe";
}

bool LaunchEditor(HWND owner, const std::wstring& path) {
    // The shell shows its own error box when the class is missing, which
    // would stand in front of a fallback that works; so the class is looked
    // up first.
    if (PaintClassRegistered()) {
        SHELLEXECUTEINFOW record = PaintLaunchRecord(owner, path);
        if (::ShellExecuteExW(&record)) return true;
    }
    if (ShellExecuteQuietly(owner, L"edit", path, {})) return true;
    const std::wstring paint = SystemPaint();
    if (paint.empty() || ::GetFileAttributesW(paint.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    return ShellExecuteQuietly(owner, nullptr, paint, L"\"" + path + L"\"");
}

}  // namespace

std::wstring PaintTempFile(const std::wstring& programFolder) { return programFolder + kTempTail; }

SHELLEXECUTEINFOW PaintLaunchRecord(HWND owner, const std::wstring& path) {
    SHELLEXECUTEINFOW record{};
    record.cbSize = sizeof(record);
    record.fMask = SEE_MASK_CLASSNAME;
    record.hwnd = owner;
    record.lpVerb = L"edit";
    record.lpFile = path.c_str();
    record.lpParameters = nullptr;
    record.lpDirectory = nullptr;
    record.nShow = SW_SHOWNORMAL;
    record.lpClass = kPaintClass;
    return record;
}

bool EditInPaint(HWND owner, const capture::Picture& picture, const std::wstring& programFolder,
                 std::wstring* written) {
    if (picture.empty()) return false;
    // The Temp folder ships with the program but may have been deleted;
    // a failure to create it shows up as the save failing.
    ::CreateDirectoryW((programFolder + L"\\Temp").c_str(), nullptr);
    const std::wstring path = SavePictureOrPerUser(picture, PaintTempFile(programFolder), kTempTail);
    if (written) *written = path;
    if (path.empty()) return false;
    return LaunchEditor(owner, path);
}

}  // namespace grabwell::document
