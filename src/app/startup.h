// Start-up and the end of the run, as far as they decide anything: the working folder,
// the wait past midnight, the settings, the older-version takeover, the single instance
// with the forwarding of a second start's line, the first view and the restart. The
// Windows entry point sequences these around the creation of the window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/core.h"

namespace lv {

inline constexpr std::string_view kWindowClassName = "Lumivane class 4.4";
inline constexpr int kShowMinimizedNoActivate = 7;  // the logon shortcut's start

inline constexpr int kMidnightWaits = 30;
inline constexpr uint32_t kMidnightWaitMs = 5000;
inline constexpr uint32_t kTakeoverWaitMs = 2000;
inline constexpr uint32_t kAnswerWaitMs = 20000;
inline constexpr uint32_t kHookStopWaitMs = 500;
inline constexpr int kRestartAttempts = 20;
inline constexpr uint32_t kRestartRetryMs = 100;
// How long a start that finds the mutex looks for the running instance's window. An
// instance that restarts has none from the destruction of its own window until its
// successor has made one: the 500 ms hook wait, up to 1.9 s of failed process starts,
// and the successor's steps before its window (2 s at most for the older-version
// takeover, the settings, the window itself) come to about 5 s at worst; twice that.
inline constexpr uint32_t kWindowWaitMs = 10000;
inline constexpr uint32_t kWindowRetryMs = 100;

// The marker a restarting instance leaves in the environment of its successor, and only
// there: a start that finds it is that successor. The value tells the first view.
inline constexpr std::string_view kSuccessorVariable = "LUMIVANE_SUCCESSOR";
inline constexpr std::string_view kSuccessorShown = "shown";
inline constexpr std::string_view kSuccessorHidden = "hidden";

// Main windows of older versions, searched in this order.
inline constexpr std::string_view kOldWindowClasses[] = {
    "lumivaneclass",      "lumivaneclass15",    "Lumivane class 1.6", "Lumivane class 1.7", "Lumivane class 2.6",
    "Lumivane class 2.7", "Lumivane class 2.8", "Lumivane class 2.9", "Lumivane class 3.0", "Lumivane class 3.1",
    "Lumivane class 3.2", "Lumivane class 3.3", "Lumivane class 3.4", "Lumivane class 3.5", "Lumivane class 3.6",
    "Lumivane class 3.7", "Lumivane class 3.8", "Lumivane class 3.9", "Lumivane class 4.0", "Lumivane class 4.1",
    "Lumivane class 4.2", "Lumivane class 4.3"};

// Makes the program's own folder the working folder.
void EnterProgramFolder(Core& core);
// A start at 00:00 waits until the clock shows another minute, at most 150 s: the
// auto-run times of the day are taken from the clock afterwards.
void WaitPastMidnight(Core& core);

// The batch line that ends older instances: every process whose image name begins with
// "Lumivane", except this program's own image and process.
std::string TakeoverBatchLine(std::string_view ownImageName, uint32_t ownProcessId);
// When a window of an older version exists: writes and runs the batch file, then waits.
// Returns whether an older version was found.
bool TakeOverOlderVersions(Core& core);

// The settings as start-up takes them: the computed defaults, an older INI file, the
// settings file, the language.
void LoadStartupSettings(Core& core);

// The start-up steps before the window exists. Returns the exit code when this start
// ends here (too old a system, or a second start that forwarded its line).
std::optional<int> StartBeforeWindow(Core& core, std::string_view commandLine, int showCommand);

// A second start, which found the mutex: hands the line (or the show request) to the
// running instance and returns the exit code, the running instance's answer. While there
// is no window that takes the line, it looks again every kWindowRetryMs for kWindowWaitMs,
// then ends with 0. Returns nothing when the mutex went away meanwhile: the instance has
// ended and this start is the one instance now, holding the mutex.
std::optional<int> ForwardToRunningInstance(Core& core, int showCommand);

// The start-up steps that read the hardware and show nothing yet: the icons' records,
// the panel's levels, the first refresh (which adds the icons), ignored monitors that are
// gone, the limits and the monitor set's fingerprint. Afterwards start-up counts as complete.
void StartMonitorsAndIcons(Core& core);

// The start-up steps after the window exists: StartMonitorsAndIcons, the start-up line,
// the first view, the first save and the periodic timers.
void StartAfterWindow(Core& core, int showCommand);

// Ignored monitors that are gone are forgotten, which needs a fresh start.
void ForgetMissingIgnoredMonitors(Core& core);

// After the message loop: the hook thread is told to stop, the program starts again when
// a restart is pending (marking the new process as the successor and sharing the mutex
// with it), and the mutex is let go. Returns the exit code.
int FinishRun(Core& core);

}  // namespace lv
