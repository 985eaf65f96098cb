// The process as start-up and shutdown see it: the program file, the single-instance
// mutex, other instances' windows, the forwarding of a command line and the answer to
// it, the older-version takeover and the restart.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace lv {

// A message taken from the thread's own queue (PeekMessage with the window filter -1).
struct ThreadMessage {
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

class ProcessApi {
public:
    virtual ~ProcessApi() = default;
    // GetModuleFileNameW of the program itself; empty on failure.
    virtual std::u16string ProgramPath() = 0;
    // SetCurrentDirectoryW.
    virtual bool SetWorkingFolder(std::u16string_view folder) = 0;
    virtual uint32_t ProcessId() = 0;
    // VerifyVersionInfoW: at least 6.1 with service pack 0.
    virtual bool IsWindows7OrLater() = 0;
    // MessageBoxA without owner and title, exclamation icon.
    virtual void ShowMessage(std::string_view text) = 0;
    // FindWindowA by class name; 0 when there is none.
    virtual WindowHandle FindWindowByClass(std::string_view className) = 0;
    // ShellExecuteW with the verb "open" and a hidden window.
    virtual bool OpenHidden(std::u16string_view path) = 0;
    // CreateMutexA("AllowOnlyOneLumivane"), not owned; `existed` tells ERROR_ALREADY_EXISTS.
    // The handle is kept until CloseInstanceMutex or the end of the process; a handle held
    // before is closed first.
    virtual bool CreateInstanceMutex(bool& existed) = 0;
    virtual void CloseInstanceMutex() = 0;
    // SendMessage(window, WM_COPYDATA, 0, {source, size, data}) to another instance. True
    // only when the window answered that it took the line (a non-zero result).
    virtual bool SendCopyData(WindowHandle window, uint32_t source, std::span<const char> data) = 0;
    // PostMessage(window, WM_COMMAND, id, lparam) to another instance.
    virtual bool PostCommand(WindowHandle window, uint32_t id, intptr_t lparam) = 0;
    // The next thread message (PeekMessageA(-1, PM_REMOVE)), waiting at most `timeoutMs`
    // for one to be posted (MsgWaitForMultipleObjectsEx). False when none came, which may
    // also happen early.
    virtual bool WaitThreadMessage(ThreadMessage& message, uint32_t timeoutMs) = 0;
    // CreateProcessW of `path` with an empty command line and this process's environment,
    // no handle inherited. While this process holds the instance mutex, the new process is
    // given a handle to it as well (DuplicateHandle), which it keeps to its end: the mutex
    // never lapses between an instance and the successor it starts.
    virtual bool StartProcess(std::u16string_view path) = 0;
    // GetEnvironmentVariableA; false when the variable is not set.
    virtual bool GetEnvironment(std::string_view name, std::string& value) = 0;
    // SetEnvironmentVariableA; no value removes the variable.
    virtual bool SetEnvironment(std::string_view name, std::optional<std::string_view> value) = 0;
};

}  // namespace lv
