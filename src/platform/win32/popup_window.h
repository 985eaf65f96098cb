// The popup window's class procedure: it decodes each message and hands it to the core.
#pragma once

#include <windows.h>

#include "core/core.h"
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

}  // namespace lv
