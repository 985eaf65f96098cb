// A small probe the end-to-end tests run under Wine beside Lumivane.exe: it finds the
// program's window and talks to it the way other processes do. Every subcommand prints
// its result on one line and exits 0 on success; a window that is not there is exit 1,
// a usage or system error exit 2, a missing answer exit 3.
//
//   find-window                   "found 0x..." or "none"
//   copydata TEXT [--size N] [--no-terminator] [--null-data] [--source S|self] [--wait MS]
//                                 sends WM_COPYDATA: dwData S (default 1), the text's bytes and
//                                 a zero (cbData N, default the text with its zero; a larger N
//                                 pads with zeros). --no-terminator repeats the text to N bytes
//                                 (default 2048) without any zero byte. --null-data sends
//                                 lpData null with the size. --source self sends the own thread
//                                 id and waits (default 10000 ms) for the thread answer.
//   post-command ID LPARAM        PostMessage(WM_COMMAND, ID, LPARAM)
//   send-message MSG WPARAM LPARAM  SendMessageTimeout, prints the result
//   is-visible                    "visible" (exit 0) or "hidden" (exit 1)
//   window-rect                   "left top right bottom"
//   control-text ID               the text of the window's control ID (UTF-8); exit 2 when
//                                 there is no such control
//   wait-taskbar SECONDS          waits until the desktop's task bar exists (exit 1 if not);
//                                 starting any program brings the desktop and its task bar up
//   find-class CLASS              the first visible top-level window of CLASS (any process):
//                                 "found 0x... left top right bottom", or "none" (exit 1)
//   work-area                     the primary work area: "left top right bottom"
//   small-icon-size               the size of a small icon: "width height"
//   stand-in SECONDS              a hidden window of the program's class that prints each
//                                 copy-data record, answers a thread source with the record's
//                                 size and ends on WM_CLOSE or after SECONDS; it lets the
//                                 harness check itself without the program
// Numbers are decimal or 0x-hexadecimal.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kWindowClass[] = L"Lumivane class 4.4";
constexpr UINT kSendTimeoutMs = 10000;

constexpr int kOk = 0;
constexpr int kNoWindow = 1;
constexpr int kError = 2;
constexpr int kNoAnswer = 3;

int Usage() {
    std::fputs("usage: e2e_tool find-window | copydata TEXT [--size N] [--no-terminator] [--null-data]"
               " [--source S|self] [--wait MS] | post-command ID LPARAM | send-message MSG WPARAM LPARAM"
               " | is-visible | window-rect | control-text ID | stand-in SECONDS | wait-taskbar SECONDS"
               " | find-class CLASS | work-area | small-icon-size\n",
               stderr);
    return kError;
}

bool ParseNumber(const char* text, unsigned long long& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const bool negative = text[0] == '-';
    const unsigned long long parsed = std::strtoull(negative ? text + 1 : text, &end, 0);
    if (errno != 0 || *end != '\0') return false;
    value = negative ? 0 - parsed : parsed;
    return true;
}

HWND FindProgramWindow() { return FindWindowW(kWindowClass, nullptr); }

// Every subcommand but find-window needs the window; its absence is reported the same way.
HWND RequireWindow() {
    HWND window = FindProgramWindow();
    if (!window) std::puts("none");
    return window;
}

bool Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, DWORD_PTR& result) {
    result = 0;
    if (SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result)) return true;
    std::printf("send failed, error %lu\n", GetLastError());
    return false;
}

int FindWindowCommand() {
    HWND window = FindProgramWindow();
    if (!window) {
        std::puts("none");
        return kNoWindow;
    }
    std::printf("found %p\n", static_cast<void*>(window));
    return kOk;
}

// Waits for the WM_COMMAND thread message a running instance posts as its answer.
int WaitForAnswer(DWORD waitMs) {
    const ULONGLONG deadline = GetTickCount64() + waitMs;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.hwnd == nullptr && message.message == WM_COMMAND) {
                std::printf("answer %llu\n", static_cast<unsigned long long>(message.wParam));
                return kOk;
            }
            DispatchMessageW(&message);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
    std::puts("no answer");
    return kNoAnswer;
}

int CopyDataCommand(int argc, char** argv) {
    if (argc < 1) return Usage();
    const std::string text = argv[0];
    bool sizeGiven = false, noTerminator = false, nullData = false, selfSource = false;
    unsigned long long size = 0, source = 1, waitMs = 10000;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--size" && hasValue && ParseNumber(argv[i + 1], size)) {
            sizeGiven = true;
            ++i;
        } else if (option == "--source" && hasValue && std::strcmp(argv[i + 1], "self") == 0) {
            selfSource = true;
            ++i;
        } else if (option == "--source" && hasValue && ParseNumber(argv[i + 1], source)) {
            ++i;
        } else if (option == "--wait" && hasValue && ParseNumber(argv[i + 1], waitMs)) {
            ++i;
        } else if (option == "--no-terminator") {
            noTerminator = true;
        } else if (option == "--null-data") {
            nullData = true;
        } else {
            return Usage();
        }
    }
    if (noTerminator && text.empty()) return Usage();

    std::vector<char> record;
    if (noTerminator) {
        if (!sizeGiven) size = 2048;
        record.resize(static_cast<std::size_t>(size));
        for (std::size_t i = 0; i < record.size(); ++i) record[i] = text[i % text.size()];
    } else {
        if (!sizeGiven) size = text.size() + 1;
        record.assign(text.begin(), text.end());
        record.resize(std::max<std::size_t>(record.size() + 1, static_cast<std::size_t>(size)), '\0');
    }
    if (size > 0xFFFFFFFFull) return Usage();

    HWND window = RequireWindow();
    if (!window) return kNoWindow;
    // Created before the send, so an answer posted at once finds the queue.
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);

    COPYDATASTRUCT data{};
    data.dwData = selfSource ? GetCurrentThreadId() : static_cast<ULONG_PTR>(source);
    data.cbData = static_cast<DWORD>(size);
    data.lpData = nullData ? nullptr : record.data();
    DWORD_PTR result = 0;
    if (!Send(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), result)) return kError;
    std::printf("sent %llu bytes, result %llu\n", size, static_cast<unsigned long long>(result));
    std::fflush(stdout);
    return selfSource ? WaitForAnswer(static_cast<DWORD>(waitMs)) : kOk;
}

int PostCommandCommand(int argc, char** argv) {
    unsigned long long id = 0, lparam = 0;
    if (argc != 2 || !ParseNumber(argv[0], id) || !ParseNumber(argv[1], lparam)) return Usage();
    HWND window = RequireWindow();
    if (!window) return kNoWindow;
    if (!PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), static_cast<LPARAM>(lparam))) {
        std::printf("post failed, error %lu\n", GetLastError());
        return kError;
    }
    std::puts("posted");
    return kOk;
}

int SendMessageCommand(int argc, char** argv) {
    unsigned long long message = 0, wparam = 0, lparam = 0;
    if (argc != 3 || !ParseNumber(argv[0], message) || !ParseNumber(argv[1], wparam) || !ParseNumber(argv[2], lparam))
        return Usage();
    HWND window = RequireWindow();
    if (!window) return kNoWindow;
    DWORD_PTR result = 0;
    if (!Send(window, static_cast<UINT>(message), static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam), result))
        return kError;
    std::printf("result %llu\n", static_cast<unsigned long long>(result));
    return kOk;
}

int IsVisibleCommand() {
    HWND window = RequireWindow();
    if (!window) return kNoWindow;
    const bool visible = IsWindowVisible(window) != FALSE;
    std::puts(visible ? "visible" : "hidden");
    return visible ? kOk : kNoWindow;
}

int WindowRectCommand() {
    HWND window = RequireWindow();
    if (!window) return kNoWindow;
    RECT rect{};
    if (!GetWindowRect(window, &rect)) {
        std::printf("no rectangle, error %lu\n", GetLastError());
        return kError;
    }
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return kOk;
}

int ControlTextCommand(int argc, char** argv) {
    unsigned long long id = 0;
    if (argc != 1 || !ParseNumber(argv[0], id)) return Usage();
    HWND window = RequireWindow();
    if (!window) return kNoWindow;
    HWND control = GetDlgItem(window, static_cast<int>(id));
    if (!control) {
        std::printf("no control %llu\n", id);
        return kError;
    }
    // Sent with a time-out, unlike GetWindowText, so a hung program cannot hang the probe.
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &length)) {
        std::printf("no text, error %lu\n", GetLastError());
        return kError;
    }
    char utf8[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::puts(utf8);
    return kOk;
}

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
        std::string text;
        if (data->lpData) text.assign(static_cast<const char*>(data->lpData), strnlen(static_cast<const char*>(data->lpData), data->cbData));
        std::printf("copydata source=%llu size=%lu data=%s text=%s\n", static_cast<unsigned long long>(data->dwData),
                    data->cbData, data->lpData ? "yes" : "null", text.c_str());
        std::fflush(stdout);
        if (data->dwData > 3) PostThreadMessageW(static_cast<DWORD>(data->dwData), WM_COMMAND, data->cbData, 0);
        return 1;
    }
    if (message == WM_COMMAND) {
        std::printf("command id=%llu lparam=%lld\n", static_cast<unsigned long long>(wparam), static_cast<long long>(lparam));
        std::fflush(stdout);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// The task bar announces itself ("TaskbarCreated") when it comes up; a program started
// before that takes the announcement for a restarted task bar and restarts itself.
int WaitTaskbarCommand(int argc, char** argv) {
    unsigned long long seconds = 0;
    if (argc != 1 || !ParseNumber(argv[0], seconds)) return Usage();
    const ULONGLONG deadline = GetTickCount64() + seconds * 1000;
    while (!FindWindowW(L"Shell_TrayWnd", nullptr)) {
        if (GetTickCount64() >= deadline) {
            std::puts("none");
            return kNoWindow;
        }
        Sleep(100);
    }
    Sleep(1000);  // the announcement has gone out by then
    std::puts("found");
    return kOk;
}

struct ClassSearch {
    std::wstring className;
    HWND found = nullptr;
};

BOOL CALLBACK FindVisibleOfClass(HWND window, LPARAM lparam) {
    auto* search = reinterpret_cast<ClassSearch*>(lparam);
    wchar_t name[256] = {};
    if (!IsWindowVisible(window) || !GetClassNameW(window, name, static_cast<int>(std::size(name)))) return TRUE;
    if (search->className != name) return TRUE;
    search->found = window;
    return FALSE;
}

// Only visible windows count: a system may keep a hidden window of a class (menus) at hand.
int FindClassCommand(int argc, char** argv) {
    if (argc != 1) return Usage();
    wchar_t name[256] = {};
    if (!MultiByteToWideChar(CP_UTF8, 0, argv[0], -1, name, static_cast<int>(std::size(name)))) return Usage();
    ClassSearch search{name};
    EnumWindows(FindVisibleOfClass, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
        std::puts("none");
        return kNoWindow;
    }
    RECT rect{};
    GetWindowRect(search.found, &rect);
    std::printf("found %p %ld %ld %ld %ld\n", static_cast<void*>(search.found), rect.left, rect.top, rect.right,
                rect.bottom);
    return kOk;
}

int WorkAreaCommand() {
    RECT rect{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0)) {
        std::printf("no work area, error %lu\n", GetLastError());
        return kError;
    }
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return kOk;
}

int SmallIconSizeCommand() {
    std::printf("%d %d\n", GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    return kOk;
}

int StandInCommand(int argc, char** argv) {
    unsigned long long seconds = 0;
    if (argc != 1 || !ParseNumber(argv[0], seconds)) return Usage();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = StandInProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassW(&windowClass)) return kError;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"stand-in", WS_POPUP, 100, 100, 200, 120, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (!window) return kError;
    SetTimer(window, 1, static_cast<UINT>(seconds * 1000), [](HWND w, UINT, UINT_PTR, DWORD) { DestroyWindow(w); });
    std::puts("ready");
    std::fflush(stdout);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    int status = kError;
    if (command == "find-window" && argc == 2) status = FindWindowCommand();
    else if (command == "copydata") status = CopyDataCommand(argc - 2, argv + 2);
    else if (command == "post-command") status = PostCommandCommand(argc - 2, argv + 2);
    else if (command == "send-message") status = SendMessageCommand(argc - 2, argv + 2);
    else if (command == "is-visible" && argc == 2) status = IsVisibleCommand();
    else if (command == "window-rect" && argc == 2) status = WindowRectCommand();
    else if (command == "control-text") status = ControlTextCommand(argc - 2, argv + 2);
    else if (command == "stand-in") status = StandInCommand(argc - 2, argv + 2);
    else if (command == "wait-taskbar") status = WaitTaskbarCommand(argc - 2, argv + 2);
    else if (command == "find-class") status = FindClassCommand(argc - 2, argv + 2);
    else if (command == "work-area" && argc == 2) status = WorkAreaCommand();
    else if (command == "small-icon-size" && argc == 2) status = SmallIconSizeCommand();
    else status = Usage();
    std::fflush(stdout);
    return status;
}
