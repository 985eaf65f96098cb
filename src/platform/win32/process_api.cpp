#include "platform/win32/win32_platform.h"

#include <shellapi.h>  // after <windows.h>, which it needs

#include <limits>
#include <vector>

namespace lv {
namespace {

constexpr char kInstanceMutexName[] = "AllowOnlyOneLumivane";
constexpr UINT kForwardTimeoutMs = 20000;

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

}  // namespace

std::u16string Win32ProcessApi::ProgramPath() {
    // Long paths are cut by GetModuleFileNameW without an error on old systems: a buffer
    // that came back full is grown and the call repeated.
    std::vector<wchar_t> buffer(MAX_PATH);
    while (buffer.size() <= 32768) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length);
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

bool Win32ProcessApi::SetWorkingFolder(std::u16string_view folder) {
    const std::u16string terminated(folder);
    return ::SetCurrentDirectoryW(Wide(terminated)) != 0;
}

uint32_t Win32ProcessApi::ProcessId() { return ::GetCurrentProcessId(); }

bool Win32ProcessApi::IsWindows7OrLater() { return WindowsVersionAtLeast(6, 1); }

void Win32ProcessApi::ShowMessage(std::string_view text) {
    const std::string terminated(text);
    ::MessageBoxA(nullptr, terminated.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
}

WindowHandle Win32ProcessApi::FindWindowByClass(std::string_view className) {
    const std::string terminated(className);
    return reinterpret_cast<WindowHandle>(::FindWindowA(terminated.c_str(), nullptr));
}

bool Win32ProcessApi::OpenHidden(std::u16string_view path) {
    const std::u16string terminated(path);
    const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", Wide(terminated), nullptr, nullptr, SW_HIDE));
    return result > 32;
}

bool Win32ProcessApi::CreateInstanceMutex(bool& existed) {
    CloseInstanceMutex();
    mutex_ = ::CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    return mutex_ != nullptr;
}

void Win32ProcessApi::CloseInstanceMutex() {
    if (mutex_) ::CloseHandle(mutex_);
    mutex_ = nullptr;
}

bool Win32ProcessApi::SendCopyData(WindowHandle window, uint32_t source, std::span<const char> data) {
    if (window == 0 || data.size() > std::numeric_limits<DWORD>::max()) return false;
    COPYDATASTRUCT copy{};
    copy.dwData = source;
    copy.cbData = static_cast<DWORD>(data.size());
    copy.lpData = const_cast<char*>(data.data());  // the receiver only reads it
    // The answer is posted to this thread, which needs a message queue for it by then.
    MSG peeked{};
    (void)::PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE);
    // A running instance that never takes the record must not hold this start forever; it
    // gets as long as its answer may take.
    // A window being destroyed may still answer, with 0: only a non-zero result says the
    // line was taken.
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(reinterpret_cast<HWND>(window), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy),
                                 SMTO_NORMAL, kForwardTimeoutMs, &result) != 0 &&
           result != 0;
}

bool Win32ProcessApi::PostCommand(WindowHandle window, uint32_t id, intptr_t lparam) {
    return window != 0 && ::PostMessageA(reinterpret_cast<HWND>(window), WM_COMMAND, id, lparam) != 0;
}

bool Win32ProcessApi::WaitThreadMessage(ThreadMessage& message, uint32_t timeoutMs) {
    MSG msg{};
    const HWND threadMessagesOnly = reinterpret_cast<HWND>(-1);
    if (!::PeekMessageA(&msg, threadMessagesOnly, 0, 0, PM_REMOVE)) {
        // Wakes for what is posted after the peek, never for a window message the peek
        // left in the queue; a message sent to one of the thread's windows (COM's) wakes
        // it too, and the next peek delivers it.
        const DWORD woken = ::MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_POSTMESSAGE | QS_SENDMESSAGE, 0);
        if (woken != WAIT_OBJECT_0 || !::PeekMessageA(&msg, threadMessagesOnly, 0, 0, PM_REMOVE)) return false;
    }
    message.message = msg.message;
    message.wParam = msg.wParam;
    message.lParam = msg.lParam;
    return true;
}

bool Win32ProcessApi::StartProcess(std::u16string_view path) {
    std::u16string application(path);
    wchar_t emptyCommandLine[1] = {L'\0'};
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(Wide(application), emptyCommandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return false;
    // The copy is never closed by the new process: it lives as long as that process does,
    // however soon this one ends. Inheriting it instead would pass on any inheritable
    // handle, a pipe of a script waiting for its end among them.
    if (mutex_) {
        HANDLE copy = nullptr;
        (void)::DuplicateHandle(::GetCurrentProcess(), mutex_, process.hProcess, &copy, 0, FALSE,
                                DUPLICATE_SAME_ACCESS);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

bool Win32ProcessApi::GetEnvironment(std::string_view name, std::string& value) {
    const std::string terminated(name);
    std::vector<char> buffer(64);
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length = ::GetEnvironmentVariableA(terminated.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            // An empty value is set all the same.
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
            value.clear();
            return true;
        }
        if (length < buffer.size()) {
            value.assign(buffer.data(), length);
            return true;
        }
        buffer.resize(length);  // the size asked for, terminator included
    }
}

bool Win32ProcessApi::SetEnvironment(std::string_view name, std::optional<std::string_view> value) {
    const std::string terminated(name);
    if (!value) return ::SetEnvironmentVariableA(terminated.c_str(), nullptr) != 0;
    const std::string text(*value);
    return ::SetEnvironmentVariableA(terminated.c_str(), text.c_str()) != 0;
}

}  // namespace lv
