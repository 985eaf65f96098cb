#include "platform/win32/win32_platform.h"

#include <shellapi.h>  // after <windows.h>, which it needs

#include <algorithm>
#include <cstring>

namespace lv {
namespace {

template <std::size_t N>
void CopyText(char (&target)[N], const std::string& text) {
    const std::size_t length = std::min(text.size(), N - 1);
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
}

}  // namespace

GUID ToSystemGuid(const Guid& guid) {
    GUID result{guid.data1, guid.data2, guid.data3, {}};
    std::memcpy(result.Data4, guid.data4, sizeof(result.Data4));
    return result;
}

Guid FromSystemGuid(const GUID& guid) {
    Guid result{guid.Data1, guid.Data2, guid.Data3, {}};
    std::memcpy(result.data4, guid.Data4, sizeof(result.data4));
    return result;
}

void Win32TrayApi::DestroyIcon(IconHandle icon) {
    if (icon) ::DestroyIcon(reinterpret_cast<HICON>(icon));
}

bool Win32TrayApi::NotifyIcon(NotifyMessage message, const NotifyIconRecord& record) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_.Window();
    data.uID = record.id;
    data.uFlags = record.flags;
    data.uCallbackMessage = record.callbackMessage;
    data.hIcon = reinterpret_cast<HICON>(record.icon);
    CopyText(data.szTip, record.tip);
    CopyText(data.szInfo, record.infoText);
    CopyText(data.szInfoTitle, record.infoTitle);
    data.dwInfoFlags = record.infoFlags;
    data.uVersion = NOTIFYICON_VERSION_4;
    data.guidItem = ToSystemGuid(record.guid);
    data.hBalloonIcon = balloonIcon_;
    if (!data.hWnd) return false;
    return ::Shell_NotifyIconA(static_cast<DWORD>(message), &data) != 0;
}

IconRectResult Win32TrayApi::GetIconRect(const Guid& guid, uint32_t id, Rect& rect) {
    NOTIFYICONIDENTIFIER identifier{};
    identifier.cbSize = sizeof(identifier);
    identifier.hWnd = window_.Window();
    identifier.uID = id;
    identifier.guidItem = ToSystemGuid(guid);
    RECT r{};
    const HRESULT result = ::Shell_NotifyIconGetRect(&identifier, &r);
    if (result == E_NOTIMPL) return IconRectResult::NotImplemented;
    if (FAILED(result)) return IconRectResult::Failed;
    rect = {r.left, r.top, r.right, r.bottom};
    return IconRectResult::Ok;
}

}  // namespace lv
