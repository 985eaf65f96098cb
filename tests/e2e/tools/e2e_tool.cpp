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
//   control-rect ID [--client]    the control's rectangle "left top right bottom", on the
//                                 screen (as window-rect, ready for a pointer), or with
//                                 --client in the popup's client coordinates
//   control-visible ID            "visible" (exit 0) or "hidden" (exit 1): the control itself and
//                                 the popup it sits in
//   scroll-bars ID                the control's scroll bars as they show: "none",
//                                 "horizontal", "vertical" or "both"
//   slider-pos ID                 the trackbar's position (TBM_GETPOS)
//   slider-thumb ID               the trackbar's thumb on the screen "left top right bottom"
//                                 (TBM_GETTHUMBRECT through the program's memory)
//   click-control ID              presses a visible, enabled button (BM_CLICK) without waiting
//                                 for what the press opens: "clicked", with "checked" or
//                                 "unchecked" after it for a check box
//   pick ID INDEX                 selects item INDEX of a visible, enabled combo box and tells
//                                 the popup with CBN_SELCHANGE, as a user's pick does:
//                                 "picked INDEX TEXT"
//   list-cells                    the six column texts of every row of the monitor list, one
//                                 row a line, the texts separated by tabs (nothing for no row);
//                                 read through the program's memory, the only way to have a
//                                 list view's text from another process
//   row-rect ROW [--client]       row ROW's (from 0) rectangle "left top right bottom", as the
//                                 list measures it: on the screen (ready for a pointer), or with
//                                 --client in the list's client coordinates
//   clipboard                     the clipboard's text (CF_TEXT) as it stands, its lines as they
//                                 are; "empty" (exit 1) when it holds no text
//   power-watch SECONDS           a hidden top-level window that prints "ready", then, for each
//                                 monitor-power request (WM_SYSCOMMAND SC_MONITORPOWER) that
//                                 reaches it, "monitor-power LPARAM at MS", MS the wall clock in
//                                 milliseconds since 1970 (the harness's `date +%s%3N`); ends
//                                 after SECONDS
//   answer-box yes|no [--wait MS] waits (default 10000 ms) for a visible Yes/No message box of
//                                 the program's process, presses the button and waits for the
//                                 box to close: "answered yes: TEXT"; exit 3 without such a box
//   wait-taskbar SECONDS          waits until the desktop's task bar exists (exit 1 if not);
//                                 starting any program brings the desktop and its task bar up
//   find-class CLASS              the first visible top-level window of CLASS (any process):
//                                 "found 0x... left top right bottom", or "none" (exit 1)
//   work-area                     the primary work area: "left top right bottom"
//   small-icon-size               the size of a small icon: "width height"
//   stand-in SECONDS              a hidden window of the program's class that prints each
//                                 copy-data record, answers a thread source with the record's
//                                 size and ends on WM_CLOSE or after SECONDS; it lets the
//                                 harness check itself without the program. Its hidden
//                                 monitor list holds six columns of fixed texts
// Numbers are decimal or 0x-hexadecimal. A control that is missing or of another kind, or
// one a user could not touch (hidden or disabled), is exit 2.
#include <windows.h>

#include <commctrl.h>  // after <windows.h>, which it needs

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
               " | is-visible | window-rect | control-text ID | control-rect ID [--client] | control-visible ID"
               " | scroll-bars ID | slider-pos ID | slider-thumb ID"
               " | click-control ID | pick ID INDEX | list-cells | row-rect ROW [--client] | answer-box yes|no [--wait MS]"
               " | clipboard | power-watch SECONDS | stand-in SECONDS | wait-taskbar SECONDS"
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

// ---------------------------------------------------------------------------------------
// The popup's controls, reached as a user would reach them.

constexpr int kMonitorList = 1001;
constexpr int kListColumns = 6;
constexpr int kCellTextSize = 260;
constexpr int kMessageBoxText = 0xFFFF;  // the static text of a standard message box
constexpr ULONGLONG kPollMs = 50;

std::string Utf8(const wchar_t* text) {
    char utf8[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

// Sent with a time-out, unlike GetWindowText, so a hung program cannot hang the probe.
bool ReadText(HWND control, std::string& utf8) {
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &length)) {
        std::printf("no text, error %lu\n", GetLastError());
        return false;
    }
    utf8 = Utf8(text);
    return true;
}

// The window's control ID, of the window class given unless that is null.
HWND RequireControl(HWND window, unsigned long long id, const wchar_t* className) {
    HWND control = GetDlgItem(window, static_cast<int>(id));
    if (!control) {
        std::printf("no control %llu\n", id);
        return nullptr;
    }
    wchar_t name[64] = {};
    GetClassNameW(control, name, static_cast<int>(std::size(name)));
    if (className && lstrcmpiW(name, className) != 0) {
        std::printf("control %llu is a %s, not a %s\n", id, Utf8(name).c_str(), Utf8(className).c_str());
        return nullptr;
    }
    return control;
}

// The control a subcommand names by its only argument, or the exit code that explains its
// absence: a usage error, no window, no such control.
struct NamedControl {
    HWND control = nullptr;
    unsigned long long id = 0;
    int status = kOk;
};

NamedControl ControlOfArgument(int argc, char** argv, const wchar_t* className) {
    NamedControl named;
    if (argc != 1 || !ParseNumber(argv[0], named.id)) {
        named.status = Usage();
    } else if (HWND window = RequireWindow(); !window) {
        named.status = kNoWindow;
    } else if (!(named.control = RequireControl(window, named.id, className))) {
        named.status = kError;
    }
    return named;
}

// What a user cannot see or cannot use, the probe does not press either.
bool Touchable(HWND control, unsigned long long id) {
    if (!IsWindowVisible(control)) {
        std::printf("control %llu is not visible\n", id);
        return false;
    }
    if (!IsWindowEnabled(control)) {
        std::printf("control %llu is disabled\n", id);
        return false;
    }
    return true;
}

// Sends without waiting for the handling, which may open a question box and wait in its
// loop for an answer; then waits (bounded) until the program's thread has taken a message
// after it: the handling has ended or waits in such a loop. A window the handling closed
// counts as handled.
bool SendAndSettle(HWND target, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!SendNotifyMessageW(target, message, wparam, lparam)) {
        std::printf("send failed, error %lu\n", GetLastError());
        return false;
    }
    DWORD_PTR ignored = 0;
    if (SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored) || !IsWindow(target))
        return true;
    std::printf("no answer after the send, error %lu\n", GetLastError());
    return false;
}

int ControlRectCommand(int argc, char** argv) {
    unsigned long long id = 0;
    const bool client = argc == 2 && std::strcmp(argv[1], "--client") == 0;
    if ((argc != 1 && !client) || !ParseNumber(argv[0], id)) return Usage();
    HWND window = RequireWindow();
    if (!window) return kNoWindow;
    HWND control = RequireControl(window, id, nullptr);
    if (!control) return kError;
    RECT rect{};
    if (!GetWindowRect(control, &rect)) {
        std::printf("no rectangle, error %lu\n", GetLastError());
        return kError;
    }
    if (client) MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return kOk;
}

int ControlVisibleCommand(int argc, char** argv) {
    const NamedControl named = ControlOfArgument(argc, argv, nullptr);
    if (named.status != kOk) return named.status;
    HWND control = named.control;
    const bool visible = IsWindowVisible(control) != FALSE;
    std::puts(visible ? "visible" : "hidden");
    return visible ? kOk : kNoWindow;
}

int ScrollBarsCommand(int argc, char** argv) {
    const NamedControl named = ControlOfArgument(argc, argv, nullptr);
    if (named.status != kOk) return named.status;
    HWND control = named.control;
    // Wine's list view shows its bars without the style bits or the bars' own state: the
    // client area tells, a bar taking its place between the client area and the frame.
    WINDOWINFO info{};
    info.cbSize = sizeof(info);
    if (!GetWindowInfo(control, &info)) return kError;
    const LONG frame = info.rcClient.left - info.rcWindow.left;
    const LONG slack = 4;
    const bool horizontal = info.rcWindow.bottom - info.rcClient.bottom > frame + slack;
    const bool vertical = info.rcWindow.right - info.rcClient.right > frame + slack;
    std::puts(horizontal ? (vertical ? "both" : "horizontal") : (vertical ? "vertical" : "none"));
    return kOk;
}

int SliderPosCommand(int argc, char** argv) {
    const NamedControl named = ControlOfArgument(argc, argv, TRACKBAR_CLASSW);
    if (named.status != kOk) return named.status;
    HWND slider = named.control;
    DWORD_PTR position = 0;
    if (!Send(slider, TBM_GETPOS, 0, 0, position)) return kError;
    std::printf("%ld\n", static_cast<long>(position));
    return kOk;
}

int ClickControlCommand(int argc, char** argv) {
    const NamedControl named = ControlOfArgument(argc, argv, WC_BUTTONW);
    if (named.status != kOk) return named.status;
    HWND button = named.control;
    if (!Touchable(button, named.id)) return kError;
    if (!SendAndSettle(button, BM_CLICK, 0, 0)) return kError;
    const LONG_PTR type = GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK;
    const bool checkBox = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
    DWORD_PTR check = 0;
    if (!checkBox || !IsWindow(button)) {
        std::puts("clicked");
    } else if (Send(button, BM_GETCHECK, 0, 0, check)) {
        std::puts(check == BST_CHECKED ? "clicked checked" : check == BST_UNCHECKED ? "clicked unchecked"
                                                                                    : "clicked indeterminate");
    } else {
        return kError;
    }
    return kOk;
}

int PickCommand(int argc, char** argv) {
    unsigned long long id = 0, index = 0;
    if (argc != 2 || !ParseNumber(argv[0], id) || !ParseNumber(argv[1], index)) return Usage();
    HWND window = RequireWindow();
    if (!window) return kNoWindow;
    HWND combo = RequireControl(window, id, WC_COMBOBOXW);
    if (!combo || !Touchable(combo, id)) return kError;
    DWORD_PTR count = 0, selected = 0;
    if (!Send(combo, CB_GETCOUNT, 0, 0, count)) return kError;
    if (index >= count) {
        std::printf("no item %lld of %llu\n", static_cast<long long>(index), static_cast<unsigned long long>(count));
        return kError;
    }
    // Selecting tells nobody; the list's own pick tells the dialog, and so does the probe.
    if (!Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, selected)) return kError;
    if (selected != index) {
        std::printf("item %llu not selected\n", index);
        return kError;
    }
    std::string text;
    if (!ReadText(combo, text)) return kError;
    const WPARAM command = MAKEWPARAM(static_cast<WORD>(id), CBN_SELCHANGE);
    if (!SendAndSettle(GetParent(combo), WM_COMMAND, command, reinterpret_cast<LPARAM>(combo))) return kError;
    std::printf("picked %llu %s\n", index, text.c_str());
    return kOk;
}

// A kernel handle, closed on the way out.
struct OwnedHandle {
    HANDLE handle;
    ~OwnedHandle() {
        if (handle) CloseHandle(handle);
    }
};

// Memory in another process, freed on the way out.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, SIZE_T size)
        : process_(process),
          address_(static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
    ~RemoteBlock() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    char* Get() const { return address_; }

private:
    HANDLE process_;
    char* address_;
};

// The item record goes to the program in this probe's layout, so the two must share it.
bool SameBitness(HANDLE process) {
    BOOL own = FALSE, other = FALSE;
    return IsWow64Process(GetCurrentProcess(), &own) && IsWow64Process(process, &other) && own == other;
}

bool WriteRemote(HANDLE process, void* target, const void* source, SIZE_T size) {
    SIZE_T written = 0;
    return WriteProcessMemory(process, target, source, size, &written) && written == size;
}

bool ReadRemote(HANDLE process, const void* source, void* target, SIZE_T size) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, source, target, size, &read) && read == size;
}

// A cell as the list holds it (the program's ANSI code page), printed in UTF-8.
bool ReadCell(HWND list, HANDLE process, const RemoteBlock& block, int row, int column, std::string& utf8) {
    char* remoteText = block.Get() + sizeof(LVITEMA);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = remoteText;
    item.cchTextMax = kCellTextSize;
    if (!WriteRemote(process, block.Get(), &item, sizeof item)) return false;
    DWORD_PTR length = 0;
    if (!Send(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.Get()), length))
        return false;
    // The list may point the record at text of its own instead of copying it.
    if (!ReadRemote(process, block.Get(), &item, sizeof item)) return false;
    char text[kCellTextSize] = {};
    length = std::min<DWORD_PTR>(length, kCellTextSize - 1);
    if (length > 0 && !ReadRemote(process, item.pszText, text, length)) return false;
    wchar_t wide[kCellTextSize] = {};
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kCellTextSize);
    utf8 = Utf8(wide);
    return true;
}

// A handle on the memory of the process that owns CONTROL; false after a message.
bool OpenOwnerMemory(HWND control, OwnedHandle& process) {
    DWORD processId = 0;
    GetWindowThreadProcessId(control, &processId);
    process.handle = OpenProcess(
        PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process.handle) {
        std::printf("cannot open process %lu, error %lu\n", processId, GetLastError());
        return false;
    }
    if (!SameBitness(process.handle)) {
        std::puts("the program's bitness differs from the probe's");
        return false;
    }
    return true;
}

// A RECT the control fills in through MESSAGE (RECT's left preset, as some messages want),
// copied through the program's memory.
bool RemoteRect(HWND control, UINT message, WPARAM wparam, RECT& rect) {
    OwnedHandle process{nullptr};
    if (!OpenOwnerMemory(control, process)) return false;
    const RemoteBlock block(process.handle, sizeof(RECT));
    DWORD_PTR ok = 0;
    if (!block.Get() || !WriteRemote(process.handle, block.Get(), &rect, sizeof rect) ||
        !Send(control, message, wparam, reinterpret_cast<LPARAM>(block.Get()), ok) ||
        !ReadRemote(process.handle, block.Get(), &rect, sizeof rect)) {
        std::printf("no rectangle, error %lu\n", GetLastError());
        return false;
    }
    return true;
}

int ListCellsCommand() {
    HWND window = RequireWindow();
    if (!window) return kNoWindow;
    HWND list = RequireControl(window, kMonitorList, WC_LISTVIEWW);
    OwnedHandle process{nullptr};
    if (!list || !OpenOwnerMemory(list, process)) return kError;
    const RemoteBlock block(process.handle, sizeof(LVITEMA) + kCellTextSize);
    if (!block.Get()) {
        std::printf("no memory in the program, error %lu\n", GetLastError());
        return kError;
    }
    DWORD_PTR rows = 0;
    if (!Send(list, LVM_GETITEMCOUNT, 0, 0, rows)) return kError;
    for (int row = 0; row < static_cast<int>(rows); ++row) {
        std::string line;
        for (int column = 0; column < kListColumns; ++column) {
            std::string cell;
            if (!ReadCell(list, process.handle, block, row, column, cell)) {
                std::printf("cell %d %d unreadable, error %lu\n", row, column, GetLastError());
                return kError;
            }
            line += (column ? "\t" : "") + cell;
        }
        std::puts(line.c_str());
    }
    return kOk;
}

// The list's own measure of a row (LVM_GETITEMRECT, whole row), in the list's client coordinates.
int RowRectCommand(int argc, char** argv) {
    unsigned long long row = 0;
    const bool client = argc == 2 && std::strcmp(argv[1], "--client") == 0;
    if ((argc != 1 && !client) || !ParseNumber(argv[0], row)) return Usage();
    HWND window = RequireWindow();
    if (!window) return kNoWindow;
    HWND list = RequireControl(window, kMonitorList, WC_LISTVIEWW);
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    if (!list || !RemoteRect(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), rect)) return kError;
    if (rect.bottom <= rect.top) {
        std::printf("no row %llu\n", row);
        return kError;
    }
    if (!client) MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return kOk;
}

// The program opens the clipboard only for a moment; a probe that finds it held tries again.
int ClipboardCommand() {
    bool opened = false;
    for (int attempt = 0; attempt < 50 && !(opened = OpenClipboard(nullptr)); ++attempt) Sleep(100);
    if (!opened) {
        std::printf("clipboard busy, error %lu\n", GetLastError());
        return kError;
    }
    std::string text;
    bool found = false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* locked = static_cast<const char*>(GlobalLock(data))) {
            text.assign(locked, strnlen(locked, GlobalSize(data)));
            found = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    if (!found) {
        std::puts("empty");
        return kNoWindow;
    }
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    std::fputs(text.c_str(), stdout);
    if (!text.empty() && text.back() != '\n') std::fputc('\n', stdout);
    return kOk;
}

LRESULT CALLBACK PowerWatchProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_MONITORPOWER) {
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
        // File time counts 100 ns steps from 1601; the Unix epoch is 11,644,473,600 s later.
        const ULONGLONG unixMs = ticks / 10000 - 11644473600000ULL;
        std::printf("monitor-power %ld at %llu\n", static_cast<long>(lparam), unixMs);
        std::fflush(stdout);
        return 0;  // the watcher's own screen stays on
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wparam, lparam);
}

// Defined with the stand-in, whose window it shares the making of.
int RunProbeWindow(int argc, char** argv, const wchar_t* className, WNDPROC proc, bool (*prepare)(HWND));

int PowerWatchCommand(int argc, char** argv) {
    return RunProbeWindow(argc, argv, L"e2e power watch", PowerWatchProc, nullptr);
}

// Where a pointer must go to grab a trackbar's thumb: its rectangle on the screen.
int SliderThumbCommand(int argc, char** argv) {
    const NamedControl named = ControlOfArgument(argc, argv, TRACKBAR_CLASSW);
    if (named.status != kOk) return named.status;
    HWND slider = named.control;
    RECT rect{};
    if (!Touchable(slider, named.id) || !RemoteRect(slider, TBM_GETTHUMBRECT, 0, rect)) return kError;
    MapWindowPoints(slider, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return kOk;
}

struct BoxSearch {
    DWORD processId;
    HWND found = nullptr;
};

// The program's question: a visible standard dialog of its process with Yes and No.
BOOL CALLBACK FindYesNoBox(HWND window, LPARAM lparam) {
    auto* search = reinterpret_cast<BoxSearch*>(lparam);
    DWORD processId = 0;
    wchar_t name[16] = {};
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) ||
        !GetClassNameW(window, name, static_cast<int>(std::size(name))) || std::wcscmp(name, L"#32770") != 0)
        return TRUE;
    if (!GetDlgItem(window, IDYES) || !GetDlgItem(window, IDNO)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindYesNoBoxOfProgram() {
    HWND window = FindProgramWindow();
    if (!window) return nullptr;
    BoxSearch search{0};
    if (!GetWindowThreadProcessId(window, &search.processId)) return nullptr;
    EnumWindows(FindYesNoBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool WaitUntil(ULONGLONG deadline, bool (*done)(HWND), HWND window) {
    while (!done(window)) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(kPollMs);
    }
    return true;
}

int AnswerBoxCommand(int argc, char** argv) {
    unsigned long long waitMs = 10000;
    if (argc != 1 && !(argc == 3 && std::strcmp(argv[1], "--wait") == 0 && ParseNumber(argv[2], waitMs)))
        return Usage();
    const std::string answer = argv[0];
    if (answer != "yes" && answer != "no") return Usage();

    const ULONGLONG deadline = GetTickCount64() + waitMs;
    HWND box = FindYesNoBoxOfProgram();
    while (!box && GetTickCount64() < deadline) {
        Sleep(kPollMs);
        box = FindYesNoBoxOfProgram();
    }
    if (!box) {
        if (!FindProgramWindow()) {
            std::puts("none");
            return kNoWindow;
        }
        std::puts("no box");
        return kNoAnswer;
    }
    std::string text;
    if (HWND label = GetDlgItem(box, kMessageBoxText)) (void)ReadText(label, text);
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    // The press ends the box's loop, and may end the program with it: nothing to wait
    // for but the box going away.
    HWND button = GetDlgItem(box, answer == "yes" ? IDYES : IDNO);
    if (!SendNotifyMessageW(button, BM_CLICK, 0, 0)) {
        std::printf("send failed, error %lu\n", GetLastError());
        return kError;
    }
    const auto gone = [](HWND w) { return !IsWindow(w) || !IsWindowVisible(w); };
    if (!WaitUntil(GetTickCount64() + kSendTimeoutMs, gone, box)) {
        std::puts("box still open");
        return kNoAnswer;
    }
    std::printf("answered %s: %s\n", answer.c_str(), text.c_str());
    return kOk;
}

int ControlTextCommand(int argc, char** argv) {
    const NamedControl named = ControlOfArgument(argc, argv, nullptr);
    if (named.status != kOk) return named.status;
    HWND control = named.control;
    std::string text;
    if (!ReadText(control, text)) return kError;
    std::puts(text.c_str());
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

// An empty cell and a letter beyond ASCII: the harness sees list-cells read every column
// as the list holds it.
constexpr const wchar_t* kStandInCells[][kListColumns] = {
    {L"Nova U27", L"37", L"75", L"100", L"100", L"100"},
    {L"Orion 24 \u00DC", L"40", L"", L"50", L"50", L"50"},
};

bool AddStandInList(HWND window) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    if (!InitCommonControlsEx(&controls)) return false;
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 200, 100, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMonitorList)), GetModuleHandleW(nullptr),
                                nullptr);
    if (!list) return false;
    for (int column = 0; column < kListColumns; ++column) {
        LVCOLUMNW header{};
        header.mask = LVCF_WIDTH;
        header.cx = 30;
        if (SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&header)) != column) return false;
    }
    for (int row = 0; row < static_cast<int>(std::size(kStandInCells)); ++row) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(kStandInCells[row][0]);
        if (SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) != row) return false;
        for (item.iSubItem = 1; item.iSubItem < kListColumns; ++item.iSubItem) {
            item.pszText = const_cast<wchar_t*>(kStandInCells[row][item.iSubItem]);
            if (!SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item))) return false;
        }
    }
    return true;
}

// The probe's own windows: a hidden top-level window of CLASS (a broadcast reaches such a
// window too) that says "ready" once it exists and ends after the subcommand's SECONDS.
int RunProbeWindow(int argc, char** argv, const wchar_t* className, WNDPROC proc, bool (*prepare)(HWND)) {
    unsigned long long seconds = 0;
    if (argc != 1 || !ParseNumber(argv[0], seconds)) return Usage();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    if (!RegisterClassW(&windowClass)) return kError;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, className, L"e2e probe", WS_POPUP, 100, 100, 200, 120, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (!window || (prepare && !prepare(window))) return kError;
    SetTimer(window, 1, static_cast<UINT>(seconds * 1000), [](HWND w, UINT, UINT_PTR, DWORD) { DestroyWindow(w); });
    std::puts("ready");
    std::fflush(stdout);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return kOk;
}

int StandInCommand(int argc, char** argv) { return RunProbeWindow(argc, argv, kWindowClass, StandInProc, AddStandInList); }

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
    else if (command == "control-rect") status = ControlRectCommand(argc - 2, argv + 2);
    else if (command == "scroll-bars") status = ScrollBarsCommand(argc - 2, argv + 2);
    else if (command == "slider-pos") status = SliderPosCommand(argc - 2, argv + 2);
    else if (command == "click-control") status = ClickControlCommand(argc - 2, argv + 2);
    else if (command == "pick") status = PickCommand(argc - 2, argv + 2);
    else if (command == "list-cells" && argc == 2) status = ListCellsCommand();
    else if (command == "row-rect") status = RowRectCommand(argc - 2, argv + 2);
    else if (command == "clipboard" && argc == 2) status = ClipboardCommand();
    else if (command == "power-watch") status = PowerWatchCommand(argc - 2, argv + 2);
    else if (command == "slider-thumb") status = SliderThumbCommand(argc - 2, argv + 2);
    else if (command == "control-visible") status = ControlVisibleCommand(argc - 2, argv + 2);
    else if (command == "answer-box") status = AnswerBoxCommand(argc - 2, argv + 2);
    else if (command == "stand-in") status = StandInCommand(argc - 2, argv + 2);
    else if (command == "wait-taskbar") status = WaitTaskbarCommand(argc - 2, argv + 2);
    else if (command == "find-class") status = FindClassCommand(argc - 2, argv + 2);
    else if (command == "work-area" && argc == 2) status = WorkAreaCommand();
    else if (command == "small-icon-size" && argc == 2) status = SmallIconSizeCommand();
    else status = Usage();
    std::fflush(stdout);
    return status;
}
