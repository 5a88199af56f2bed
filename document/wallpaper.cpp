#include "document/wallpaper.h"

#include <shlobj.h>

#include <optional>

#include "capture/picture_file.h"
#include "document/ansi_path.h"
#include "platform/com.h"

namespace grabwell::document {

namespace {

void RequestWallpaper(const std::wstring& path) {
    // The ANSI call unless the path cannot be said in the ANSI code page
    // (a profile folder named in another script): then the wide one.
    if (std::optional<std::string> ansi = ExactAnsiPath(path)) {
        ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, ansi->data(), SPIF_UPDATEINIFILE);
    } else {
        std::wstring wide = path;
        ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, wide.data(), SPIF_UPDATEINIFILE);
    }
}

}  // namespace

std::wstring FallbackWallpaperFile() {
    platform::unique_cotaskmem_string local;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, local.put()))) return {};
    return std::wstring(local.get()) + L"\\Grabwell\\wallpaper.bmp";
}

void SetWallpaper(const capture::Picture& picture, const std::wstring& fixedFile) {
    std::wstring shown = fixedFile;
    if (!picture.empty() && !capture::SavePictureFile(picture, fixedFile)) {
        const std::wstring fallback = FallbackWallpaperFile();
        if (!fallback.empty()) {
            ::CreateDirectoryW(fallback.substr(0, fallback.rfind(L'\\')).c_str(), nullptr);
            if (capture::SavePictureFile(picture, fallback)) shown = fallback;
        }
    }
    RequestWallpaper(shown);
}

void ClearWallpaper() {
    char none[] = "";
    ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, none, SPIF_UPDATEINIFILE);
}

}  // namespace grabwell::document
