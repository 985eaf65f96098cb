// What the main window does with each message, timer and command. The window procedure
// of the Windows layer only decodes a message and calls one of these.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "app/core.h"
#include "monitors/laptop_panel.h"

namespace lv {

// Timers of the main window. Only the periodic ones keep running; every other timer is
// killed when it first fires.
namespace timer {
inline constexpr uint32_t kNotificationGuard = 2;  // one-shot, 3 s
inline constexpr uint32_t kResume = 3;             // one-shot, 5 s: restart after standby
inline constexpr uint32_t kAudioDevice = 4;        // one-shot, 5 s
inline constexpr uint32_t kSelection = 6;          // periodic, 500 ms
inline constexpr uint32_t kHiddenIcons = 7;        // periodic, 5 s, later 60 s
inline constexpr uint32_t kTaskbarIdle = 8;        // one-shot, 120 s: restart
inline constexpr uint32_t kPowerStatus = 9;        // one-shot, 200 ms
inline constexpr uint32_t kConsoleConnect = 10;    // one-shot, 5 s: restart
inline constexpr uint32_t kHiddenWarning = 11;     // periodic while the warning is open, 1 s
inline constexpr uint32_t kTaskbarBusy = 13;       // one-shot, 5 s: restart
inline constexpr uint32_t kNotification = 14;      // periodic, 200 ms
inline constexpr uint32_t kHousekeeping = 15;      // periodic, 10 s
inline constexpr uint32_t kPrivilege = 16;         // periodic until done, 20 s
inline constexpr uint32_t kForeground = 17;        // one-shot, 200 ms after a show
inline constexpr uint32_t kDisplayChange = 18;     // one-shot, 10 s: restart
inline constexpr uint32_t kPanel = kPanelTimer;    // one-shot, 500 ms after a panel change

inline constexpr uint32_t kNotificationGuardMs = 3000;
inline constexpr uint32_t kRestartDelayMs = 5000;  // resume, console connect, busy task bar
inline constexpr uint32_t kAudioDeviceMs = 5000;
inline constexpr uint32_t kSelectionMs = 500;
inline constexpr uint32_t kHiddenIconsMs = 5000;
inline constexpr uint32_t kTaskbarIdleMs = 120000;
inline constexpr uint32_t kNotificationMs = 200;
inline constexpr uint32_t kHousekeepingMs = 10000;
inline constexpr uint32_t kPrivilegeMs = 20000;
inline constexpr uint32_t kForegroundMs = 200;
inline constexpr uint32_t kDisplayChangeMs = 10000;
}  // namespace timer

// System events the main window reacts to.
inline constexpr uintptr_t kPowerResumeAutomatic = 0x12;     // PBT_APMRESUMEAUTOMATIC
inline constexpr uintptr_t kPowerSettingChange = 0x8013;     // PBT_POWERSETTINGCHANGE
inline constexpr uintptr_t kDeviceArrival = 0x8000;          // DBT_DEVICEARRIVAL
inline constexpr uintptr_t kDeviceRemoveComplete = 0x8004;   // DBT_DEVICEREMOVECOMPLETE
inline constexpr uintptr_t kSessionConsoleConnect = 1;       // WTS_CONSOLE_CONNECT
inline constexpr Guid kGuidAcDcPowerSource = {0x5D3E9A59, 0xE9D5, 0x4B00, {0xA6, 0xBD, 0xFF, 0x34, 0xFF, 0x51, 0x65, 0x48}};
inline constexpr Guid kGuidPowerSavingStatus = {0xE00958C0, 0xC213, 0x4ACE, {0xAC, 0x77, 0xFE, 0xCC, 0xED, 0x2E, 0xEE, 0xA5}};

inline constexpr std::string_view kProgramTitle = "Lumivane 4.4";

// The timers start-up leaves running for the whole run.
void StartPeriodicTimers(Core& core);

void OnTimer(Core& core, uint32_t id);
// WM_COMMAND: `id` is the low word of wParam, `code` the high word.
void OnCommand(Core& core, uint32_t id, uint32_t code, intptr_t lparam);
// The exit command: the question, the save, the closing pass, the icons and the window.
void OnExitCommand(Core& core, intptr_t lparam);

// "TaskbarCreated": the icons are rebuilt by a restart, soon when someone is at work.
void OnTaskbarCreated(Core& core);
// WM_SIZE with the new client height: a popup that shrank under its layout restarts.
void OnSize(Core& core, int clientHeight);
// WM_CLOSE and the close button: hide the popup, forget the hover information.
void OnClose(Core& core);
// WM_QUERYENDSESSION: save and end before the session does. Returns the answer (1).
intptr_t OnQueryEndSession(Core& core);
// WM_POWERBROADCAST; `setting` is the power setting of a setting change. Returns the answer.
intptr_t OnPowerBroadcast(Core& core, uintptr_t event, const Guid* setting);
// WM_DEVICECHANGE; `deviceName` is the name of a device-interface record, if there is one.
void OnDeviceChange(Core& core, uintptr_t event, std::optional<std::string_view> deviceName);
// WM_WTSSESSION_CHANGE.
void OnSessionChange(Core& core, uintptr_t code);

}  // namespace lv
