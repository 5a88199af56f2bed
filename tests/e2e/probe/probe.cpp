// Looks at the running program from another process, as a user's desktop
// would: is the main window there, where, in which state, and with a menu
// bar. Prints one line of key=value pairs; exit code 0 when found.
//
//   grabwell_probe window [TIMEOUT_SECONDS]
//   grabwell_probe scroll          both scroll bars (state, page, screen rectangle),
//                                  the viewport and where the picture sits
//   grabwell_probe toolbar         the toolbar's screen rectangle
//   grabwell_probe dialog [TIMEOUT_SECONDS]
//                                  the first dialog box on the desktop: title,
//                                  text, screen rectangle
//   grabwell_probe menu            the screen rectangle of the open menu
//   grabwell_probe answer TITLE yes|no|cancel|ok
//                                  clicks that button of the dialog box titled
//                                  TITLE, wherever it is in the stack of windows
//   grabwell_probe process NAME    how many processes of that image name run
//   grabwell_probe memory          the program's memory counters
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

HWND FindMain(int timeoutSeconds) {
    for (int i = 0; i < timeoutSeconds * 10; ++i) {
        if (HWND found = ::FindWindowW(L"GrabwellMainWindow", nullptr)) return found;
        ::Sleep(100);
    }
    return nullptr;
}

std::string Utf8(const wchar_t* text) {
    char buffer[2048] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof(buffer), nullptr, nullptr);
    return buffer;
}

int ProbeWindow(int timeoutSeconds) {
    HWND window = FindMain(timeoutSeconds);
    if (!window) {
        std::printf("found=0\n");
        return 1;
    }
    // A window still being loaded exists before it is placed and shown; read
    // it once it is on screen (a window hidden for a capture shows again
    // within a moment, one that stays hidden is reported as it is).
    for (int i = 0; i < 30 && !::IsWindowVisible(window); ++i) ::Sleep(100);
    wchar_t title[256] = {};
    ::GetWindowTextW(window, title, 256);
    RECT outer{};
    ::GetWindowRect(window, &outer);
    POINT clientOrigin{0, 0};
    ::ClientToScreen(window, &clientOrigin);
    // The client area starts below the caption and, when there is one, the
    // menu bar; menus of another process cannot be read under every system,
    // but their height shows in the frame.
    const int above = clientOrigin.y - outer.top;
    const int caption = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYFRAME) +
                        ::GetSystemMetrics(SM_CXPADDEDBORDER);
    const bool menuBar = ::GetMenu(window) != nullptr && above >= caption + ::GetSystemMetrics(SM_CYMENU) - 2;
    // Which window of the program's thread has the keyboard: keys a user
    // types go there.
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    wchar_t focus[64] = L"none";
    if (::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &gui) && gui.hwndFocus) {
        ::GetClassNameW(gui.hwndFocus, focus, 64);
    }
    std::printf("found=1 title=%s left=%ld top=%ld width=%ld height=%ld menubar=%d visible=%d "
                "iconic=%d zoomed=%d foreground=%d focus=%s\n",
                Utf8(title).c_str(), outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                menuBar ? 1 : 0, ::IsWindowVisible(window) ? 1 : 0, ::IsIconic(window) ? 1 : 0,
                ::IsZoomed(window) ? 1 : 0, ::GetForegroundWindow() == window ? 1 : 0,
                Utf8(focus).c_str());
    return 0;
}

struct ChildSearch {
    const wchar_t* className;
    bool vertical;  // for SCROLLBAR: SBS_VERT or not
    HWND found;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    wchar_t name[64] = {};
    ::GetClassNameW(child, name, 64);
    if (::_wcsicmp(name, search->className) != 0) return TRUE;
    if (::_wcsicmp(name, L"SCROLLBAR") == 0 &&
        ((::GetWindowLongW(child, GWL_STYLE) & SBS_VERT) != 0) != search->vertical) {
        return TRUE;
    }
    search->found = child;
    return FALSE;
}

HWND FindChild(HWND parent, const wchar_t* className, bool vertical = false) {
    ChildSearch search{className, vertical, nullptr};
    ::EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Scroll bar state is kept by the bar control itself, so another process
// reads exactly what the user sees. max is the highest position the thumb
// reaches (the control stops it a page short of its range's end); arrow is
// the length of each arrow button. Where the thumb is drawn cannot be asked
// from another process under Wine; the screen shows it.
void PrintBar(const char* prefix, HWND bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    const bool read = bar && ::GetScrollInfo(bar, SB_CTL, &info);
    const int highest = info.nMax - static_cast<int>(info.nPage > 0 ? info.nPage - 1 : 0);
    RECT r{};
    if (bar) ::GetWindowRect(bar, &r);
    const bool vertical = bar && (::GetWindowLongW(bar, GWL_STYLE) & SBS_VERT) != 0;
    std::printf("%svisible=%d %spos=%d %smax=%d %spage=%d %sarrow=%d %srect=%ld,%ld,%ld,%ld ", prefix,
                bar && ::IsWindowVisible(bar) ? 1 : 0, prefix, read ? info.nPos : -1, prefix,
                read ? highest : -1, prefix, read ? static_cast<int>(info.nPage) : -1, prefix,
                ::GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL), prefix, r.left, r.top, r.right,
                r.bottom);
}

int ProbeScroll() {
    HWND window = FindMain(5);
    if (!window) {
        std::printf("found=0\n");
        return 1;
    }
    std::printf("found=1 ");
    PrintBar("h", FindChild(window, L"SCROLLBAR", false));
    PrintBar("v", FindChild(window, L"SCROLLBAR", true));
    RECT view{};
    if (HWND viewport = FindChild(window, L"GrabwellViewport")) ::GetWindowRect(viewport, &view);
    RECT picture{};
    if (HWND box = FindChild(window, L"GrabwellPicture")) ::GetWindowRect(box, &picture);
    std::printf("view=%ld,%ld,%ld,%ld picleft=%ld pictop=%ld picwidth=%ld picheight=%ld\n", view.left,
                view.top, view.right, view.bottom, picture.left, picture.top, picture.right - picture.left,
                picture.bottom - picture.top);
    return 0;
}

int ProbeToolbar() {
    HWND window = FindMain(5);
    HWND toolbar = window ? FindChild(window, L"ToolbarWindow32") : nullptr;
    if (!toolbar) {
        std::printf("found=0\n");
        return 1;
    }
    RECT r{};
    ::GetWindowRect(toolbar, &r);
    std::printf("found=1 left=%ld top=%ld width=%ld height=%ld\n", r.left, r.top, r.right - r.left,
                r.bottom - r.top);
    return 0;
}

struct DialogSearch {
    const wchar_t* title;  // null: any
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (std::wcscmp(name, L"#32770") != 0 || !::IsWindowVisible(window)) return TRUE;
    if (search->title) {
        wchar_t title[256] = {};
        ::GetWindowTextW(window, title, 256);
        if (std::wcscmp(title, search->title) != 0) return TRUE;
    }
    search->found = window;
    return FALSE;
}

// The topmost visible dialog box with that title (any, for null), waiting up
// to the timeout for one to show.
HWND FindDialog(const wchar_t* title, int timeoutSeconds) {
    DialogSearch search{title, nullptr};
    for (int tries = timeoutSeconds * 10;; --tries) {
        ::EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found || tries <= 0) return search.found;
        ::Sleep(100);
    }
}

BOOL CALLBACK AppendStatic(HWND child, LPARAM param) {
    wchar_t name[16] = {};
    ::GetClassNameW(child, name, 16);
    if (::_wcsicmp(name, L"Static") != 0) return TRUE;
    wchar_t text[1024] = {};
    ::GetWindowTextW(child, text, 1024);
    auto* all = reinterpret_cast<std::wstring*>(param);
    if (text[0] && !all->empty()) *all += L" | ";
    *all += text;
    return TRUE;
}

// Message boxes and common dialogs are all of the dialog class; their
// message lives in static controls.
int PrintDialog(HWND dialog) {
    if (!dialog) {
        std::printf("found=0\n");
        return 1;
    }
    wchar_t title[256] = {};
    ::GetWindowTextW(dialog, title, 256);
    std::wstring text;
    ::EnumChildWindows(dialog, AppendStatic, reinterpret_cast<LPARAM>(&text));
    for (auto& c : text) {
        if (c == L'\r' || c == L'\n') c = L' ';
    }
    RECT r{};
    ::GetWindowRect(dialog, &r);
    std::printf("found=1 title=%s\ttext=%s\trect=%ld,%ld,%ld,%ld\n", Utf8(title).c_str(),
                Utf8(text.c_str()).c_str(), r.left, r.top, r.right, r.bottom);
    return 0;
}

// A popup menu is a window of the system's menu class while it is open.
int ProbeMenu() {
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    RECT r{};
    if (!menu || !::IsWindowVisible(menu) || !::GetWindowRect(menu, &r)) {
        std::printf("found=0\n");
        return 1;
    }
    std::printf("found=1 rect=%ld,%ld,%ld,%ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
}

// A click on the button by its window, as a user's click would arrive, so
// that it works while another program's window covers the box.
int Answer(const wchar_t* title, const wchar_t* button) {
    static constexpr struct {
        const wchar_t* name;
        int id;
    } kButtons[] = {{L"yes", IDYES}, {L"no", IDNO}, {L"cancel", IDCANCEL}, {L"ok", IDOK}};
    int id = 0;
    for (const auto& known : kButtons) {
        if (::_wcsicmp(known.name, button) == 0) id = known.id;
    }
    HWND dialog = FindDialog(title, 0);
    HWND control = dialog && id ? ::GetDlgItem(dialog, id) : nullptr;
    if (!control) {
        std::printf("found=0\n");
        return 1;
    }
    PrintDialog(dialog);
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) ? 0 : 1;
}

// The process list is the prefix's own: one wineserver, one list.
int ProbeProcess(const wchar_t* imageName) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 2;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
        if (::_wcsicmp(entry.szExeFile, imageName) == 0) ++count;
    }
    ::CloseHandle(snapshot);
    std::printf("count=%d\n", count);
    return 0;
}

// The program's memory counters, read from outside so that measuring costs
// it nothing. Windows fills PrivateUsage (Task Manager's commit size); Wine 8
// leaves it 0 for another process and reports the resident anonymous memory
// as the pagefile usage, with no peak of its own.
int ProbeMemory() {
    HWND window = FindMain(5);
    DWORD processId = 0;
    if (window) ::GetWindowThreadProcessId(window, &processId);
    HANDLE process =
        processId ? ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, processId)
                  : nullptr;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    const bool read =
        process && ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                          sizeof(counters));
    if (process) ::CloseHandle(process);
    if (!read) {
        std::printf("found=0\n");
        return 1;
    }
    std::printf("found=1 private=%llu pagefile=%llu peakpagefile=%llu workingset=%llu peakworkingset=%llu\n",
                static_cast<unsigned long long>(counters.PrivateUsage),
                static_cast<unsigned long long>(counters.PagefileUsage),
                static_cast<unsigned long long>(counters.PeakPagefileUsage),
                static_cast<unsigned long long>(counters.WorkingSetSize),
                static_cast<unsigned long long>(counters.PeakWorkingSetSize));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && std::wcscmp(argv[1], L"window") == 0) {
        return ProbeWindow(argc >= 3 ? ::_wtoi(argv[2]) : 20);
    }
    if (argc == 2 && std::wcscmp(argv[1], L"scroll") == 0) return ProbeScroll();
    if (argc == 2 && std::wcscmp(argv[1], L"toolbar") == 0) return ProbeToolbar();
    if (argc >= 2 && std::wcscmp(argv[1], L"dialog") == 0) {
        return PrintDialog(FindDialog(nullptr, argc >= 3 ? ::_wtoi(argv[2]) : 0));
    }
    if (argc == 4 && std::wcscmp(argv[1], L"answer") == 0) return Answer(argv[2], argv[3]);
    if (argc == 3 && std::wcscmp(argv[1], L"process") == 0) return ProbeProcess(argv[2]);
    if (argc == 2 && std::wcscmp(argv[1], L"memory") == 0) return ProbeMemory();
    if (argc == 2 && std::wcscmp(argv[1], L"menu") == 0) return ProbeMenu();
    std::fprintf(stderr,
                 "usage: grabwell_probe window [TIMEOUT_SECONDS] | scroll | toolbar | "
                 "dialog [TIMEOUT_SECONDS] | answer TITLE BUTTON | process NAME | memory | menu\n");
    return 2;
}
