// What the main window does with each message, timer and command. The window procedure
// of the Windows layer only decodes a message and calls one of these.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/core.h"
#include "core/timers.h"

namespace lv {

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
