#include "popup/popup_proc.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "commands/command_test_support.h"
#include "monitors/enumeration.h"
#include "settings/settings_file.h"
#include "tray/notify_icons.h"

namespace lv {
namespace {

using sim::PostedCommand;
using test::Seeded;

constexpr PostedCommand kRestart{res::kExit, 1};
constexpr std::u16string_view kProgramCopy = u"C:\\Program Files\\Lumivane\\Lumivane.xml";
constexpr std::u16string_view kAppDataCopy = u"C:\\Users\\User\\AppData\\Roaming\\Lumivane\\Lumivane.xml";

std::vector<PostedCommand> Posted(const sim::Simulator& s) {
    return {s.window.Commands().begin(), s.window.Commands().end()};
}

// Runs the main window's loop in virtual time; posted commands are only recorded.
std::vector<PostedCommand> RunFor(sim::Simulator& s, uint64_t milliseconds) {
    std::vector<PostedCommand> commands;
    s.window.RunUntil(
        s.clock.Now() + milliseconds, [&](uint32_t id, intptr_t lparam) { commands.push_back({id, lparam}); },
        [&](uint32_t id) { OnTimer(s.core, id); });
    return commands;
}

// Each environment change arms one one-shot timer, whose firing restarts the program.
struct RestartCase {
    const char* name;
    void (*arm)(sim::Simulator&);
    uint32_t timerId, period;
};

const RestartCase kRestartCases[] = {
    {"resume", [](sim::Simulator& s) { (void)OnPowerBroadcast(s.core, win::kPbtApmResumeAutomatic, nullptr); },
     timer::kResume, 5000},
    {"console connect", [](sim::Simulator& s) { OnSessionChange(s.core, win::kWtsConsoleConnect); },
     timer::kConsoleConnect, 5000},
    {"display arrival",
     [](sim::Simulator& s) { OnDeviceChange(s.core, win::kDbtDeviceArrival, "\\\\?\\display#DEL4220#5&1a"); },
     timer::kDisplayChange, 10000},
    {"task bar, someone at work", [](sim::Simulator& s) { OnTaskbarCreated(s.core); }, timer::kTaskbarBusy, 5000},
    {"task bar, idle",
     [](sim::Simulator& s) {
         s.window.SetForegroundWindowExists(false);
         OnTaskbarCreated(s.core);
     },
     timer::kTaskbarIdle, 120000},
};

TEST(MainWindowEvents, EnvironmentChangesRestartOnceAfterTheirDelay) {
    for (const RestartCase& c : kRestartCases) {
        SCOPED_TRACE(c.name);
        auto s = Seeded();
        c.arm(*s);
        EXPECT_EQ(s->window.Timers(), (std::map<uint32_t, uint32_t>{{c.timerId, c.period}}));
        EXPECT_TRUE(RunFor(*s, c.period - 1).empty());
        EXPECT_EQ(RunFor(*s, 1), std::vector<PostedCommand>{kRestart});
        EXPECT_TRUE(s->core.restartflag);
        EXPECT_TRUE(s->core.hiddenrestart);  // the popup was hidden
        EXPECT_TRUE(RunFor(*s, 300000).empty());
    }
}

TEST(MainWindowEvents, TwoDisplayChangesRestartOnceAfterTheLast) {
    auto s = Seeded();
    OnDeviceChange(s->core, win::kDbtDeviceArrival, "\\\\?\\DISPLAY#A");
    EXPECT_TRUE(RunFor(*s, 4000).empty());
    OnDeviceChange(s->core, win::kDbtDeviceRemoveComplete, "\\\\?\\DISPLAY#A");
    EXPECT_TRUE(RunFor(*s, 9999).empty());
    EXPECT_EQ(RunFor(*s, 1), std::vector<PostedCommand>{kRestart});
    EXPECT_TRUE(RunFor(*s, 60000).empty());
}

TEST(MainWindowEvents, OnlyTheTwoPowerSettingsAreCounted) {
    auto s = Seeded();
    const Guid other = {0x245D8541, 0x3943, 0x4422, {0xB0, 0x25, 0x13, 0xA7, 0x84, 0xF6, 0x79, 0xB7}};
    for (const Guid* setting :
         {&win::kGuidAcDcPowerSource, &win::kGuidPowerSavingStatus, &other, static_cast<const Guid*>(nullptr)})
        EXPECT_EQ(OnPowerBroadcast(s->core, win::kPbtPowerSettingChange, setting), 1);
    EXPECT_EQ(s->core.powerChangeCount, 2);
}

TEST(MainWindowEvents, AShrunkenPopupRestartsWithoutAQuestion) {
    auto s = Seeded();
    s->core.expectedPopupHeight = 0;  // as before a layout
    OnSize(s->core, 300);
    s->core.expectedPopupHeight = 420;
    OnSize(s->core, 420);
    OnSize(s->core, 500);
    EXPECT_TRUE(Posted(*s).empty());
    OnSize(s->core, 419);
    EXPECT_EQ(Posted(*s), std::vector<PostedCommand>{kRestart});
    EXPECT_TRUE(s->core.restartflag);
}

TEST(MainWindowTimers, PeriodicTimersKeepTheirPeriods) {
    auto s = Seeded();
    StartPeriodicTimers(s->core);
    const std::map<uint32_t, uint32_t> periodic{{6, 500}, {7, 5000}, {14, 200}, {15, 10000}, {16, 20000}};
    EXPECT_EQ(s->window.Timers(), periodic);
    EXPECT_TRUE(RunFor(*s, 120000).empty());
    EXPECT_EQ(s->window.Timers(), periodic);
}

TEST(MainWindowTimers, HousekeepingRestartsWhenTheMonitorsAnswerAgainAndOnceAtMidnight) {
    auto s = Seeded();
    // The pass alone: the refresh's own restart on a changed monitor set would hide this rule.
    s->core.actions.refreshPopup = [&s](int) { (void)EnumerateUntilAnswered(s->core); };
    s->fleet.displays[0].physicalOk = false;
    s->core.RefreshPopup(0);
    OnTimer(s->core, timer::kHousekeeping);  // still failing: nothing
    EXPECT_TRUE(Posted(*s).empty());
    s->fleet.displays[0].physicalOk = true;
    OnTimer(s->core, timer::kHousekeeping);
    EXPECT_EQ(Posted(*s), std::vector<PostedCommand>{kRestart});

    auto m = Seeded();
    StartPeriodicTimers(m->core);
    m->system.SetLocalTime({2026, 12, 0, 7, 0, 0, 4, 0});
    OnTimer(m->core, timer::kHousekeeping);
    EXPECT_EQ(Posted(*m), std::vector<PostedCommand>{kRestart});
    EXPECT_FALSE(m->window.HasTimer(timer::kHousekeeping));
    m->system.SetLocalTime({2026, 12, 0, 7, 0, 1, 0, 0});
    OnTimer(m->core, timer::kHousekeeping);
    EXPECT_EQ(Posted(*m).size(), 1u);
}

// Bound as the program binds it: a balloon with the value at its icon, then five quiet seconds.
TEST(MainWindowTimers, TheChangeNotificationWaitsForQuietThenPausesFiveSeconds) {
    auto s = Seeded();
    bool hotKeyDown = true;
    s->core.actions.hotKeyHeld = [&] { return hotKeyDown; };
    s->core.lastChangedKind = ChangeKind::Contrast;
    OnTimer(s->core, timer::kNotification);
    EXPECT_TRUE(s->tray.Calls().empty());
    hotKeyDown = false;
    OnTimer(s->core, timer::kNotification);
    ASSERT_EQ(s->tray.Calls().size(), 1u);
    EXPECT_EQ(s->tray.Calls()[0].record.guid, IconGuid(kContrastIcon, 0));
    EXPECT_EQ(s->tray.Calls()[0].record.infoTitle, "Contrast 75");
    EXPECT_EQ(s->window.TimerPeriod(timer::kNotification), 5000u);
    OnTimer(s->core, timer::kNotification);
    EXPECT_EQ(s->tray.Calls().size(), 1u);
    EXPECT_EQ(s->window.TimerPeriod(timer::kNotification), 200u);
}

// The exit command: the question, the save, the closing pass, the icons and the window.
struct ExitFixture {
    std::unique_ptr<sim::Simulator> s = Seeded();
    int iconUpdates = 0;
    bool iconsOnAtUpdate = true;

    ExitFixture() {
        s->core.actions.updateIcons = [this] {
            ++iconUpdates;
            const AppSettings& a = s->core.settings;
            iconsOnAtUpdate = a.showbrightnessicon || a.showcontrasticon || a.showvolumeicon || a.showcombinedicon;
        };
        s->process.SetMutexExists(false);
        bool existed = false;
        (void)s->process.CreateInstanceMutex(existed);
        s->files.ClearCalls();
    }
    bool Ended() const { return s->window.Destroyed(); }
};

TEST(ExitCommand, TheUsersExitAsksAndNoKeepsEverythingRunning) {
    ExitFixture f;
    f.s->view.ScriptAnswers({false});
    OnCommand(f.s->core, res::kExit, 0, 0);
    ASSERT_EQ(f.s->view.Questions().size(), 1u);
    EXPECT_EQ(f.s->view.Questions()[0],
              (sim::YesNoQuestion{"Lumivane 4.4", "Do you really want to terminate Lumivane ?", true}));
    EXPECT_FALSE(f.Ended());
    EXPECT_EQ(f.s->files.CallCount(sim::FileCall::WriteWholeFile), 0u);
    EXPECT_TRUE(f.s->process.MutexHeld());
    EXPECT_FALSE(f.s->core.exitConfirmOpen);
    f.s->core.exitConfirmOpen = true;  // a second exit while the question is open
    OnCommand(f.s->core, res::kExit, 0, 0);
    EXPECT_EQ(f.s->view.Questions().size(), 1u);
}

TEST(ExitCommand, YesSavesBothCopiesSavesTheMonitorsAndRemovesEverything) {
    ExitFixture f;
    f.s->core.settings.languageId = win::kLangGerman;
    f.s->view.ScriptAnswers({true});
    OnCommand(f.s->core, res::kExit, 0, 0);
    EXPECT_EQ(f.s->view.Questions().at(0).text, "Soll Lumivane wirklich beendet werden ?");
    EXPECT_TRUE(f.s->files.FileExists(kAppDataCopy));
    EXPECT_EQ(f.s->monitors.CallCount("SaveCurrentMonitorSettings"), 3u);  // every monitor, silent or not
    EXPECT_EQ(f.iconUpdates, 1);
    EXPECT_FALSE(f.iconsOnAtUpdate);
    // The file keeps the icons the user chose: they are switched off after the save.
    EXPECT_NE(f.s->files.Contents(kProgramCopy).value_or("").find("showbrightnessicon=\"Y\""), std::string::npos);
    EXPECT_FALSE(f.s->process.MutexHeld());
    EXPECT_TRUE(f.Ended());
}

TEST(ExitCommand, NoQuestionForARestartTheSessionsEndOrTheQuitCommand) {
    const std::function<void(sim::Simulator&)> ways[] = {
        [](sim::Simulator& s) {
            s.core.restartflag = true;
            OnCommand(s.core, res::kExit, 0, 1);
        },
        [](sim::Simulator& s) { EXPECT_EQ(OnQueryEndSession(s.core), 1); },
        [](sim::Simulator& s) {
            s.Run("q");
            for (const PostedCommand& c : s.otherCommands) OnCommand(s.core, c.id, 0, c.lparam);
        },
    };
    for (const auto& way : ways) {
        ExitFixture f;
        way(*f.s);
        EXPECT_TRUE(f.s->view.Questions().empty());
        EXPECT_TRUE(f.Ended());
        EXPECT_TRUE(f.s->files.FileExists(kAppDataCopy));
        // Only a restart keeps the mutex, for the successor it starts after the loop.
        EXPECT_EQ(f.s->process.MutexHeld(), &way == &ways[0]);
    }
}

TEST(ExitCommand, ExitWithoutSavingLeavesTheFilesAlone) {
    ExitFixture f;
    f.s->core.endingSession = true;
    OnCommand(f.s->core, res::kExit, 0, 2);
    EXPECT_EQ(f.s->files.CallCount(sim::FileCall::WriteWholeFile), 0u);
    EXPECT_TRUE(f.Ended());
}

}  // namespace
}  // namespace lv
