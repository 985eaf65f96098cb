#include "platform/win32/overflow_area.h"

#include <windows.h>

#include <commctrl.h>  // after <windows.h>, which it needs

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "tray/hidden_icons.h"

namespace lv {
namespace {

Core* warningCore = nullptr;

constexpr char kEnglishCaption[] = "There are hidden Lumivane icons!";
constexpr char kGermanCaption[] = "versteckte Lumivane Symbole vorhanden!";
constexpr UINT_PTR kShowTimer = 98;
constexpr UINT kShowDelayMs = 10;
constexpr INT_PTR kWarningResult = 2;

constexpr SIZE_T kTextBlockSize = 2048;
// The task bar answers at once; one that does not must not hang the program with it.
constexpr UINT kToolbarTimeoutMs = 1000;

// TBBUTTON as a 32-bit and a 64-bit toolbar write it. The block must hold the layout of
// the toolbar's process, not ours; the command identifier sits at the same place in both.
struct ToolbarButton32 {
    int32_t bitmap;
    int32_t command;
    uint8_t state;
    uint8_t style;
    uint8_t reserved[2];
    uint32_t data;
    int32_t string;
};
struct ToolbarButton64 {
    int32_t bitmap;
    int32_t command;
    uint8_t state;
    uint8_t style;
    uint8_t reserved[6];
    uint64_t data;
    int64_t string;
};
static_assert(sizeof(ToolbarButton32) == 20 && sizeof(ToolbarButton64) == 32);
static_assert(offsetof(ToolbarButton32, command) == offsetof(ToolbarButton64, command));
static_assert(sizeof(TBBUTTON) == (sizeof(void*) == 8 ? sizeof(ToolbarButton64) : sizeof(ToolbarButton32)));
static_assert(offsetof(TBBUTTON, idCommand) == offsetof(ToolbarButton64, command));

bool AskToolbar(HWND toolbar, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(toolbar, message, wParam, lParam, SMTO_ABORTIFHUNG, kToolbarTimeoutMs, &result))
        return false;
    answer = static_cast<LRESULT>(result);
    return true;
}

bool ReadBack(HANDLE process, const win32::RemoteMemory& block, void* target, SIZE_T size) {
    SIZE_T read = 0;
    return ::ReadProcessMemory(process, block.Get(), target, size, &read) && read == size;
}

// Nothing when the process cannot be asked.
std::optional<bool> Is64BitProcess(HANDLE process) {
    BOOL emulated = FALSE;
    if (!::IsWow64Process(process, &emulated)) return std::nullopt;
    if (emulated) return false;
    if constexpr (sizeof(void*) == 8) return true;
    // A 32-bit build: a native process is a 64-bit one exactly when this one is emulated.
    if (!::IsWow64Process(::GetCurrentProcess(), &emulated)) return std::nullopt;
    return emulated != FALSE;
}

class ToolbarReader {
public:
    ToolbarReader(HWND toolbar, HANDLE process, SIZE_T recordSize)
        : toolbar_(toolbar),
          process_(process),
          recordSize_(recordSize),
          record_(process, recordSize),
          text_(process, kTextBlockSize) {}

    bool Ready() const { return record_ && text_; }

    // A button whose record or text cannot be had counts as another text.
    bool ButtonTextIs(LRESULT index, std::string_view tip) {
        LRESULT answer = 0;
        if (!AskToolbar(toolbar_, TB_GETBUTTON, static_cast<WPARAM>(index), Address(record_), answer) || !answer)
            return false;
        ToolbarButton64 button{};  // the larger layout; a 32-bit record fills its start
        if (!ReadBack(process_, record_, &button, recordSize_)) return false;
        // The message takes no buffer size: the length comes first, so a text that would
        // not fit the block is never written into it. Only the tip's length can match.
        const auto command = static_cast<WPARAM>(button.command);
        LRESULT length = 0;
        if (!AskToolbar(toolbar_, TB_GETBUTTONTEXTA, command, 0, length) || length <= 0 ||
            static_cast<std::size_t>(length) != tip.size())
            return false;
        if (!AskToolbar(toolbar_, TB_GETBUTTONTEXTA, command, Address(text_), length) ||
            static_cast<std::size_t>(length) != tip.size())
            return false;
        char text[kTextBlockSize];
        const SIZE_T size = tip.size() + 1;  // with the terminator, so a longer text differs
        return ReadBack(process_, text_, text, size) && std::memcmp(text, tip.data(), tip.size()) == 0 &&
               text[tip.size()] == '\0';
    }

private:
    static LPARAM Address(const win32::RemoteMemory& block) { return reinterpret_cast<LPARAM>(block.Get()); }

    HWND toolbar_;
    HANDLE process_;
    SIZE_T recordSize_;
    win32::RemoteMemory record_;
    win32::RemoteMemory text_;
};

HWND FindWarning() {
    if (HWND english = ::FindWindowA("#32770", kEnglishCaption)) return english;
    return ::FindWindowA("#32770", kGermanCaption);
}

INT_PTR CALLBACK WarningProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // The text is for reading only: no caret in it, whatever brought it back.
    if (HWND text = ::GetDlgItem(dialog, res::kHiddenIconsText)) ::HideCaret(text);
    switch (message) {
        case WM_INITDIALOG: {
            ::SetTimer(dialog, kShowTimer, kShowDelayMs, nullptr);
            const std::string text(HiddenWarningText(lParam != 0));
            ::SetDlgItemTextA(dialog, res::kHiddenIconsText, text.c_str());
            const bool off = warningCore && warningCore->settings.nocheckhidden;
            ::CheckDlgButton(dialog, res::kHiddenIconsNoWarning, off ? BST_CHECKED : BST_UNCHECKED);
            return TRUE;
        }
        case WM_TIMER:
            ::ShowWindow(dialog, SW_SHOWNORMAL);
            ::KillTimer(dialog, kShowTimer);
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            ::BeginPaint(dialog, &paint);
            ::EndPaint(dialog, &paint);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case res::kHiddenIconsNoWarning:
                    if (warningCore)
                        OnHiddenWarningCheckBox(*warningCore,
                                                ::IsDlgButtonChecked(dialog, res::kHiddenIconsNoWarning) == BST_CHECKED);
                    return TRUE;
                case IDOK:
                case IDCANCEL:
                    if (warningCore) OnHiddenWarningClosed(*warningCore);
                    ::EndDialog(dialog, kWarningResult);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

void SetHiddenWarningCore(Core* core) { warningCore = core; }

// VirtualAllocEx, VirtualFreeEx and ReadProcessMemory are kernel32's, which every program
// imports, on every supported system; they are called directly rather than looked up.
OverflowScan Win32TrayApi::ScanOverflowArea(std::string_view tip, bool& found) {
    found = false;
    const HWND overflow = ::FindWindowA("NotifyIconOverflowWindow", nullptr);
    const HWND toolbar = overflow ? ::FindWindowExA(overflow, nullptr, "ToolbarWindow32", nullptr) : nullptr;
    if (!toolbar) return OverflowScan::NoToolbar;

    DWORD processId = 0;
    if (!::GetWindowThreadProcessId(toolbar, &processId) || processId == 0) return OverflowScan::Failed;
    // Only what the reading needs: the memory, and the process's bitness.
    const win32::UniqueKernelHandle process(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return OverflowScan::Failed;
    const std::optional<bool> wide = Is64BitProcess(process.Get());
    if (!wide) return OverflowScan::Failed;
    ToolbarReader reader(toolbar, process.Get(), *wide ? sizeof(ToolbarButton64) : sizeof(ToolbarButton32));
    if (!reader.Ready()) return OverflowScan::Failed;

    LRESULT count = 0;
    if (!AskToolbar(toolbar, TB_BUTTONCOUNT, 0, 0, count)) return OverflowScan::Failed;
    for (LRESULT i = 0; i < count && !found; ++i) found = reader.ButtonTextIs(i, tip);
    return OverflowScan::Scanned;
}

bool Win32TrayApi::HiddenIconWarningOpen() { return FindWarning() != nullptr; }

void Win32TrayApi::RunHiddenIconWarning(bool german) {
    (void)::DialogBoxParamA(::GetModuleHandleA(nullptr),
                            MAKEINTRESOURCEA(german ? res::kHiddenIconsDialogDe : res::kHiddenIconsDialogEn), nullptr,
                            WarningProc, german ? 1 : 0);
}

void Win32TrayApi::CloseHiddenIconWarning() {
    if (HWND warning = FindWarning()) ::PostMessageA(warning, WM_CLOSE, 0, 0);
}

}  // namespace lv
