// Small pieces the Windows tests share.
#pragma once

#include <windows.h>

namespace lv::test {

inline bool RunningUnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Registers a window class of this module, the first time it is asked for.
inline bool RegisterWindowClass(const char* name, WNDPROC procedure, int extraBytes = 0) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = extraBytes;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    return ::RegisterClassExA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// A message-only window of the class `className`, registered with `procedure` if need be.
inline HWND MessageWindow(const char* className, WNDPROC procedure, int extraBytes = 0) {
    if (!RegisterWindowClass(className, procedure, extraBytes)) return nullptr;
    return ::CreateWindowExA(0, className, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ::GetModuleHandleA(nullptr),
                             nullptr);
}

}  // namespace lv::test
