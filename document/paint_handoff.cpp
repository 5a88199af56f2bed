#include "document/paint_handoff.h"

#include <shlwapi.h>

#include "document/user_files.h"
#include "platform/file.h"

namespace grabwell::document {

namespace {

constexpr wchar_t kPaintClass[] = L"Paint.Picture";
constexpr wchar_t kTempTail[] = L"\\Temp\\temp.bmp";

// A string of the class's "edit" association, or empty.
std::wstring PaintClassString(ASSOCSTR which) {
    wchar_t text[2048] = {};
    DWORD length = 2048;
    const HRESULT found = ::AssocQueryStringW(ASSOCF_NOTRUNCATE, which, kPaintClass, L"edit", text, &length);
    return SUCCEEDED(found) ? text : L"";
}

// The class is used only when its "edit" command names, by its full path,
// a program that is there. A class left behind by a removed Paint would
// otherwise fail in front of a fallback that works; and the association's
// lookup resolves a bare program name through the current folder and PATH,
// where anyone may have left a program of that name.
bool PaintClassNamesAProgram() {
    const std::wstring program = PaintClassString(ASSOCSTR_EXECUTABLE);
    wchar_t command[2048] = {};
    if (program.empty() || !platform::IsFile(program) ||
        ::ExpandEnvironmentStringsW(PaintClassString(ASSOCSTR_COMMAND).c_str(), command, 2048) == 0) {
        return false;
    }
    const std::wstring_view named(command + (command[0] == L'"' ? 1 : 0));
    const auto size = static_cast<int>(program.size());
    return named.size() >= program.size() &&
           ::CompareStringOrdinal(named.data(), size, program.c_str(), size, TRUE) == CSTR_EQUAL;
}

// Every way fails quietly: a failure only means the next way is tried, and
// the caller tells the user when none worked.
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

// Paint as Windows 10 has it, when it has it (an optional feature).
std::wstring SystemPaint() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(folder, length) + L"\\mspaint.exe";
}

bool LaunchEditor(HWND owner, const std::wstring& path) {
    if (PaintClassNamesAProgram()) {
        SHELLEXECUTEINFOW record = PaintLaunchRecord(owner, path);
        if (::ShellExecuteExW(&record)) return true;
    }
    // Paint by its full path only: a bare "mspaint.exe" would be looked for in
    // the current folder and on PATH. Windows 11 has no Paint in the system
    // folder; its Store Paint starts through the user's app execution alias.
    const std::wstring quoted = L"\"" + path + L"\"";
    const std::wstring storeAlias = LocalAppDataFile(L"\\Microsoft\\WindowsApps\\mspaint.exe");
    for (const std::wstring& paint : {SystemPaint(), storeAlias}) {
        if (!paint.empty() && platform::IsFile(paint) && ShellExecuteQuietly(owner, nullptr, paint, quoted)) {
            return true;
        }
    }
    return ShellExecuteQuietly(owner, L"edit", path, {});
}

}  // namespace

std::wstring PaintTempFile(const std::wstring& programFolder) { return programFolder + kTempTail; }

SHELLEXECUTEINFOW PaintLaunchRecord(HWND owner, const std::wstring& path) {
    SHELLEXECUTEINFOW record{};
    record.cbSize = sizeof(record);
    record.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI;
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
