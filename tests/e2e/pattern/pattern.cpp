// A helper the end-to-end tests drive from the shell:
//   grabwell_pattern show X Y W H [SECONDS]  a borderless window of known pixels
//   grabwell_pattern gpu X Y W H [SECONDS]   the same, standing in for a window
//                                            a GPU draws (tests/e2e/composed), its
//                                            invisible borders painted kMarker
//   grabwell_pattern invert                  that window turns to the inverse
//                                            colours, or back
//   grabwell_pattern clip FILE.bmp           the clipboard's CF_BITMAP as a 24-bit BMP
//   grabwell_pattern label TEXT FILE.bmp     TEXT in a screen DC's default font, white
//                                            on black, as large as the DC measures it
//   grabwell_pattern window CLASS [maximize|close|cancelmode]
//                                            where a window of that class is and
//                                            its state, after the action if any;
//                                            cancelmode takes its mouse capture
//                                            away as Windows does on deactivation
// Output goes to stdout as one line; the exit code says whether it worked.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

#include "platform/dib.h"
#include "tests/e2e/composed/composed_world.h"

namespace {

constexpr const wchar_t* kPatternClass = L"GrabwellTestPattern";
constexpr UINT kInvert = WM_APP + 1;
bool inverted = false;
bool gpuDrawn = false;
// Never a pattern colour: red 0 needs x = 0 and green 255 needs y = 73
// (mod 256), and then blue is 27.
constexpr COLORREF kMarker = RGB(0, 255, 0);

// Every pixel differs from its neighbours, so an edge off by one shows.
COLORREF PatternColour(int x, int y) {
    const int r = (x * 5) & 0xFF;
    const int g = (y * 7) & 0xFF;
    const int b = ((x + y) * 3 + 0x40) & 0xFF;
    return inverted ? RGB(255 - r, 255 - g, 255 - b) : RGB(r, g, b);
}

void PaintPattern(HDC dc, int width, int height) {
    std::vector<DWORD> bits(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = PatternColour(x, y);
            bits[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                static_cast<DWORD>(GetRValue(c)) << 16 | static_cast<DWORD>(GetGValue(c)) << 8 |
                GetBValue(c);
        }
    }
    const BITMAPINFO info = grabwell::platform::TopDownDib32(width, height);
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
}

LRESULT CALLBACK PatternProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT client{};
            GetClientRect(hwnd, &client);
            PaintPattern(dc, client.right, client.bottom);
            if (gpuDrawn) {
                HBRUSH marker = CreateSolidBrush(kMarker);
                const int b = kInvisibleBorder;
                const RECT bands[] = {{0, 0, b, client.bottom},
                                      {client.right - b, 0, client.right, client.bottom},
                                      {0, client.bottom - b, client.right, client.bottom}};
                for (const RECT& band : bands) FillRect(dc, &band, marker);
                DeleteObject(marker);
            }
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case kInvert:
            inverted = !inverted;
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_TIMER:
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

int Show(int x, int y, int width, int height, int seconds) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PatternProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = gpuDrawn ? kGpuWindowClass : kPatternClass;
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName,
                                gpuDrawn ? L"grabwell gpu window" : L"grabwell pattern", WS_POPUP,
                                x, y, width, height, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    SetTimer(hwnd, 1, static_cast<UINT>(seconds) * 1000u, nullptr);
    std::printf("shown %d %d %d %d\n", x, y, x + width, y + height);
    std::fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

int Invert() {
    HWND pattern = FindWindowW(kPatternClass, nullptr);
    if (!pattern) return 2;
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(pattern, kInvert, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) ? 0 : 3;
}

// WM_CANCELMODE, whose default handling lets the capture go, and the
// capture released from inside the window's own input state.
void TakeCaptureAway(HWND window) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_CANCELMODE, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (AttachThreadInput(GetCurrentThreadId(), thread, TRUE)) {
        ReleaseCapture();
        AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
    }
}

bool WriteBmp(const char* path, HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof(info), &info)) return false;
    const int width = info.bmWidth;
    const int height = info.bmHeight;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;  // bottom-up, as BMP files are
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    const int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &bi,
                                DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines != height) return false;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    bi.bmiHeader.biSizeImage = static_cast<DWORD>(pixels.size());
    FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    bool ok = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
              std::fwrite(&bi.bmiHeader, sizeof(bi.bmiHeader), 1, out) == 1 &&
              std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    ok = std::fclose(out) == 0 && ok;
    return ok;
}

int Clip(const char* path) {
    for (int attempt = 0; !OpenClipboard(nullptr); ++attempt) {
        if (attempt == 20) return 3;
        Sleep(50);
    }
    int rc = 2;
    if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        BITMAP info{};
        GetObjectW(bitmap, sizeof(info), &info);
        rc = WriteBmp(path, bitmap) ? 0 : 4;
        std::printf("%ldx%ld\n", info.bmWidth, info.bmHeight);
    } else {
        std::printf("none\n");
    }
    CloseClipboard();
    return rc;
}

int Label(const char* narrow, const char* path) {
    wchar_t text[64] = {};
    MultiByteToWideChar(CP_UTF8, 0, narrow, -1, text, 63);
    const int length = static_cast<int>(wcslen(text));
    HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    SIZE size{};
    GetTextExtentPoint32W(screen, text, length, &size);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bits = CreateBitmap(size.cx, size.cy, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(memory, bits);
    SetTextColor(memory, RGB(255, 255, 255));
    SetBkColor(memory, RGB(0, 0, 0));
    TextOutW(memory, 0, 0, text, length);
    SelectObject(memory, old);
    const bool written = WriteBmp(path, bits);
    DeleteObject(bits);
    DeleteDC(memory);
    DeleteDC(screen);
    std::printf("%ldx%ld\n", size.cx, size.cy);
    return written ? 0 : 4;
}

struct Search {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 255);
    if (std::wcscmp(name, search->className) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK SearchTopLevel(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!MatchClass(hwnd, param)) return FALSE;
    EnumChildWindows(hwnd, MatchClass, param);
    return search->found ? FALSE : TRUE;
}

// Prints "rect L T R B visible L T R B state normal|minimized|maximized
// shown yes|no capture yes|no answers yes|no", the visible part being what
// the parent's client area leaves showing, capture whether the window holds
// its thread's mouse capture, answers whether its thread took a message
// sent after the window was seen shown: whatever it was doing as it showed
// the window (painting it) is done, and a press would reach it now.
int Window(const char* narrowClass, const char* action) {
    wchar_t className[256] = {};
    MultiByteToWideChar(CP_UTF8, 0, narrowClass, -1, className, 255);
    Search search{className, nullptr};
    EnumWindows(SearchTopLevel, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 2;
    if (std::strcmp(action, "maximize") == 0) ShowWindow(search.found, SW_MAXIMIZE);
    if (std::strcmp(action, "close") == 0) {
        PostMessageW(search.found, WM_CLOSE, 0, 0);
        return 0;
    }
    if (std::strcmp(action, "cancelmode") == 0) TakeCaptureAway(search.found);
    RECT rect{};
    GetWindowRect(search.found, &rect);
    RECT visible = rect;
    if (HWND parent = GetAncestor(search.found, GA_PARENT); parent && parent != GetDesktopWindow()) {
        RECT client{};
        GetClientRect(parent, &client);
        MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
        IntersectRect(&visible, &rect, &client);
    }
    HWND top = GetAncestor(search.found, GA_ROOT);
    const char* state = IsIconic(top) ? "minimized" : IsZoomed(top) ? "maximized" : "normal";
    GUITHREADINFO input{};
    input.cbSize = sizeof(input);
    const bool captured = GetGUIThreadInfo(GetWindowThreadProcessId(search.found, nullptr), &input) &&
                          input.hwndCapture == search.found;
    const bool shown = IsWindowVisible(search.found);
    DWORD_PTR ignored = 0;
    const bool answers =
        SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
    std::printf("rect %ld %ld %ld %ld visible %ld %ld %ld %ld state %s shown %s capture %s "
                "answers %s\n",
                rect.left, rect.top, rect.right, rect.bottom, visible.left, visible.top,
                visible.right, visible.bottom, state, shown ? "yes" : "no", captured ? "yes" : "no",
                answers ? "yes" : "no");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    gpuDrawn = argc >= 2 && std::strcmp(argv[1], "gpu") == 0;
    if (argc >= 6 && (std::strcmp(argv[1], "show") == 0 || gpuDrawn)) {
        const int seconds = argc >= 7 ? std::atoi(argv[6]) : 300;
        return Show(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                    std::atoi(argv[5]), seconds);
    }
    if (argc == 2 && std::strcmp(argv[1], "invert") == 0) return Invert();
    if (argc == 3 && std::strcmp(argv[1], "clip") == 0) return Clip(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "label") == 0) return Label(argv[2], argv[3]);
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "window") == 0) {
        return Window(argv[2], argc == 4 ? argv[3] : "");
    }
    std::fprintf(stderr,
                 "usage: grabwell_pattern show|gpu X Y W H [SECONDS] | invert | clip FILE.bmp | "
                 "label TEXT FILE.bmp | window CLASS [maximize|close|cancelmode]\n");
    return 64;
}
