// Hidden windows for the platform tests: message-only, so they need no desktop, with a
// window procedure that records what was sent to them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace lv::test {

struct ReceivedCopyData {
    HWND sender = nullptr;
    ULONG_PTR source = 0;
    std::string data;
};

struct ReceivedAppCommand {
    WPARAM wparam = 0;
    LPARAM lparam = 0;
};

class RecordingWindow {
public:
    RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;  // the window keeps a pointer to this object
    RecordingWindow& operator=(const RecordingWindow&) = delete;
    HWND Get() const { return window_.Get(); }

    std::vector<ReceivedCopyData> copyData;
    std::vector<ReceivedAppCommand> appCommands;
    LRESULT copyDataAnswer = TRUE;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    win32::UniqueWindow window_;
};

inline LRESULT CALLBACK RecordingWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_COPYDATA) {
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
        self->copyData.push_back({reinterpret_cast<HWND>(wparam), copy->dwData,
                                  std::string(static_cast<const char*>(copy->lpData), copy->cbData)});
        return self->copyDataAnswer;
    }
    if (self && message == WM_APPCOMMAND) {
        self->appCommands.push_back({wparam, lparam});
        return TRUE;
    }
    return ::DefWindowProcW(window, message, wparam, lparam);
}

inline RecordingWindow::RecordingWindow() {
    static const wchar_t* const kClassName = L"LumivaneTestRecordingWindow";
    static const ATOM registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassExW(&windowClass);
    }();
    if (!registered) return;
    window_.Reset(::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr));
    if (window_) ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

}  // namespace lv::test
