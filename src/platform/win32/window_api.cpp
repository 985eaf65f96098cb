#include <limits>

#include "platform/win32/win32_platform.h"

namespace lv {

bool Win32WindowApi::PostCommand(uint32_t id, intptr_t lparam) {
    const HWND window = window_.load();
    if (!window) return false;
    return ::PostMessageW(window, WM_COMMAND, id, lparam) != 0;
}

bool Win32WindowApi::SetTimer(uint32_t id, uint32_t milliseconds) {
    const HWND window = window_.load();
    if (!window) return false;
    return ::SetTimer(window, id, milliseconds, nullptr) != 0;
}

bool Win32WindowApi::KillTimer(uint32_t id) {
    const HWND window = window_.load();
    if (!window) return false;
    return ::KillTimer(window, id) != 0;
}

// The sender's window goes into wParam as the protocol asks.
bool Win32WindowApi::SendCopyData(uint32_t source, std::span<const char> data) {
    const HWND window = window_.load();
    if (!window || data.size() > std::numeric_limits<DWORD>::max()) return false;
    COPYDATASTRUCT copy{};
    copy.dwData = source;
    copy.cbData = static_cast<DWORD>(data.size());
    copy.lpData = const_cast<char*>(data.data());  // the receiver only reads it
    return ::SendMessageW(window, WM_COPYDATA, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&copy)) !=
           0;
}

bool Win32WindowApi::PostThreadAnswer(uint32_t threadId, uintptr_t wparam) {
    return ::PostThreadMessageW(threadId, WM_COMMAND, wparam, 0) != 0;
}

void Win32WindowApi::SendAppCommand(int command) {
    const HWND window = window_.load();
    if (!window) return;
    ::SendMessageW(window, WM_APPCOMMAND, reinterpret_cast<WPARAM>(window),
                   MAKELPARAM(0, static_cast<WORD>(command)));
}

bool Win32WindowApi::ForegroundWindowExists() { return ::GetForegroundWindow() != nullptr; }

bool Win32WindowApi::BringToForeground() {
    const HWND window = window_.load();
    return window && ::SetForegroundWindow(window) != 0;
}

bool Win32WindowApi::DestroyPopup() {
    const HWND window = window_.exchange(nullptr);
    return window && ::DestroyWindow(window) != 0;
}

}  // namespace lv

namespace lv {

bool Win32WindowApi::GetPopupRect(Rect& rect) {
    RECT r{};
    const HWND window = window_.load();
    if (!window || !::GetWindowRect(window, &r)) return false;
    rect = {r.left, r.top, r.right, r.bottom};
    return true;
}

bool Win32WindowApi::CalculatePopupPosition(Point anchor, Point size, uint32_t flags, const Rect& exclude,
                                            Rect& placed) {
    const POINT anchorPoint{anchor.x, anchor.y};
    const SIZE windowSize{size.x, size.y};
    RECT excludeRect{exclude.left, exclude.top, exclude.right, exclude.bottom};
    RECT result{};
    if (!::CalculatePopupWindowPosition(&anchorPoint, &windowSize, flags, &excludeRect, &result)) return false;
    placed = {result.left, result.top, result.right, result.bottom};
    return true;
}

bool Win32WindowApi::GetWorkArea(Rect& area) {
    RECT r{};
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return false;
    area = {r.left, r.top, r.right, r.bottom};
    return true;
}

bool Win32WindowApi::ShowPopupTopmostAt(Point topLeft) {
    const HWND window = window_.load();
    return window &&
           ::SetWindowPos(window, HWND_TOPMOST, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW) != 0;
}

void Win32WindowApi::PostFocusControl(int id) {
    const HWND window = window_.load();
    if (!window) return;
    if (const HWND control = ::GetDlgItem(window, id))
        ::PostMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

bool Win32WindowApi::BroadcastMonitorPowerOff() {
    // Posted: a window that does not answer cannot hold the program up.
    return ::PostMessageA(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, 2) != FALSE;
}

bool Win32WindowApi::SetCursorPosition(Point point) { return ::SetCursorPos(point.x, point.y) != FALSE; }

namespace {

// Opens a shortcut menu at the pointer, aligned as the user's system aligns drop-down menus;
// its choice arrives as WM_COMMAND.
void TrackMenu(HWND window, HMENU entries, Point point) {
    ::SetForegroundWindow(window);
    UINT flags = TPM_RIGHTBUTTON;
    if (::GetSystemMetrics(SM_MENUDROPALIGNMENT) != 0) flags |= TPM_RIGHTALIGN;
    ::TrackPopupMenuEx(entries, flags, point.x, point.y, window, nullptr);
    // Without it the menu would not close when the user clicks elsewhere.
    ::PostMessageA(window, WM_NULL, 0, 0);
}

}  // namespace

HMENU LoadTrayMenu(bool german, std::span<const MenuItem> extra) {
    const HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr),
                                   MAKEINTRESOURCEA(german ? res::kTrayMenuDe : res::kTrayMenuEn));
    if (!menu) return nullptr;
    if (const HMENU entries = ::GetSubMenu(menu, 0)) {
        ::SetMenuDefaultItem(entries, res::kOpenPopup, FALSE);
        for (const MenuItem& item : extra) ::AppendMenuA(entries, MF_STRING, item.id, item.text.c_str());
    }
    return menu;
}

void Win32WindowApi::ShowTrayMenu(Point point, bool german, std::span<const MenuItem> extra) {
    const HWND window = window_.load();
    if (!window) return;
    const HMENU menu = LoadTrayMenu(german, extra);
    if (!menu) return;
    if (const HMENU entries = ::GetSubMenu(menu, 0)) TrackMenu(window, entries, point);
    ::DestroyMenu(menu);
}

void Win32WindowApi::ShowListMenu(Point point, bool german, bool ignoreChecked, bool utilizeChecked) {
    const HWND window = window_.load();
    if (!window) return;
    const HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr),
                                   MAKEINTRESOURCEA(german ? res::kListMenuDe : res::kListMenuEn));
    if (!menu) return;
    if (const HMENU entries = ::GetSubMenu(menu, 0)) {
        ::CheckMenuItem(entries, res::kIgnoreMonitor, MF_BYCOMMAND | (ignoreChecked ? MF_CHECKED : MF_UNCHECKED));
        ::CheckMenuItem(entries, res::kUtilizeMonitor, MF_BYCOMMAND | (utilizeChecked ? MF_CHECKED : MF_UNCHECKED));
        TrackMenu(window, entries, point);
    }
    ::DestroyMenu(menu);
}

}  // namespace lv
