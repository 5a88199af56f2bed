// Capture, save and load costs against what the platform itself needs for
// the same work, measured in one run:
//   whole-screen capture into a Picture  vs  one BitBlt of the screen
//   saving a 3840x2160 BMP              vs  CopyFileW of as many bytes
//   loading a 24-megapixel JPEG         vs  WIC's own decode, and Debian's
//                                           djpeg (timed outside); with the
//                                           steps a load may take
//
//   grabwell_bench_capture --make-jpeg FILE       writes the JPEG and exits
//   grabwell_bench_capture [--jpeg FILE --djpeg-ms MS [--djpeg-scalar-ms MS]]
#include <wincodec.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "capture/capture_sources.h"
#include "capture/picture_file.h"
#include "platform/com.h"
#include "platform/file.h"
#include "platform/dib.h"
#include "platform/unique_any.h"

namespace {

using namespace grabwell;

double Ms(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs each piece of work `runs` times, alternating, so drift in the
// machine's load hits all of them alike; gives each one's median.
std::vector<double> Interleaved(int runs, const std::vector<std::function<void()>>& works) {
    std::vector<std::vector<double>> times(works.size());
    for (int i = 0; i < runs; ++i) {
        for (std::size_t w = 0; w < works.size(); ++w) times[w].push_back(Ms(works[w]));
    }
    std::vector<double> medians;
    for (auto& t : times) medians.push_back(Median(std::move(t)));
    return medians;
}

void Report(const char* name, double ms, double baselineMs, const char* target) {
    std::printf("%s: %.2fms %.2fms %.3fx %s\n", name, ms, baselineMs, ms / baselineMs, target);
    std::fflush(stdout);
}

std::wstring Widen(const char* text) {
    std::wstring wide(std::strlen(text), L'\0');
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(),
                                        static_cast<int>(wide.size() + 1));
    wide.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);
    return wide;
}

std::wstring TempFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, base);
    return base;
}

// 3 colour channels of gentle gradients with some detail, so the JPEG has
// the size and decoding work of a photograph rather than of flat fields.
BYTE Channel(int x, int y, int c) {
    return static_cast<BYTE>((x * (c + 1) + y * (3 - c) + ((x ^ y) & 31)) & 0xFF);
}

bool MakeJpeg(const std::wstring& path, int width, int height) {
    platform::ComInit com;
    platform::ComPtr<IWICImagingFactory> factory;
    platform::ComPtr<IWICStream> stream;
    platform::ComPtr<IWICBitmapEncoder> encoder;
    platform::ComPtr<IWICBitmapFrameEncode> frame;
    platform::ComPtr<IPropertyBag2> options;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &options)) ||
        FAILED(frame->Initialize(options.Get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) ||
        FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) {
        return false;
    }
    const UINT stride = static_cast<UINT>(width) * 3;
    constexpr int kRows = 64;
    std::vector<BYTE> rows(static_cast<std::size_t>(stride) * kRows);
    for (int y = 0; y < height; y += kRows) {
        const int n = std::min(kRows, height - y);
        for (int r = 0; r < n; ++r) {
            for (int x = 0; x < width; ++x) {
                BYTE* p = &rows[static_cast<std::size_t>(r) * stride + static_cast<std::size_t>(x) * 3];
                for (int c = 0; c < 3; ++c) p[c] = Channel(x, y + r, c);
            }
        }
        if (FAILED(frame->WritePixels(static_cast<UINT>(n), stride, stride * static_cast<UINT>(n),
                                      rows.data()))) {
            return false;
        }
    }
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

void BenchScreenCapture() {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    const HWND desktop = ::GetDesktopWindow();
    HDC screen = ::GetWindowDC(desktop);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const auto ms = Interleaved(101, {
        [] {
            const capture::Picture p = capture::CaptureWholeScreen();
            if (p.empty()) std::abort();
        },
        // The blit alone, into a bitmap made once.
        [&] { ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY); },
        // The same capture in raw GDI: every call a new picture needs.
        [&] {
            HDC source = ::GetWindowDC(desktop);
            HDC into = ::CreateCompatibleDC(source);
            HBITMAP fresh = ::CreateCompatibleBitmap(source, width, height);
            HGDIOBJ previous = ::SelectObject(into, fresh);
            ::BitBlt(into, 0, 0, width, height, source, 0, 0, SRCCOPY);
            ::SelectObject(into, previous);
            ::DeleteDC(into);
            ::ReleaseDC(desktop, source);
            ::DeleteObject(fresh);
        },
    });
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(desktop, screen);
    Report("whole_screen_capture_vs_bitblt", ms[0], ms[1], "<=1.10x");
    Report("whole_screen_capture_vs_raw_gdi_capture", ms[0], ms[2], "<=1.10x");
}

capture::Picture GradientPicture(int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)] =
                static_cast<std::uint32_t>(Channel(x, y, 2)) << 16 |
                static_cast<std::uint32_t>(Channel(x, y, 1)) << 8 | Channel(x, y, 0);
        }
    }
    const BITMAPINFO info = platform::TopDownDib32(width, height);
    auto screen = platform::unique_window_dc::Client(nullptr);
    platform::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    ::SetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(), &info,
                DIB_RGB_COLORS);
    return capture::PictureFromBitmap(std::move(bitmap));
}

bool FlushFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool flushed = ::FlushFileBuffers(file) != FALSE;
    ::CloseHandle(file);
    return flushed;
}

void BenchBmpWrite(const std::wstring& folder) {
    const capture::Picture picture = GradientPicture(3840, 2160);
    const std::wstring target = folder + L"grabwell-bench-write.bmp";
    const std::wstring source = folder + L"grabwell-bench-source.bin";
    const std::wstring copy = folder + L"grabwell-bench-copy.bin";
    if (!capture::SavePictureFile(picture, target)) std::abort();
    // The baseline source: a file of exactly the BMP's byte count.
    if (!::CopyFileW(target.c_str(), source.c_str(), FALSE)) std::abort();
    const auto ms = Interleaved(15, {
        [&] {
            if (!capture::SavePictureFile(picture, target)) std::abort();
        },
        [&] {
            if (!::CopyFileW(source.c_str(), copy.c_str(), FALSE)) std::abort();
        },
        // The save is durable before it replaces the target; so is this copy.
        [&] {
            if (!::CopyFileW(source.c_str(), copy.c_str(), FALSE) || !FlushFile(copy)) {
                std::abort();
            }
        },
    });
    ::DeleteFileW(target.c_str());
    ::DeleteFileW(source.c_str());
    ::DeleteFileW(copy.c_str());
    Report("bmp_write_3840x2160_vs_copyfile", ms[0], ms[1], "<=1.50x");
    Report("bmp_write_3840x2160_vs_copyfile_flushed", ms[0], ms[2], "<=1.50x");
}

// What WIC gives for the file when nothing of ours runs: the decoder, and
// its pixels copied out in the format it decodes to, into memory of its own.
struct WicFrame {
    platform::ComPtr<IWICImagingFactory> factory;
    platform::ComPtr<IWICStream> stream;
    platform::ComPtr<IWICBitmapDecoder> decoder;
    platform::ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
};

WicFrame OpenFrame(std::vector<std::uint8_t>& bytes) {
    WicFrame f;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&f.factory))) ||
        FAILED(f.factory->CreateStream(&f.stream)) ||
        FAILED(f.stream->InitializeFromMemory(bytes.data(), static_cast<DWORD>(bytes.size()))) ||
        FAILED(f.factory->CreateDecoderFromStream(f.stream.Get(), nullptr,
                                                  WICDecodeMetadataCacheOnDemand, &f.decoder)) ||
        FAILED(f.decoder->GetFrame(0, &f.frame)) || FAILED(f.frame->GetSize(&f.width, &f.height))) {
        std::abort();
    }
    return f;
}

// The whole source copied out in one call at `bytesPerPixel`, into a buffer
// allocated for it.
std::vector<BYTE> CopyAll(IWICBitmapSource* source, UINT width, UINT height, UINT bytesPerPixel) {
    const UINT stride = (width * bytesPerPixel + 3) & ~3u;
    std::vector<BYTE> pixels(static_cast<std::size_t>(stride) * height);
    if (FAILED(source->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data()))) {
        std::abort();
    }
    return pixels;
}

// djpegScalarMs: djpeg with its SIMD code switched off, 0 when not timed.
void BenchJpegLoad(const std::wstring& jpeg, double djpegMs, double djpegScalarMs) {
    std::vector<std::uint8_t> bytes = *platform::ReadWholeFile(jpeg, 0x7FFFFFFF);
    const WicFrame probe = OpenFrame(bytes);
    WICPixelFormatGUID native{};
    probe.frame->GetPixelFormat(&native);
    if (native != GUID_WICPixelFormat24bppBGR) std::abort();  // what every colour JPEG gives
    const int width = static_cast<int>(probe.width), height = static_cast<int>(probe.height);
    // Decoded once, for the passes that work on decoded pixels.
    const std::vector<BYTE> decoded24 = CopyAll(probe.frame.Get(), probe.width, probe.height, 3);
    std::vector<BYTE> decoded32(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    auto screen = platform::unique_window_dc::Client(nullptr);

    const auto ms = Interleaved(5, {
        [&] {
            const capture::Picture p = capture::LoadPictureFile(jpeg);
            if (p.empty()) std::abort();
        },
        [&] {
            const WicFrame f = OpenFrame(bytes);
            CopyAll(f.frame.Get(), f.width, f.height, 3);
        },
        [&] {
            if (!platform::ReadWholeFile(jpeg, 0x7FFFFFFF)) std::abort();
        },
        // The decoder's pixels converted by WIC to 32 bits a pixel.
        [&] {
            const WicFrame f = OpenFrame(bytes);
            platform::ComPtr<IWICFormatConverter> converter;
            if (FAILED(f.factory->CreateFormatConverter(&converter)) ||
                FAILED(converter->Initialize(f.frame.Get(), GUID_WICPixelFormat32bppBGR,
                                             WICBitmapDitherTypeNone, nullptr, 0.0,
                                             WICBitmapPaletteTypeCustom))) {
                std::abort();
            }
            CopyAll(converter.Get(), f.width, f.height, 4);
        },
        // The same widening by a plain loop over decoded pixels.
        [&] {
            const std::size_t rowIn = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
            for (int y = 0; y < height; ++y) {
                const BYTE* from = decoded24.data() + rowIn * static_cast<std::size_t>(y);
                BYTE* to = decoded32.data() + static_cast<std::size_t>(width) * 4 * static_cast<std::size_t>(y);
                for (int x = 0; x < width; ++x, from += 3, to += 4) {
                    to[0] = from[0], to[1] = from[1], to[2] = from[2], to[3] = 0;
                }
            }
        },
        // Decoded 32-bit pixels copied into a new bitmap in the display's format.
        [&] {
            platform::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
            platform::unique_hdc memory(::CreateCompatibleDC(screen.get()));
            platform::unique_select_object select(memory.get(), bitmap.get());
            const BITMAPINFO info = platform::TopDownDib32(width, height);
            if (::SetDIBitsToDevice(memory.get(), 0, 0, static_cast<DWORD>(width),
                                    static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height),
                                    decoded32.data(), &info, DIB_RGB_COLORS) == 0) {
                std::abort();
            }
        },
    });
    const double load = ms[0], decode = ms[1];
    Report("jpeg_load_24mp_vs_wic_decode", load, decode, "<=1.20x");
    Report("jpeg_load_24mp_vs_djpeg", load, djpegMs, "<=3.00x");
    // Where a load's time can go, each step against WIC's own decode.
    Report("jpeg_step_read_file_vs_wic_decode", ms[2], decode, "(breakdown)");
    Report("jpeg_step_wic_decode_and_convert_to_32bpp_vs_wic_decode", ms[3], decode, "(breakdown)");
    Report("jpeg_step_widen_24_to_32bpp_vs_wic_decode", ms[4], decode, "(breakdown)");
    Report("jpeg_step_copy_into_display_bitmap_vs_wic_decode", ms[5], decode, "(breakdown)");
    // What the decode itself costs against the same library outside Wine.
    Report("jpeg_step_wic_decode_vs_djpeg", decode, djpegMs, "(breakdown)");
    if (djpegScalarMs > 0) {
        Report("jpeg_step_wic_decode_vs_djpeg_without_simd", decode, djpegScalarMs, "(breakdown)");
    }
}

}  // namespace

int main(int argc, char** argv) {
    constexpr int kJpegWidth = 6000, kJpegHeight = 4000;  // 24 megapixels
    std::wstring jpeg;
    double djpegMs = 0, djpegScalarMs = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--make-jpeg") == 0) {
            return MakeJpeg(Widen(argv[i + 1]), kJpegWidth, kJpegHeight) ? 0 : 1;
        }
        if (std::strcmp(argv[i], "--jpeg") == 0) jpeg = Widen(argv[i + 1]);
        if (std::strcmp(argv[i], "--djpeg-ms") == 0) djpegMs = std::atof(argv[i + 1]);
        if (std::strcmp(argv[i], "--djpeg-scalar-ms") == 0) djpegScalarMs = std::atof(argv[i + 1]);
    }
    std::printf("name: value baseline ratio target\n");
    BenchScreenCapture();
    BenchBmpWrite(TempFolder());
    if (!jpeg.empty() && djpegMs > 0) {
        const platform::ComInit com;
        BenchJpegLoad(jpeg, djpegMs, djpegScalarMs);
    } else {
        std::printf("jpeg_load_24mp_vs_djpeg: skipped (run through bench/run_capture_bench.sh)\n");
    }
    return 0;
}
