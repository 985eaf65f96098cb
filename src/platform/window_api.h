// The main window as the core sees it: posted commands, timers, the copy-data hand-off
// and the answer to a forwarding start. All calls are made on the main thread except
// PostCommand, which the hook thread uses too.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/types.h"

namespace lv {

// An item appended to the notification-area menu: a plain string item with its command id.
struct MenuItem {
    uint32_t id = 0;
    std::string text;
    bool operator==(const MenuItem&) const = default;
};

class WindowApi {
public:
    virtual ~WindowApi() = default;
    // PostMessage(popup, WM_COMMAND, id, lparam).
    virtual bool PostCommand(uint32_t id, intptr_t lparam) = 0;
    virtual bool SetTimer(uint32_t id, uint32_t milliseconds) = 0;
    virtual bool KillTimer(uint32_t id) = 0;
    // SendMessage(popup, WM_COPYDATA, popup, {source, size, data}) to the own popup window.
    virtual bool SendCopyData(uint32_t source, std::span<const char> data) = 0;
    // PostThreadMessage(threadId, WM_COMMAND, wparam, 0): the answer to a forwarding start.
    virtual bool PostThreadAnswer(uint32_t threadId, uintptr_t wparam) = 0;
    // SendMessage(popup, WM_APPCOMMAND, popup, command << 16).
    virtual void SendAppCommand(int command) = 0;
    // GetForegroundWindow() != null.
    virtual bool ForegroundWindowExists() = 0;
    // SetForegroundWindow(popup).
    virtual bool BringToForeground() = 0;
    // Forgets the popup window and destroys it; its WM_DESTROY ends the message loop.
    virtual bool DestroyPopup() = 0;

    // GetWindowRect of the popup.
    virtual bool GetPopupRect(Rect& rect) = 0;
    // CalculatePopupWindowPosition: where a window of `size` goes next to `anchor`,
    // avoiding `exclude`.
    virtual bool CalculatePopupPosition(Point anchor, Point size, uint32_t flags, const Rect& exclude,
                                        Rect& placed) = 0;
    // The work area of the primary display (SPI_GETWORKAREA).
    virtual bool GetWorkArea(Rect& area) = 0;
    // SetWindowPos(popup, HWND_TOPMOST, x, y, SWP_NOSIZE | SWP_SHOWWINDOW).
    virtual bool ShowPopupTopmostAt(Point topLeft) = 0;
    // Posts WM_NEXTDLGCTL with the control `id` (lParam 1).
    virtual void PostFocusControl(int id) = 0;
    // The notification-area menu (109 English, 110 German) with `extra` appended
    // (AppendMenuA, MF_STRING) at `point`, in front; WM_NULL posted after it closes.
    virtual void ShowTrayMenu(Point point, bool german, std::span<const MenuItem> extra) = 0;
    // PostMessage(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, 2): every display sleeps.
    virtual bool BroadcastMonitorPowerOff() = 0;
    // SetCursorPos.
    virtual bool SetCursorPosition(Point point) = 0;
    // The monitor-list menu (111 English, 112 German) at `point`, in front, with its check
    // marks; WM_NULL posted after it closes.
    virtual void ShowListMenu(Point point, bool german, bool ignoreChecked, bool utilizeChecked) = 0;
};

}  // namespace lv
