#include "popup/popup_proc.h"

#include "commands/submission.h"
#include "common/text.h"
#include "core/requests.h"
#include "monitors/ddc_access.h"
#include "monitors/enumeration.h"
#include "monitors/monitor_list.h"
#include "platform/windows_codes.h"
#include "popup/list_actions.h"
#include "popup/popup_commands.h"
#include "popup/popup_refresh.h"
#include "popup/tray_menu.h"
#include "settings/settings_file.h"
#include "tray/hidden_icons.h"

namespace lv {
namespace {

constexpr std::string_view kExitQuestion[2] = {"Do you really want to terminate Lumivane ?",
                                               "Soll Lumivane wirklich beendet werden ?"};
constexpr std::string_view kMouseHookError = "mouse hook error";
constexpr std::string_view kKeyboardHookError = "keyboard hook error";

bool IsNotifiedKind(ChangeKind kind) {
    switch (kind) {
        case ChangeKind::Brightness:
        case ChangeKind::Contrast:
        case ChangeKind::Volume:
        case ChangeKind::Red:
        case ChangeKind::Green:
        case ChangeKind::Blue:
        case ChangeKind::Summary:
            return true;
        default:
            return false;
    }
}

void ClearInfoTip(Core& core) {
    core.infoTipText.clear();
    core.platform.view.UpdateInfoTip(core.infoTipText);
}

// Hover upkeep, a silent selected monitor replaced, and the monitor under the pointer.
void OnSelectionTimer(Core& core) {
    PopupView& view = core.platform.view;
    const bool visible = view.IsVisible();
    if (visible && !view.IsListAt(core.cursorPos)) ClearInfoTip(core);

    const int selected = static_cast<int>(core.SelectedIndex());
    if (selected < core.list.Rows() && core.list.IsSilent(selected)) {
        for (int row = 0; row < core.list.Rows(); ++row) {
            if (core.list.IsSilent(row)) continue;
            core.selectedMonitor = row;
            SelectListRow(core);
            core.RefreshPopup(0);
            break;
        }
    }

    // The pointer cannot tell several physical monitors of one display apart, and the
    // selection must not change under an open question.
    if (!core.settings.autoselect || core.enumeration.severalPhysicalMonitors || core.inputConfirmOpen ||
        core.resetConfirmOpen || core.list.Rows() <= 1 || visible)
        return;
    const DisplayHandle display = core.platform.monitors.MonitorFromPoint(core.cursorPos);
    if (display == 0 || (display == core.lastPointerMonitor && !core.forceReselect)) return;
    core.forceReselect = false;
    (void)FindEntryOfDisplay(core, display);
    core.lastPointerMonitor = display;
    SelectListRow(core);
    core.UpdateIcons();
}

// The deferred change notification: shown once the values stopped changing.
void OnNotificationTimer(Core& core) {
    // Back to the short period first: showing a notification lengthens it for one round.
    (void)core.platform.window.SetTimer(timer::kNotification, timer::kNotificationMs);
    if (core.lastChangedKind != ChangeKind::Nothing && !core.HotKeyHeld()) {
        core.lastChangeTick = core.platform.clock.TickCount();
        if (IsNotifiedKind(core.lastChangedKind)) core.ShowValueNotification(core.lastChangedKind);
        core.lastChangedKind = ChangeKind::Nothing;
    }
}

void OnHousekeepingTimer(Core& core) {
    if (core.enumeration.enumerationFailed) {
        core.RefreshPopup(0);
        // The monitors answer again: a fresh start identifies them properly.
        if (!core.enumeration.enumerationFailed && !core.restartflag) RequestRestart(core);
    }
    if (!core.hookCheckDone && core.hooks.threadStarted) {
        core.hookCheckDone = true;
        if (!core.hooks.mouseInstalled) core.platform.view.ShowError(kMouseHookError);
        if (!core.hooks.keyboardInstalled) core.platform.view.ShowError(kKeyboardHookError);
    }
    const SystemTime now = core.platform.system.LocalTime();
    if (now.hour == 0 && now.minute == 0) {
        // A new day: the restarted program computes its auto-run times afresh.
        RequestRestart(core);
        (void)core.platform.window.KillTimer(timer::kHousekeeping);
        return;
    }
}

}  // namespace

void StartPeriodicTimers(Core& core) {
    WindowApi& window = core.platform.window;
    (void)window.SetTimer(timer::kNotification, timer::kNotificationMs);
    (void)window.SetTimer(timer::kSelection, timer::kSelectionMs);
    (void)window.SetTimer(timer::kHiddenIcons, timer::kHiddenIconsMs);
    (void)window.SetTimer(timer::kHousekeeping, timer::kHousekeepingMs);
    (void)window.SetTimer(timer::kPrivilege, timer::kPrivilegeMs);
}

void OnTimer(Core& core, uint32_t id) {
    WindowApi& window = core.platform.window;
    switch (id) {
        case timer::kNotificationGuard:
            (void)window.KillTimer(id);
            core.trayState.balloonBlocked = false;
            return;
        case timer::kResume:
        case timer::kTaskbarIdle:
        case timer::kConsoleConnect:
        case timer::kTaskbarBusy:
            RequestRestart(core);
            (void)window.KillTimer(id);
            return;
        case timer::kDisplayChange:
            (void)window.KillTimer(id);
            RequestRestart(core);
            return;
        case timer::kSelection:
            OnSelectionTimer(core);
            return;
        case timer::kNotification:
            OnNotificationTimer(core);
            return;
        case timer::kHousekeeping:
            OnHousekeepingTimer(core);
            return;
        case timer::kForeground:
            (void)window.KillTimer(id);
            (void)window.BringToForeground();
            return;
        case timer::kPanel:
            (void)window.KillTimer(id);
            core.RefreshPopup(0);
            core.lastChangedKind = ChangeKind::Brightness;
            return;
        case timer::kHiddenIcons:
            OnHiddenIconTimer(core);
            return;
        case timer::kHiddenWarning:
            OnHiddenWarningTimer(core);
            return;
        case timer::kPrivilege:
            return;  // periodic; its work is added with the feature it serves
        default:
            (void)window.KillTimer(id);  // a one-shot timer whose feature is not built in
            return;
    }
}

void OnCommand(Core& core, uint32_t id, uint32_t code, intptr_t lparam) {
    core.menuOpen = false;
    switch (id) {
        case res::kOpenPopup:
            core.RefreshPopup(1);
            return;
        case res::kRunCommandBuffer:
            RunQueuedCommandLine(core, static_cast<uint32_t>(lparam));
            ShowChangedValues(core);
            return;
        case res::kExit:
            OnExitCommand(core, lparam);
            return;
        case res::kRescan:
            RequestRestart(core, RestartView::AsStarted);
            return;
        default:
            if (OnTrayMenuCommand(core, id) || OnListMenuCommand(core, id)) return;
            (void)OnControlCommand(core, id, code);
            return;
    }
}

void OnExitCommand(Core& core, intptr_t lparam) {
    if (!core.endingSession && !core.restartflag) {
        if (core.exitConfirmOpen) return;
        core.exitConfirmOpen = true;
        const bool yes = core.platform.view.AskQuestion(kProgramTitle, kExitQuestion[core.German() ? 1 : 0]);
        core.exitConfirmOpen = false;
        if (!yes) return;
    }
    if (lparam != 2) SaveAllSettings(core);
    // From here on a pass only saves the monitors' settings.
    core.enumeration.closing = true;
    RefreshMonitors(core);
    AppSettings& settings = core.settings;
    settings.showbrightnessicon = settings.showcontrasticon = settings.showvolumeicon = settings.showcombinedicon =
        false;
    core.UpdateIcons();
    // A restart keeps the mutex until its successor has been started (FinishRun): a start
    // meanwhile waits for the successor's window instead of becoming the one instance.
    if (!core.restartflag) core.platform.process.CloseInstanceMutex();
    (void)core.platform.window.DestroyPopup();
}

void OnTaskbarCreated(Core& core) {
    WindowApi& window = core.platform.window;
    if (window.ForegroundWindowExists())
        (void)window.SetTimer(timer::kTaskbarBusy, timer::kRestartDelayMs);
    else
        (void)window.SetTimer(timer::kTaskbarIdle, timer::kTaskbarIdleMs);
}

void OnSize(Core& core, int clientHeight) {
    if (core.expectedPopupHeight == 0 || clientHeight >= core.expectedPopupHeight) return;
    RequestRestart(core, RestartView::AsStarted);
}

void OnClose(Core& core) {
    core.platform.view.HidePopup();
    ClearInfoTip(core);
}

intptr_t OnQueryEndSession(Core& core) {
    core.endingSession = true;
    OnCommand(core, res::kExit, 0, 0);
    return 1;
}

intptr_t OnPowerBroadcast(Core& core, uintptr_t event, const Guid* setting) {
    if (event == win::kPbtApmResumeAutomatic) {
        (void)core.platform.window.SetTimer(timer::kResume, timer::kRestartDelayMs);
        return 1;
    }
    if (event == win::kPbtPowerSettingChange) {
        if (setting && (*setting == win::kGuidAcDcPowerSource || *setting == win::kGuidPowerSavingStatus))
            ++core.powerChangeCount;
        return 1;
    }
    return 0;
}

void OnDeviceChange(Core& core, uintptr_t event, std::optional<std::string_view> deviceName) {
    if (event != win::kDbtDeviceArrival && event != win::kDbtDeviceRemoveComplete) return;
    if (!deviceName || !ContainsNoCase(*deviceName, "\\\\?\\DISPLAY#")) return;
    // Setting the timer again moves it: several changes in a row end in one restart.
    (void)core.platform.window.SetTimer(timer::kDisplayChange, timer::kDisplayChangeMs);
}

void OnSessionChange(Core& core, uintptr_t code) {
    if (code == win::kWtsConsoleConnect)
        (void)core.platform.window.SetTimer(timer::kConsoleConnect, timer::kRestartDelayMs);
}

}  // namespace lv
