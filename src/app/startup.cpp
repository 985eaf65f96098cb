#include "app/startup.h"

#include "commands/submission.h"
#include "core/requests.h"
#include "monitors/enumeration.h"
#include "monitors/laptop_panel.h"
#include "monitors/monitor_list.h"
#include "platform/windows_codes.h"
#include "popup/popup_controls.h"
#include "popup/popup_layout.h"
#include "popup/popup_proc.h"
#include "popup/popup_refresh.h"
#include "settings/legacy_ini.h"
#include "settings/settings_file.h"
#include "tray/notify_icons.h"

namespace lv {
namespace {

constexpr std::string_view kWindowsTooOld[2] = {"Lumivane requires at least Windows 7",
                                                "Lumivane erfordert mindestens Windows 7"};
constexpr std::u16string_view kTakeoverFileName = u"Lumivane.bat";
constexpr std::size_t kIgnorePrefixLength = 7;  // "ignore_"

std::u16string_view FileNameOf(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

enum class StartKind : uint8_t { Plain, Successor, HiddenSuccessor };

// The marker is taken out of the environment at once, so that no process this one starts
// (the takeover's batch file, a successor of its own) inherits it.
StartKind TakeSuccessorMarker(ProcessApi& process) {
    std::string marker;
    if (!process.GetEnvironment(kSuccessorVariable, marker)) return StartKind::Plain;
    (void)process.SetEnvironment(kSuccessorVariable, std::nullopt);
    if (marker == kSuccessorShown) return StartKind::Successor;
    if (marker == kSuccessorHidden) return StartKind::HiddenSuccessor;
    return StartKind::Plain;
}

// Hands this start's line, or the show request, to the window `running`. Nothing when the
// window did not take it (its instance is ending, or the window went away): the caller
// looks again.
std::optional<int> HandOver(Core& core, WindowHandle running, int showCommand) {
    ProcessApi& process = core.platform.process;
    if (core.startupLine.empty()) {
        if (showCommand == kShowMinimizedNoActivate) return 0;
        if (!process.PostCommand(running, res::kOpenPopup, 0)) return std::nullopt;
        return 0;
    }
    if (!process.SendCopyData(running, core.mainThreadId, CommandRecord(NormaliseCommandLine(core.startupLine))))
        return std::nullopt;
    // Blocking on the queue takes the answer the moment it is posted.
    Clock& clock = core.platform.clock;
    const uint64_t deadline = clock.TickCount() + kAnswerWaitMs;
    for (uint64_t now = clock.TickCount(); now < deadline; now = clock.TickCount()) {
        ThreadMessage message;
        // Other thread messages are not the answer; only WM_COMMAND carries it.
        if (process.WaitThreadMessage(message, static_cast<uint32_t>(deadline - now)) &&
            message.message == win::kWmCommand)
            return static_cast<int>(message.wParam);
    }
    return 0;
}

std::string PanelLevelText(bool german, std::size_t count) {
    const std::string n = std::to_string(count);
    return german ? "LCD hat " + n + "\nHelligkeits-\nstufen" : "LCD has " + n + "\nbrightness\nlevels";
}

}  // namespace

void EnterProgramFolder(Core& core) {
    const std::u16string path = core.platform.process.ProgramPath();
    const std::size_t slash = path.find_last_of(u'\\');
    if (slash == std::u16string::npos) return;
    (void)core.platform.process.SetWorkingFolder(std::u16string_view(path).substr(0, slash + 1));
}

void WaitPastMidnight(Core& core) {
    for (int wait = 0; wait < kMidnightWaits; ++wait) {
        const SystemTime now = core.platform.system.LocalTime();
        if (now.hour != 0 || now.minute != 0) return;
        core.platform.clock.Sleep(kMidnightWaitMs);
    }
}

std::string TakeoverBatchLine(std::string_view ownImageName, uint32_t ownProcessId) {
    // A batch file expands %...%: a per cent sign in the name must be doubled.
    std::string image;
    for (char c : ownImageName) {
        if (c == '\r' || c == '\n' || c == '"') continue;
        image += c;
        if (c == '%') image += '%';
    }
    // The process filter protects this instance even when its name did not survive the
    // conversion to the code page.
    return "taskkill /F /FI \"IMAGENAME ne " + image + "\" /FI \"PID ne " + std::to_string(ownProcessId) +
           "\" /IM Lumivane* /T\r\n";
}

bool TakeOverOlderVersions(Core& core) {
    ProcessApi& process = core.platform.process;
    bool found = false;
    for (std::string_view name : kOldWindowClasses) {
        if (process.FindWindowByClass(name) != 0) {
            found = true;
            break;
        }
    }
    if (!found) return false;
    FileApi& files = core.platform.files;
    std::u16string folder;
    if (files.GetRoamingAppDataFolder(folder)) {
        folder += u'\\';
        folder += kSettingsFolderName;
        (void)files.CreateFolder(folder);
        const std::u16string batch = folder + u'\\' + std::u16string(kTakeoverFileName);
        const std::string image = core.platform.codec.WideToAnsi(FileNameOf(process.ProgramPath()));
        if (files.WriteWholeFile(batch, TakeoverBatchLine(image, process.ProcessId())))
            (void)process.OpenHidden(batch);
    }
    core.platform.clock.Sleep(kTakeoverWaitMs);
    return true;
}

void LoadStartupSettings(Core& core) {
    SystemApi& system = core.platform.system;
    ApplyComputedDefaults(core.settings, system);
    ImportLegacyIni(core);
    LoadSettings(core);
    core.settings.languageId = ResolveLanguage(core.settings, system.UserDefaultUILanguage());
}

std::optional<int> StartBeforeWindow(Core& core, std::string_view commandLine, int showCommand) {
    Platform& platform = core.platform;
    core.mainThreadId = platform.system.CurrentThreadId();
    const StartKind kind = TakeSuccessorMarker(platform.process);
    EnterProgramFolder(core);
    WaitPastMidnight(core);
    // After the wait, so the auto-run times are those of the day that runs.
    LoadStartupSettings(core);
    // Only the marker tells a restart. The flags in the file are written for older
    // versions; any other start finds them stale: set from an instance's exit until its
    // successor's first save, or left behind by a restart that could not start.
    core.restartflag = kind != StartKind::Plain;
    core.hiddenrestart = kind == StartKind::HiddenSuccessor;
    // A restart runs no command line of its own.
    if (!core.restartflag) core.startupLine = std::string(commandLine.substr(0, kMaxCommandLine));
    if (!platform.process.IsWindows7OrLater()) {
        platform.process.ShowMessage(kWindowsTooOld[core.German() ? 1 : 0]);
        return 0;
    }
    (void)TakeOverOlderVersions(core);
    bool existed = false;
    (void)platform.process.CreateInstanceMutex(existed);
    // The successor finds the mutex held by the instance that started it and takes over.
    if (!core.restartflag && existed) {
        if (const std::optional<int> exitCode = ForwardToRunningInstance(core, showCommand)) return exitCode;
    }
    core.restartflag = false;
    return std::nullopt;
}

std::optional<int> ForwardToRunningInstance(Core& core, int showCommand) {
    ProcessApi& process = core.platform.process;
    Clock& clock = core.platform.clock;
    // A forwarder keeps no share of the mutex: it would outlast the running instance and
    // keep a later start from becoming the one instance.
    process.CloseInstanceMutex();
    const uint64_t deadline = clock.TickCount() + kWindowWaitMs;
    for (;;) {
        if (const WindowHandle running = process.FindWindowByClass(kWindowClassName)) {
            if (const std::optional<int> exitCode = HandOver(core, running, showCommand)) return exitCode;
        }
        // No second instance after all this time: the line is given up, the start ends.
        if (clock.TickCount() >= deadline) return 0;
        clock.Sleep(kWindowRetryMs);
        // The mutex gone means the instance ended without a successor.
        bool existed = false;
        (void)process.CreateInstanceMutex(existed);
        if (!existed) return std::nullopt;
        process.CloseInstanceMutex();
    }
}

void ForgetMissingIgnoredMonitors(Core& core) {
    bool forgotten = false;
    for (MonitorEntry& entry : core.table) {
        if (entry.ignoreName.Empty()) continue;
        bool present = false;
        for (int row = 0; row < core.list.Rows() && row < kMaxMonitors; ++row) {
            const std::string& text = core.list.Cell(row, kColumnName);
            if (text.size() > kIgnorePrefixLength && entry.ignoreName.View() == std::string_view(text).substr(kIgnorePrefixLength)) {
                present = true;
                break;
            }
        }
        if (present) continue;
        entry.ignoreName.Clear();
        forgotten = true;
    }
    if (forgotten) RequestRestart(core);
}

void StartMonitorsAndIcons(Core& core) {
    SetUpPopupControls(core);
    InitialiseNotifyIcons(core);
    EnsureSomeIcon(core.settings);
    ReadPanelLevels(core);
    if (!core.panel.levels.empty())
        core.platform.view.SetText(res::kLaptopLevels, PanelLevelText(core.German(), core.panel.levels.size()));
    // The first refresh also adds the icons, so the first view has an icon to stand by.
    core.RefreshPopup(0);
    ForgetMissingIgnoredMonitors(core);
    LayoutPopupAtStartup(core);
    ApplyMonitorLimits(core);
    ShowChangedValues(core);  // limits that moved a value
    core.monitorFingerprint = MonitorFingerprint(core);
    core.startupComplete = true;
}

void StartAfterWindow(Core& core, int showCommand) {
    StartMonitorsAndIcons(core);
    SubmitCommandLine(core, core.startupLine, kSourceStartup);
    if (core.startupLine.empty() && showCommand != kShowMinimizedNoActivate && !core.hiddenrestart)
        core.ShowPopupNearIcon();
    core.hiddenrestart = false;
    SaveAllSettings(core);
    StartPeriodicTimers(core);
}

int FinishRun(Core& core) {
    if (core.hookThreadId != 0) (void)core.platform.window.PostThreadAnswer(core.hookThreadId, res::kExit);
    core.platform.clock.Sleep(kHookStopWaitMs);
    ProcessApi& process = core.platform.process;
    if (core.restartflag) {
        // Set only now, so the process started next is the only one to find it.
        (void)process.SetEnvironment(kSuccessorVariable, core.hiddenrestart ? kSuccessorHidden : kSuccessorShown);
        const std::u16string path = process.ProgramPath();
        for (int attempt = 0; attempt < kRestartAttempts; ++attempt) {
            if (attempt > 0) core.platform.clock.Sleep(kRestartRetryMs);
            if (process.StartProcess(path)) break;
        }
    }
    // Kept through a restart until the successor has its share (StartProcess).
    process.CloseInstanceMutex();
    return static_cast<int>(core.queryValue);
}

}  // namespace lv
