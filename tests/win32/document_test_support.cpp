#include "tests/win32/document_test_support.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/dib.h"
#include "platform/unique_any.h"

namespace grabwell::testing {

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, base);
    for (unsigned n = ::GetTickCount(); path_.empty(); ++n) {
        std::wstring candidate = std::wstring(base) + L"grabwell-test-" + std::to_wstring(n);
        if (::CreateDirectoryW(candidate.c_str(), nullptr)) path_ = candidate;
    }
}

TempFolder::~TempFolder() {
    // The file dialogs move the current directory to where a file was
    // chosen, and Windows will not remove a directory that is current.
    wchar_t current[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH + 1, current);
    if (std::wstring(current).starts_with(path_)) {
        ::SetCurrentDirectoryW(path_.substr(0, path_.rfind(L'\\')).c_str());
    }
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(path_), ignored);
}

COLORREF PatternColour(int x, int y) {
    return RGB((x * 7 + 11) & 0xFF, (y * 13 + 5) & 0xFF, ((x ^ y) * 3 + 40) & 0xFF);
}

capture::Picture PatternPicture(int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = PatternColour(x, y);
            pixels[static_cast<std::size_t>(y) * width + x] =
                (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    const BITMAPINFO info = platform::TopDownDib32(width, height);
    const auto screen = platform::unique_window_dc::Client(nullptr);
    platform::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    if (bitmap) {
        ::SetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(), &info,
                    DIB_RGB_COLORS);
    }
    return capture::PictureFromBitmap(std::move(bitmap));
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Utf8ForTrace(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), n, nullptr, nullptr);
    return utf8.c_str();
}

std::optional<BmpFileHeaders> ParseBmpHeaders(const std::string& bytes) {
    BmpFileHeaders h{};
    if (bytes.size() < sizeof(h.file) + sizeof(h.info)) return std::nullopt;
    std::memcpy(&h.file, bytes.data(), sizeof(h.file));
    std::memcpy(&h.info, bytes.data() + sizeof(h.file), sizeof(h.info));
    if (h.file.bfType != 0x4D42 || h.info.biSize < sizeof(h.info)) return std::nullopt;
    return h;
}

}  // namespace grabwell::testing
