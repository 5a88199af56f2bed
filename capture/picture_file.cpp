#include "capture/picture_file.h"

#include <wincodec.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "capture/copy_window_area.h"
#include "core/image_header.h"
#include "platform/com.h"
#include "platform/unique_any.h"

namespace grabwell::capture {

namespace {

// Pixels move between the codec, GDI and the file in strips of about this
// many bytes, so a large picture never needs a second full-size buffer.
constexpr std::size_t kStripBytes = 8u << 20;
// A BMP's size fields are 32-bit; every other format stays far below this
// under kMaxPixels, and WIC reads memory streams of at most a DWORD.
constexpr std::uint64_t kMaxFileBytes = 0x7FFFFFFFu;

int RowsPerStrip(std::uint64_t stride, int height) {
    const std::uint64_t rows = std::max<std::uint64_t>(1, kStripBytes / stride);
    return static_cast<int>(std::min<std::uint64_t>(rows, static_cast<std::uint64_t>(height)));
}

platform::unique_hfile OpenFile(const std::wstring& path, DWORD access, DWORD share,
                               DWORD disposition, DWORD flags) {
    return platform::unique_hfile(
        ::CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
}

// ---- loading ------------------------------------------------------------

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path) {
    auto file = OpenFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN);
    LARGE_INTEGER size{};
    if (!file || ::GetFileType(file.get()) != FILE_TYPE_DISK ||
        !::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > kMaxFileBytes) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kStripBytes));
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0) {
            return std::nullopt;  // read error, or the file shrank under us
        }
        done += got;
    }
    return bytes;
}

// Rows of 24bppBGR widened to 32bppBGR; WIC's own converter takes several
// times as long for the most common decoded format (every JPEG).
void WidenRows(const BYTE* from, BYTE* to, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i, from += 3, to += 4) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        to[3] = 0;
    }
}

// Draws a 32bppBGR source, or a 24bppBGR one when `threeBytes`, into a
// bitmap in the screen's format.
Picture ToDisplayBitmap(IWICBitmapSource* source, bool threeBytes, int width, int height) {
    auto screen = platform::unique_window_dc::Client(nullptr);
    if (!screen) return {};
    platform::unique_hbitmap bitmap = CreateCaptureBitmap(screen.get(), width, height);
    platform::unique_hdc memory(::CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory) return {};
    platform::unique_select_object select(memory.get(), bitmap.get());
    if (!select) return {};

    const std::uint64_t stride = static_cast<std::uint64_t>(width) * 4;
    const std::uint64_t sourceStride = static_cast<std::uint64_t>(width) * (threeBytes ? 3 : 4);
    const int rows = RowsPerStrip(stride, height);
    std::vector<BYTE> strip;
    std::vector<BYTE> narrow;
    try {
        strip.resize(static_cast<std::size_t>(stride * static_cast<std::uint64_t>(rows)));
        if (threeBytes) {
            narrow.resize(static_cast<std::size_t>(sourceStride * static_cast<std::uint64_t>(rows)));
        }
    } catch (const std::bad_alloc&) {
        return {};
    }
    BYTE* const decoded = threeBytes ? narrow.data() : strip.data();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    for (int y = 0; y < height; y += rows) {
        const int n = std::min(rows, height - y);
        const WICRect area{0, y, width, n};
        if (FAILED(source->CopyPixels(&area, static_cast<UINT>(sourceStride),
                                      static_cast<UINT>(sourceStride * static_cast<UINT>(n)),
                                      decoded))) {
            return {};
        }
        if (threeBytes) {
            WidenRows(decoded, strip.data(),
                      static_cast<std::size_t>(width) * static_cast<std::size_t>(n));
        }
        info.bmiHeader.biHeight = -n;  // each strip is its own top-down DIB
        if (::SetDIBitsToDevice(memory.get(), 0, y, static_cast<DWORD>(width),
                                static_cast<DWORD>(n), 0, 0, 0, static_cast<UINT>(n),
                                strip.data(), &info, DIB_RGB_COLORS) == 0) {
            return {};
        }
    }
    select.restore();
    return PictureFromBitmap(std::move(bitmap));
}

Picture Decode(std::span<const std::uint8_t> bytes, const core::ImageHeaderInfo& header) {
    platform::ComInit com;
    if (!com.usable()) return {};
    platform::ComPtr<IWICImagingFactory> factory;
    platform::ComPtr<IWICStream> stream;
    platform::ComPtr<IWICBitmapDecoder> decoder;
    platform::ComPtr<IWICBitmapFrameDecode> frame;
    platform::ComPtr<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    // WIC only reads the memory it is given.
    auto* data = const_cast<BYTE*>(bytes.data());
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(data, static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height))) {
        return {};
    }
    if (!core::PixelCountAllowed(width, height)) return {};
    // The codec must see the picture the header check saw.
    if (header.width != 0 && (header.width != width || header.height != height)) return {};
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetPixelFormat(&format))) return {};
    if (format == GUID_WICPixelFormat24bppBGR || format == GUID_WICPixelFormat32bppBGR) {
        return ToDisplayBitmap(frame.Get(), format == GUID_WICPixelFormat24bppBGR,
                               static_cast<int>(width), static_cast<int>(height));
    }
    if (FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return {};
    }
    return ToDisplayBitmap(converter.Get(), false, static_cast<int>(width),
                           static_cast<int>(height));
}

// ---- saving -------------------------------------------------------------

// Windows refuses to replace a read-only file, but Wine's rename does not
// look at the attribute; the user's say-so has to hold on both.
bool IsReadOnly(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// A file beside the target that becomes the target only by a rename, and is
// deleted whenever that does not happen.
class TempBeside {
public:
    explicit TempBeside(const std::wstring& target) {
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0; attempt < 16 && !file_; ++attempt) {
            path_ = target + L".~" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                    std::to_wstring(counter++) + L".tmp";
            file_ = OpenFile(path_, GENERIC_WRITE, 0, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
            if (!file_ && ::GetLastError() != ERROR_FILE_EXISTS) break;
        }
        created_ = static_cast<bool>(file_);
    }
    TempBeside(const TempBeside&) = delete;
    TempBeside& operator=(const TempBeside&) = delete;
    ~TempBeside() {
        file_.reset();
        if (created_ && !moved_) ::DeleteFileW(path_.c_str());
    }

    explicit operator bool() const noexcept { return static_cast<bool>(file_); }

    bool Write(const void* data, std::size_t size) {
        auto* bytes = static_cast<const BYTE*>(data);
        while (size > 0) {
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
            DWORD wrote = 0;
            if (!::WriteFile(file_.get(), bytes, want, &wrote, nullptr) || wrote != want) {
                return false;
            }
            bytes += wrote;
            size -= wrote;
        }
        return true;
    }

    bool ReplaceTarget(const std::wstring& target) {
        if (!::FlushFileBuffers(file_.get())) return false;
        file_.reset();
        if (IsReadOnly(target)) return false;
        moved_ = ::MoveFileExW(path_.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        return moved_;
    }

private:
    std::wstring path_;
    platform::unique_hfile file_;
    bool created_ = false;
    bool moved_ = false;
};

struct BmpLayout {
    int width = 0;
    int height = 0;
    WORD bits = 24;
    std::uint32_t stride = 0;
    std::uint32_t colors = 0;
    std::uint32_t pixelOffset = 0;
    std::uint32_t fileSize = 0;
};

std::optional<BmpLayout> PlanBmp(core::Size size, bool indexed) {
    if (size.cx <= 0 || size.cy <= 0) return std::nullopt;
    BmpLayout layout;
    layout.width = size.cx;
    layout.height = size.cy;
    layout.bits = indexed ? 8 : 24;
    layout.colors = indexed ? 256 : 0;
    const std::uint64_t stride = (static_cast<std::uint64_t>(size.cx) * layout.bits + 31) / 32 * 4;
    const std::uint64_t offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) +
                                 std::uint64_t{layout.colors} * sizeof(RGBQUAD);
    const std::uint64_t total = offset + stride * static_cast<std::uint64_t>(size.cy);
    if (total > 0xFFFFFFFFu) return std::nullopt;  // beyond what a BMP header can say
    layout.stride = static_cast<std::uint32_t>(stride);
    layout.pixelOffset = static_cast<std::uint32_t>(offset);
    layout.fileSize = static_cast<std::uint32_t>(total);
    return layout;
}

struct BmpInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

// 32-bit rows from GetDIBits packed into 24-bit file rows: GDI's own 24-bit
// conversion is several times slower than this loop.
void PackRows(const BYTE* from, BYTE* to, int width, int rows, std::uint32_t stride) {
    const std::size_t pixels = static_cast<std::size_t>(width);
    for (int r = 0; r < rows; ++r) {
        BYTE* out = to + std::size_t{stride} * static_cast<std::size_t>(r);
        const BYTE* in = from + 4 * pixels * static_cast<std::size_t>(r);
        // Whole 4-byte stores, each overwriting the previous one's spare
        // byte; the row's last pixel stops at its own three bytes.
        for (std::size_t x = 0; x + 1 < pixels; ++x, in += 4, out += 3) std::memcpy(out, in, 4);
        std::memcpy(out, in, 3);
        std::memset(out + 3, 0, stride - 3 * pixels);
    }
}

bool WriteBmp(const Picture& picture, const BmpLayout& layout, TempBeside& out) {
    auto screen = platform::unique_window_dc::Client(nullptr);
    if (!screen) return false;
    // GetDIBits takes an 8-bit colour table from the palette selected in the
    // DC it is given, so palette pictures go through a DC of their own.
    platform::unique_hdc memory(::CreateCompatibleDC(screen.get()));
    if (!memory) return false;
    platform::unique_select_palette selectPalette(memory.get(), picture.palette());
    if (picture.palette()) ::RealizePalette(memory.get());

    const bool packed = layout.bits == 24;
    const std::uint32_t readStride =
        packed ? 4 * static_cast<std::uint32_t>(layout.width) : layout.stride;
    BmpInfo info{};
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = layout.width;
    info.header.biHeight = layout.height;  // bottom-up: file order from scan line 0
    info.header.biPlanes = 1;
    info.header.biBitCount = packed ? WORD{32} : layout.bits;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = layout.colors;

    const int rows = RowsPerStrip(readStride, layout.height);
    std::vector<BYTE> strip;
    std::vector<BYTE> fileRows;
    try {
        strip.resize(std::size_t{readStride} * static_cast<std::size_t>(rows));
        if (packed) fileRows.resize(std::size_t{layout.stride} * static_cast<std::size_t>(rows));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int scan = 0; scan < layout.height; scan += rows) {
        const int n = std::min(rows, layout.height - scan);
        if (::GetDIBits(memory.get(), picture.handle(), static_cast<UINT>(scan),
                        static_cast<UINT>(n), strip.data(),
                        reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != n) {
            return false;
        }
        if (scan == 0) {
            // The colour table is known once GetDIBits has filled it in.
            BITMAPFILEHEADER file{};
            file.bfType = 0x4D42;  // "BM"
            file.bfSize = layout.fileSize;
            file.bfOffBits = layout.pixelOffset;
            BITMAPINFOHEADER header = info.header;
            header.biBitCount = layout.bits;
            header.biClrUsed = layout.colors;
            header.biSizeImage = layout.stride * static_cast<std::uint32_t>(layout.height);
            header.biXPelsPerMeter = header.biYPelsPerMeter = 0;
            if (!out.Write(&file, sizeof(file)) || !out.Write(&header, sizeof(header)) ||
                !out.Write(info.colors, layout.colors * sizeof(RGBQUAD))) {
                return false;
            }
        }
        if (packed) PackRows(strip.data(), fileRows.data(), layout.width, n, layout.stride);
        const BYTE* rowsOut = packed ? fileRows.data() : strip.data();
        if (!out.Write(rowsOut, std::size_t{layout.stride} * static_cast<std::size_t>(n))) {
            return false;
        }
    }
    return true;
}

}  // namespace

Picture LoadPictureFile(const std::wstring& path) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return {};
    const core::HeaderCheck check = core::ValidateImageHeader(*bytes);
    if (!check.ok()) return {};
    return Decode(*bytes, check.info);
}

bool SavePictureFile(const Picture& picture, const std::wstring& path) {
    if (picture.empty() || IsReadOnly(path)) return false;
    const auto layout = PlanBmp(picture.size(), picture.palette() != nullptr);
    if (!layout) return false;
    TempBeside temp(path);
    if (!temp || !WriteBmp(picture, *layout, temp)) return false;
    return temp.ReplaceTarget(path);
}

}  // namespace grabwell::capture
