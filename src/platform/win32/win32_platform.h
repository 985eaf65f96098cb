// The Windows implementations of the platform interfaces. Each method makes the one
// Windows call it is named after and reports that call's own success; nothing here
// retries, waits or decides.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio_api.h"
#include "platform/clock.h"
#include "platform/monitor_api.h"
#include "platform/process_api.h"
#include "platform/system_api.h"
#include "platform/text_codec.h"
#include "platform/tray_api.h"
#include "platform/view.h"
#include "platform/window_api.h"
#include "resources/resource.h"

namespace lv {

// Passed with every volume change the program makes, so its own volume callbacks can
// be told apart: in memory order the bytes "Lumivane", "vol." and four zeros.
inline constexpr GUID kVolumeEventContext = {
    0x696D754C, 0x6176, 0x656E, {'v', 'o', 'l', '.', 0, 0, 0, 0}};

// The core's GUIDs and the system's, both ways.
GUID ToSystemGuid(const Guid& guid);
Guid FromSystemGuid(const GUID& guid);

// VerifyVersionInfoW: at least major.minor, any service pack.
bool WindowsVersionAtLeast(DWORD major, DWORD minor);

// dxva2 (physical monitors, DDC/CI) and user32 (display enumeration).
class Win32MonitorApi final : public MonitorApi {
public:
    bool EnumDisplayMonitors(const DisplayCallback& callback) override;
    bool GetMonitorInfoA(DisplayHandle display, MonitorInfo& info) override;
    DisplayHandle MonitorFromPoint(Point point) override;

    bool GetNumberOfPhysicalMonitorsFromHMONITOR(DisplayHandle display, uint32_t& count) override;
    bool GetPhysicalMonitorsFromHMONITOR(DisplayHandle display, uint32_t count,
                                         std::vector<PhysicalMonitor>& monitors) override;
    bool DestroyPhysicalMonitors(const std::vector<PhysicalMonitor>& monitors) override;

    bool GetMonitorBrightness(PhysicalHandle monitor, uint32_t& min, uint32_t& current, uint32_t& max) override;
    bool SetMonitorBrightness(PhysicalHandle monitor, uint32_t value) override;
    bool GetMonitorContrast(PhysicalHandle monitor, uint32_t& min, uint32_t& current, uint32_t& max) override;
    bool SetMonitorContrast(PhysicalHandle monitor, uint32_t value) override;
    bool GetMonitorRedGreenOrBlueGain(PhysicalHandle monitor, GainType gain, uint32_t& min, uint32_t& current,
                                      uint32_t& max) override;
    bool SetMonitorRedGreenOrBlueGain(PhysicalHandle monitor, GainType gain, uint32_t value) override;
    bool GetVCPFeatureAndVCPFeatureReply(PhysicalHandle monitor, uint8_t code, VcpReply& reply) override;
    bool SetVCPFeature(PhysicalHandle monitor, uint8_t code, uint32_t value) override;
    bool GetCapabilitiesStringLength(PhysicalHandle monitor, uint32_t& length) override;
    bool CapabilitiesRequestAndCapabilitiesReply(PhysicalHandle monitor, uint32_t length,
                                                 std::string& text) override;
    bool SaveCurrentMonitorSettings(PhysicalHandle monitor) override;
};

class Win32Clock final : public Clock {
public:
    void Sleep(uint32_t milliseconds) override;
    uint64_t TickCount() override;
};

// CP_ACP in both directions; characters the code page lacks become its default character.
class Win32TextCodec final : public TextCodec {
public:
    std::string WideToAnsi(std::u16string_view text) override;
    std::u16string AnsiToWide(std::string_view text) override;
};

class Win32SystemApi final : public SystemApi {
public:
    // VerifyVersionInfoW against 6.2. Without a manifest that declares newer systems,
    // Windows 8.1 and later report 6.2, which still answers correctly.
    bool IsWindows8OrLater() override;
    uint32_t CurrentThreadId() override;
    bool GetSystemPowerStatus(PowerStatus& status) override;
    int SmallIconHeight() override;
    bool GetFontSmoothingType(uint32_t& type) override;
    SystemTime LocalTime() override;
    uint16_t UserDefaultUILanguage() override;
};

// The notification-area menu (109 or 110) with `extra` appended to its entries; the caller
// destroys it.
HMENU LoadTrayMenu(bool german, std::span<const MenuItem> extra);

// Messages to the popup window. Calls that address the window fail while none is set,
// because a null window would turn them into thread messages or thread timers.
class Win32WindowApi final : public WindowApi {
public:
    explicit Win32WindowApi(HWND window = nullptr) : window_(window) {}

    void SetWindow(HWND window) { window_.store(window); }
    HWND Window() const { return window_.load(); }

    bool PostCommand(uint32_t id, intptr_t lparam) override;
    bool SetTimer(uint32_t id, uint32_t milliseconds) override;
    bool KillTimer(uint32_t id) override;
    bool SendCopyData(uint32_t source, std::span<const char> data) override;
    bool PostThreadAnswer(uint32_t threadId, uintptr_t wparam) override;
    void SendAppCommand(int command) override;
    bool ForegroundWindowExists() override;
    bool BringToForeground() override;
    bool DestroyPopup() override;
    bool GetPopupRect(Rect& rect) override;
    bool CalculatePopupPosition(Point anchor, Point size, uint32_t flags, const Rect& exclude, Rect& placed) override;
    bool GetWorkArea(Rect& area) override;
    bool ShowPopupTopmostAt(Point topLeft) override;
    void PostFocusControl(int id) override;
    void ShowTrayMenu(Point point, bool german, std::span<const MenuItem> extra) override;
    bool BroadcastMonitorPowerOff() override;
    bool SetCursorPosition(Point point) override;
    void ShowListMenu(Point point, bool german, bool ignoreChecked, bool utilizeChecked) override;

private:
    // PostCommand also runs on the hook thread.
    std::atomic<HWND> window_;
};

// The process: program file, mutex, other instances, thread messages, new processes.
class Win32ProcessApi final : public ProcessApi {
public:
    Win32ProcessApi() = default;
    Win32ProcessApi(const Win32ProcessApi&) = delete;
    Win32ProcessApi& operator=(const Win32ProcessApi&) = delete;
    ~Win32ProcessApi() override { CloseInstanceMutex(); }

    std::u16string ProgramPath() override;
    bool SetWorkingFolder(std::u16string_view folder) override;
    uint32_t ProcessId() override;
    bool IsWindows7OrLater() override;
    void ShowMessage(std::string_view text) override;
    WindowHandle FindWindowByClass(std::string_view className) override;
    bool OpenHidden(std::u16string_view path) override;
    bool CreateInstanceMutex(bool& existed) override;
    void CloseInstanceMutex() override;
    bool SendCopyData(WindowHandle window, uint32_t source, std::span<const char> data) override;
    bool PostCommand(WindowHandle window, uint32_t id, intptr_t lparam) override;
    bool WaitThreadMessage(ThreadMessage& message, uint32_t timeoutMs) override;
    bool StartProcess(std::u16string_view path) override;
    bool GetEnvironment(std::string_view name, std::string& value) override;
    bool SetEnvironment(std::string_view name, std::optional<std::string_view> value) override;

private:
    HANDLE mutex_ = nullptr;
};

// The notification area, the icons drawn for it, and the task bar's overflow area.
class Win32TrayApi final : public TrayApi {
public:
    explicit Win32TrayApi(const Win32WindowApi& window) : window_(window) {}

    IconHandle RenderIcon(const IconPicture& picture) override;  // icon_renderer.cpp
    void DestroyIcon(IconHandle icon) override;
    bool NotifyIcon(NotifyMessage message, const NotifyIconRecord& record) override;
    IconRectResult GetIconRect(const Guid& guid, uint32_t id, Rect& rect) override;
    OverflowScan ScanOverflowArea(std::string_view tip, bool& found) override;  // overflow_area.cpp
    bool HiddenIconWarningOpen() override;
    void RunHiddenIconWarning(bool german) override;
    void CloseHiddenIconWarning() override;

    // The balloon's picture: the program's icon at the large-icon size, loaded at start-up.
    void SetBalloonIcon(HICON icon) { balloonIcon_ = icon; }

private:
    const Win32WindowApi& window_;
    HICON balloonIcon_ = nullptr;
};

// Core Audio on the default render endpoint of the moment. Every call builds its own
// enumerator, device and endpoint volume inside its own CoInitialize/CoUninitialize.
class Win32AudioApi final : public AudioApi {
public:
    bool GetMasterVolumeLevelScalar(float& level) override;
    bool SetMasterVolumeLevelScalar(float level) override;
    bool GetVolumeStepInfo(uint32_t& step, uint32_t& stepCount) override;
    bool GetMute(bool& muted) override;
    bool SetMute(bool muted) override;
};

// The popup dialog's controls. Every method does nothing (and answers false) while no
// dialog is set, so the core may refresh the view before the window exists.
class Win32PopupView final : public PopupView {
public:

    explicit Win32PopupView(HWND dialog = nullptr) : dialog_(dialog) {}
    void SetWindow(HWND dialog) { dialog_ = dialog; }
    HWND Window() const { return dialog_; }

    void SetText(int id, std::string_view text) override;
    std::string GetText(int id) override;
    void SetSliderPos(int id, int position) override;
    void Show(int id, bool visible) override;
    void Enable(int id, bool enabled) override;
    void RedrawNow() override;
    bool IsVisible() override;
    void SetListCell(int row, int column, std::string_view text) override;
    void SetListRowCount(int rows) override;
    void SelectListRow(int row) override;
    void SetChoiceItems(int id, const std::vector<std::string>& items) override;
    void SetChoiceCurrent(int id, int index) override;
    int GetChoiceCurrent(int id) override;
    bool IsChecked(int id) override;
    bool AskYesNo(std::string_view caption, std::string_view text) override;
    bool AskQuestion(std::string_view caption, std::string_view text) override;
    void ShowError(std::string_view text) override;
    void HidePopup() override;
    void UpdateInfoTip(std::string_view text) override;
    void SetInfoTipTitle(std::string_view title) override;
    void SetUpInfoTip() override;
    bool CopyToClipboard(std::string_view text) override;
    bool IsListAt(Point screenPoint) override;
    bool GetPopupGeometry(WindowGeometry& out) override;
    bool GetControlGeometry(int id, WindowGeometry& out) override;
    bool GetListRowRect(int row, Rect& out) override;
    bool GetListHeaderHeight(int& out) override;
    void MoveControl(int id, Rect rect) override;
    void SizePopup(int width, int height) override;
    void SetListColumnWidth(int column, int width) override;
    void SetSliderRange(int id, int minimum, int maximum) override;
    void SetUpList(const std::vector<std::string>& columns) override;
    void SetUpControlTips(const std::vector<int>& ids) override;

    // The monitor list's hover tooltip, once the popup's controls create it.
    void SetInfoTipWindow(HWND tooltip) { infoTip_ = tooltip; }
    HWND InfoTipWindow() const { return infoTip_; }

private:
    HWND Control(int id) const;
    bool Ask(std::string_view caption, std::string_view text, UINT icon);

    HWND dialog_;
    HWND infoTip_ = nullptr;
    HWND controlTips_ = nullptr;
};

}  // namespace lv
