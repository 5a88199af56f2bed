#include "document/wallpaper.h"

#include <optional>

#include "document/ansi_path.h"
#include "document/user_files.h"

namespace grabwell::document {

namespace {

constexpr wchar_t kWallpaperTail[] = L"\\wallpaper.bmp";

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

std::wstring FallbackWallpaperFile() { return PerUserFile(kWallpaperTail); }

void SetWallpaper(const capture::Picture& picture, const std::wstring& fixedFile) {
    std::wstring shown = fixedFile;
    if (!picture.empty()) {
        std::wstring written = SavePictureOrPerUser(picture, fixedFile, kWallpaperTail);
        if (!written.empty()) shown = std::move(written);
    }
    RequestWallpaper(shown);
}

void ClearWallpaper() {
    char none[] = "";
    ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, none, SPIF_UPDATEINIFILE);
}

}  // namespace grabwell::document
