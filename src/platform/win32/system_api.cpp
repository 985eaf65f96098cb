#include <limits>

#include "platform/win32/win32_platform.h"

namespace lv {

void Win32Clock::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

uint64_t Win32Clock::TickCount() { return ::GetTickCount64(); }

// Texts crossing the seam are short; one longer than an int can count cannot be passed
// to the conversion functions at all, so it converts to nothing rather than in part.
std::string Win32TextCodec::WideToAnsi(std::u16string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
    const auto* source = reinterpret_cast<const wchar_t*>(text.data());
    const int sourceLength = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(CP_ACP, 0, source, sourceLength, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string result(static_cast<std::size_t>(needed), '\0');
    const int written =
        ::WideCharToMultiByte(CP_ACP, 0, source, sourceLength, result.data(), needed, nullptr, nullptr);
    result.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return result;
}

std::u16string Win32TextCodec::AnsiToWide(std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
    const int sourceLength = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, text.data(), sourceLength, nullptr, 0);
    if (needed <= 0) return {};
    std::u16string result(static_cast<std::size_t>(needed), u'\0');
    const int written = ::MultiByteToWideChar(CP_ACP, 0, text.data(), sourceLength,
                                              reinterpret_cast<wchar_t*>(result.data()), needed);
    result.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return result;
}

bool WindowsVersionAtLeast(DWORD major, DWORD minor) {
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    version.dwMajorVersion = major;
    version.dwMinorVersion = minor;
    version.wServicePackMajor = 0;
    ULONGLONG condition = 0;
    condition = ::VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
    condition = ::VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
    condition = ::VerSetConditionMask(condition, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    return ::VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, condition) !=
           0;
}

bool Win32SystemApi::IsWindows8OrLater() { return WindowsVersionAtLeast(6, 2); }

uint32_t Win32SystemApi::CurrentThreadId() { return ::GetCurrentThreadId(); }

bool Win32SystemApi::GetSystemPowerStatus(PowerStatus& status) {
    SYSTEM_POWER_STATUS power{};
    if (!::GetSystemPowerStatus(&power)) return false;
    status.acLineStatus = power.ACLineStatus;
    status.batteryFlag = power.BatteryFlag;
    status.batteryLifePercent = power.BatteryLifePercent;
    status.systemStatusFlag = power.Reserved1;  // SystemStatusFlag in newer headers
    return true;
}

int Win32SystemApi::SmallIconHeight() { return ::GetSystemMetrics(SM_CYSMICON); }

bool Win32SystemApi::GetFontSmoothingType(uint32_t& type) {
    UINT value = 0;
    if (!::SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &value, 0)) return false;
    type = value;
    return true;
}

SystemTime Win32SystemApi::LocalTime() {
    SYSTEMTIME time{};
    ::GetLocalTime(&time);
    return SystemTime{time.wYear, time.wMonth, time.wDayOfWeek, time.wDay,
                      time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
}

uint16_t Win32SystemApi::UserDefaultUILanguage() { return ::GetUserDefaultUILanguage(); }

}  // namespace lv
