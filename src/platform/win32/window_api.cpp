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

// The sender's window goes into wParam as the protocol asks; a forwarding start that
// has no window of its own sends null there.
bool Win32WindowApi::SendCopyData(uint32_t source, std::span<const char> data) {
    const HWND window = window_.load();
    const HWND explicitTarget = copyDataTarget_.load();
    const HWND target = explicitTarget ? explicitTarget : window;
    if (!target || data.size() > std::numeric_limits<DWORD>::max()) return false;
    COPYDATASTRUCT copy{};
    copy.dwData = source;
    copy.cbData = static_cast<DWORD>(data.size());
    copy.lpData = const_cast<char*>(data.data());  // the receiver only reads it
    return ::SendMessageW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&copy)) !=
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
