#include "document/user_files.h"

#include <shlobj.h>

#include "capture/picture_file.h"
#include "platform/com.h"

namespace grabwell::document {

namespace {

// Every folder on the way to the file; the ones that exist already refuse
// quietly.
void CreateFoldersFor(const std::wstring& file) {
    for (std::size_t slash = file.find(L'\\'); slash != std::wstring::npos;
         slash = file.find(L'\\', slash + 1)) {
        if (slash > 0 && file[slash - 1] != L':') {
            ::CreateDirectoryW(file.substr(0, slash).c_str(), nullptr);
        }
    }
}

}  // namespace

std::wstring LocalAppDataFile(std::wstring_view tail) {
    platform::unique_cotaskmem_string local;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, local.put()))) return {};
    return std::wstring(local.get()) + std::wstring(tail);
}

std::wstring PerUserFile(std::wstring_view tail) {
    return LocalAppDataFile(L"\\Grabwell" + std::wstring(tail));
}

std::wstring SavePictureOrPerUser(const capture::Picture& picture, const std::wstring& preferred,
                                  std::wstring_view tail) {
    if (capture::SavePictureFile(picture, preferred)) return preferred;
    if (picture.empty()) return {};
    const std::wstring file = PerUserFile(tail);
    if (file.empty()) return {};
    CreateFoldersFor(file);
    return capture::SavePictureFile(picture, file) ? file : std::wstring();
}

}  // namespace grabwell::document
