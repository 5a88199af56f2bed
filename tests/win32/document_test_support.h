#pragma once
// Shared pieces of the document tests: a private folder under %TEMP% that
// goes away with the test, pictures with a known pattern, and raw file access.
#include <cstdint>
#include <optional>
#include <string>

#include "capture/picture.h"
#include "platform/win32.h"

namespace grabwell::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// The colour the test pattern has at (x, y); unique enough that a shifted,
// flipped or stretched copy does not match.
COLORREF PatternColour(int x, int y);

// A picture in the display's format filled with PatternColour.
capture::Picture PatternPicture(int width, int height);

std::optional<std::string> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);

// For failure messages: GoogleTest prints narrow text.
std::string Utf8ForTrace(const std::wstring& text);

struct BmpFileHeaders {
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
};
// The headers at the front of a BMP file, or nullopt when the bytes do not
// start with "BM" and a whole BITMAPINFOHEADER.
std::optional<BmpFileHeaders> ParseBmpHeaders(const std::string& bytes);

}  // namespace grabwell::testing
