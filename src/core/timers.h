// The main window's timers: every id and period in one table. Only the periodic ones keep
// running; every other timer is killed when it first fires.
#pragma once

#include <cstdint>

namespace lv::timer {

inline constexpr uint32_t kNotificationGuard = 2;  // one-shot, 3 s: no balloon meanwhile
inline constexpr uint32_t kResume = 3;             // one-shot, 5 s: restart after standby
inline constexpr uint32_t kAudioDevice = 4;        // one-shot, 5 s
inline constexpr uint32_t kSelection = 6;          // periodic, 500 ms
inline constexpr uint32_t kHiddenIcons = 7;        // periodic, 5 s, later 60 s
inline constexpr uint32_t kTaskbarIdle = 8;        // one-shot, 120 s: restart
inline constexpr uint32_t kPowerStatus = 9;        // one-shot, 200 ms
inline constexpr uint32_t kConsoleConnect = 10;    // one-shot, 5 s: restart
inline constexpr uint32_t kHiddenWarning = 11;     // periodic while the warning is open, 1 s
inline constexpr uint32_t kTaskbarBusy = 13;       // one-shot, 5 s: restart
inline constexpr uint32_t kNotification = 14;      // periodic, 200 ms; 5 s once after a balloon
inline constexpr uint32_t kHousekeeping = 15;      // periodic, 10 s
inline constexpr uint32_t kPrivilege = 16;         // periodic until done, 20 s
inline constexpr uint32_t kForeground = 17;        // one-shot, 200 ms after a show
inline constexpr uint32_t kDisplayChange = 18;     // one-shot, 10 s: restart
inline constexpr uint32_t kPanel = 33;             // one-shot, 500 ms after a panel change

inline constexpr uint32_t kNotificationGuardMs = 3000;
inline constexpr uint32_t kRestartDelayMs = 5000;  // resume, console connect, busy task bar
inline constexpr uint32_t kAudioDeviceMs = 5000;
inline constexpr uint32_t kSelectionMs = 500;
inline constexpr uint32_t kHiddenIconsMs = 5000;
inline constexpr uint32_t kHiddenIconsSlowMs = 60000;  // from the seventh check without a find
inline constexpr uint32_t kTaskbarIdleMs = 120000;
inline constexpr uint32_t kHiddenWarningMs = 1000;
inline constexpr uint32_t kNotificationMs = 200;
inline constexpr uint32_t kAfterBalloonMs = 5000;
inline constexpr uint32_t kHousekeepingMs = 10000;
inline constexpr uint32_t kPrivilegeMs = 20000;
inline constexpr uint32_t kForegroundMs = 200;
inline constexpr uint32_t kDisplayChangeMs = 10000;
inline constexpr uint32_t kPanelMs = 500;

}  // namespace lv::timer
