// The popup window's class procedure: it decodes each message and hands it to the core.
#pragma once

#include <windows.h>

#include "app/core.h"
#include "platform/win32/win32_platform.h"

namespace lv {

// The program's one main window and what its procedure works on. Set before the window
// is created; the procedure does nothing of its own while none is set.
struct PopupWindowContext {
    Core* core = nullptr;
    Win32WindowApi* window = nullptr;
    Win32PopupView* view = nullptr;
    UINT taskbarCreatedMessage = 0;  // registered "TaskbarCreated"
};

void SetPopupWindowContext(const PopupWindowContext& context);

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the popup above the notification area's corner of the work area, in front, and
// asks for the foreground once more shortly after.
void ShowPopupInCorner(Core& core, HWND popup);

}  // namespace lv
