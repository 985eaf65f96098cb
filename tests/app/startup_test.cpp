#include "app/startup.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "commands/command_test_support.h"
#include "popup/popup_proc.h"
#include "tray/notify_icons.h"

namespace lv {
namespace {

using sim::PostedCommand;

constexpr std::u16string_view kProgramCopy = u"C:\\Program Files\\Lumivane\\Lumivane.xml";
constexpr std::u16string_view kAppDataCopy = u"C:\\Users\\User\\AppData\\Roaming\\Lumivane\\Lumivane.xml";
constexpr std::u16string_view kBatchFile = u"C:\\Users\\User\\AppData\\Roaming\\Lumivane\\Lumivane.bat";
constexpr WindowHandle kRunning = 0x1234;
constexpr int kNormal = 1;  // SW_SHOWNORMAL

// A start on the test desk, before anything ran.
std::unique_ptr<sim::Simulator> Fresh() {
    sim::FleetParseResult parsed = sim::ParseFleet(test::kDesk);
    return std::make_unique<sim::Simulator>(std::move(parsed.fleet));
}

TEST(Startup, WaitsPastMidnightInFiveSecondStepsAtMostThirtyTimes) {
    struct Case {
        uint64_t midnightUntil;  // the clock shows 00:00 until this virtual time
        uint64_t waited;
    } cases[] = {{0, 0}, {1, 5000}, {5000, 5000}, {5001, 10000}, {1000000, 150000}};
    for (const Case& c : cases) {
        auto s = Fresh();
        s->system.SetLocalTimeSource([&] {
            return s->clock.Now() < c.midnightUntil ? SystemTime{2026, 12, 1, 7, 0, 0, 30, 0}
                                                    : SystemTime{2026, 12, 1, 7, 0, 1, 0, 0};
        });
        WaitPastMidnight(s->core);
        EXPECT_EQ(s->clock.Now(), c.waited) << c.midnightUntil;
    }
}

// A batch file would expand %...%; a quote would end the filter early.
TEST(Startup, TheTakeoverLineEscapesTheProgramsName) {
    EXPECT_EQ(TakeoverBatchLine("Lumi%PATH%\"x.exe", 1),
              "taskkill /F /FI \"IMAGENAME ne Lumi%%PATH%%x.exe\" /FI \"PID ne 1\" /IM Lumivane* /T\r\n");
}

TEST(Startup, AnOlderVersionsWindowRunsTheTakeoverAndWaitsTwoSeconds) {
    auto s = Fresh();
    EXPECT_FALSE(TakeOverOlderVersions(s->core));
    EXPECT_EQ(s->process.WindowSearches().size(), std::size(kOldWindowClasses));
    EXPECT_EQ(s->clock.Now(), 0u);

    s->process.AddWindow("Lumivane class 3.9", 77);
    s->process.AddWindow("Lumivane class 4.2", 78);
    s->process.SetProgramPath(u"D:\\Apps\\Lumivane.exe");
    EXPECT_TRUE(TakeOverOlderVersions(s->core));
    EXPECT_EQ(s->process.WindowSearches().back(), "Lumivane class 3.9");  // the first found ends the search
    EXPECT_EQ(s->files.Contents(kBatchFile),
              "taskkill /F /FI \"IMAGENAME ne Lumivane.exe\" /FI \"PID ne 5150\" /IM Lumivane* /T\r\n");
    EXPECT_EQ(s->process.Opened(), std::vector<std::u16string>{std::u16string(kBatchFile)});
    EXPECT_EQ(s->clock.Now(), 2000u);
}

// A second start: the line goes to the running instance, whose answer is the exit code.
struct ForwardFixture {
    std::unique_ptr<sim::Simulator> s = Fresh();
    ForwardFixture() {
        s->process.SetMutexExists(true);
        s->process.AddWindow(std::string(kWindowClassName), kRunning);
    }
};

TEST(Forwarding, TheLineGoesNormalised) {
    ForwardFixture f;
    f.s->process.QueueThreadMessage(0, {win::kWmCommand, 70, 0});
    EXPECT_EQ(StartBeforeWindow(f.s->core, "B 50", kNormal), 70);
    ASSERT_EQ(f.s->process.Sent().size(), 1u);
    const sim::SentRecord& sent = f.s->process.Sent()[0];
    EXPECT_EQ(sent.window, kRunning);
    EXPECT_EQ(sent.source, 4242u);  // the thread that waits for the answer
    EXPECT_EQ(sent.data.size(), 2048u);
    EXPECT_EQ(std::string(sent.data.c_str()), "b 50");
}

TEST(Forwarding, TheFirstCommandWithinTwentySecondsIsTheExitCodeTakenWhenPosted) {
    constexpr uint32_t kOther = 0x0400;  // someone else's thread message is no answer
    struct Case {
        std::vector<std::pair<uint64_t, ThreadMessage>> queued;
        int exitCode;
        uint64_t endedAt;
    } cases[] = {
        {{{2900, {win::kWmCommand, 70, 0}}}, 70, 2900},
        {{{0, {kOther, 5, 0}}, {2900, {kOther, 6, 0}}, {7001, {win::kWmCommand, 71, 0}}, {8000, {win::kWmCommand, 72, 0}}},
         71, 7001},
        {{{19999, {win::kWmCommand, 73, 0}}}, 73, 19999},
        {{{20001, {win::kWmCommand, 74, 0}}}, 0, 20000},
        {{{100, {kOther, 5, 0}}}, 0, 20000},
        {{}, 0, 20000},
    };
    for (const Case& c : cases) {
        ForwardFixture f;
        for (const auto& [time, message] : c.queued) f.s->process.QueueThreadMessage(time, message);
        EXPECT_EQ(StartBeforeWindow(f.s->core, "d", kNormal), c.exitCode) << c.endedAt;
        EXPECT_EQ(f.s->clock.Now(), c.endedAt);
        EXPECT_TRUE(f.s->clock.Pauses().empty());  // blocked on the queue, never polled
    }
}

// Without a line, a hidden start asks nothing of the running instance; a visible one shows
// its popup (see the retries below).
TEST(Forwarding, AHiddenStartWithoutALineAsksTheRunningInstanceForNothing) {
    ForwardFixture f;
    EXPECT_EQ(StartBeforeWindow(f.s->core, "", kShowMinimizedNoActivate), 0);
    EXPECT_TRUE(f.s->process.Sent().empty());
    EXPECT_TRUE(f.s->process.Posted().empty());
}

constexpr std::string_view kFlagsSet = "<Lumivane><set restartflag=\"Y\"></set><set hiddenrestart=\"Y\"></set></Lumivane>";
constexpr std::string_view kFlagsClear = "<Lumivane><set restartflag=\"N\"></set><set hiddenrestart=\"N\"></set></Lumivane>";

// Only the process a restarting instance started finds the marker; the flags of the file
// say nothing about this start, since any start between an instance's exit and its
// successor's first save finds them set.
TEST(Forwarding, OnlyTheMarkedSuccessorSkipsTheSingleInstanceTest) {
    struct Case {
        const char* marker;  // nullptr: none
        std::string_view file;
        bool forwards;
        bool hidden;
    } cases[] = {
        {nullptr, kFlagsSet, true, false},
        {nullptr, "", true, false},
        {"1", kFlagsSet, true, false},  // not a marker of ours
        {"shown", "", false, false},
        {"shown", kFlagsSet, false, false},
        {"hidden", kFlagsClear, false, true},
        {"hidden", "", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.marker ? c.marker : "no marker") + " " + std::string(c.file));
        ForwardFixture f;
        if (c.marker) f.s->process.SetInheritedVariable(std::string(kSuccessorVariable), c.marker);
        if (!c.file.empty()) f.s->files.AddFile(kProgramCopy, std::string(c.file));
        f.s->process.QueueThreadMessage(0, {win::kWmCommand, 70, 0});
        const std::optional<int> exitCode = StartBeforeWindow(f.s->core, "b 30", kNormal);
        EXPECT_EQ(exitCode, c.forwards ? std::optional(70) : std::nullopt);
        EXPECT_EQ(f.s->process.Sent().size(), c.forwards ? 1u : 0u);
        // A restart runs no line of its own; the successor holds the mutex as the instance.
        EXPECT_EQ(f.s->core.startupLine, c.forwards ? "b 30" : "");
        EXPECT_EQ(f.s->process.MutexHeld(), !c.forwards);
        EXPECT_FALSE(f.s->core.restartflag);
        EXPECT_EQ(f.s->core.hiddenrestart, c.hidden);
        // Nothing this process starts inherits it.
        EXPECT_FALSE(f.s->process.Environment().contains(std::string(kSuccessorVariable)));
    }
}

// An instance that restarts has no window from the destruction of its own until its
// successor has made one; an instance that is ending refuses lines.
TEST(Forwarding, WithoutAWindowThatTakesTheLineTheStartLooksAgainForTenSeconds) {
    constexpr uint64_t kNever = UINT64_MAX;
    struct Case {
        const char* line;
        uint64_t windowFrom;
        uint64_t mutexReleasedAt;
        int refusals;
        std::optional<int> exitCode;
        uint64_t endedAt;
        std::size_t searches;
    } cases[] = {
        {"b 30", 2500, kNever, 0, 71, 2600, 26},  // the successor's window; the answer 100 ms later
        {"b 30", 0, kNever, 3, 71, 400, 4},       // an ending instance refuses, its successor takes it
        {"b 30", kNever, kNever, 0, 0, 10000, 101},
        {"b 30", 0, kNever, 1000, 0, 10000, 101},
        {"b 30", kNever, 3000, 0, std::nullopt, 3000, 30},  // ended without a successor: this is the one
        {"", 500, kNever, 0, 0, 500, 6},                    // the show request waits for the window too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.endedAt);
        auto s = Fresh();
        s->process.SetMutexReleasedAt(c.mutexReleasedAt);
        if (c.windowFrom != kNever) s->process.AddWindow(std::string(kWindowClassName), kRunning, c.windowFrom);
        s->process.RefuseCopyData(c.refusals);
        s->process.QueueThreadMessage(c.endedAt, {win::kWmCommand, 71, 0});
        EXPECT_EQ(StartBeforeWindow(s->core, c.line, kNormal), c.exitCode);
        EXPECT_EQ(s->clock.Now(), c.endedAt);
        EXPECT_EQ(s->process.WindowSearches().size() - std::size(kOldWindowClasses), c.searches);
        for (uint32_t pause : s->clock.Pauses()) EXPECT_EQ(pause, kWindowRetryMs);
        // Only the start that became the instance holds the mutex.
        EXPECT_EQ(s->process.MutexHeld(), !c.exitCode.has_value());
        if (!*c.line) {
            EXPECT_EQ(s->process.Posted(), (std::vector<sim::PostedToWindow>{{kRunning, res::kOpenPopup, 0}}));
            EXPECT_TRUE(s->process.Sent().empty());
        }
    }
}

TEST(StartupAfterWindow, ThePopupOpensOnlyForAPlainVisibleFirstStart) {
    struct Case {
        const char* line;
        int show;
        std::string_view file;
        const char* marker;
        std::size_t shows;
    } cases[] = {
        {"", kNormal, "", nullptr, 1},
        {"b 20", kNormal, "", nullptr, 0},
        {"", kShowMinimizedNoActivate, "", nullptr, 0},
        {"", kNormal, kFlagsSet, nullptr, 1},  // stale flags hide nothing
        {"", kNormal, kFlagsSet, "hidden", 0},
        {"", kNormal, kFlagsClear, "hidden", 0},
        {"", kNormal, kFlagsSet, "shown", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " " + std::string(c.file) + " " + (c.marker ? c.marker : ""));
        auto s = Fresh();
        if (!c.file.empty()) s->files.AddFile(kProgramCopy, std::string(c.file));
        if (c.marker) s->process.SetInheritedVariable(std::string(kSuccessorVariable), c.marker);
        s->tray.SetIconRect(IconGuid(kVolumeIcon, 0), {1840, 1050, 1856, 1066});  // the icon added last
        ASSERT_FALSE(StartBeforeWindow(s->core, c.line, c.show));
        StartAfterWindow(s->core, c.show);
        EXPECT_EQ(s->window.ShownAt().size(), c.shows);
        EXPECT_EQ(s->tray.Shown().size(), 3u);
        // The first save clears both restart flags in both copies.
        for (std::u16string_view path : {kProgramCopy, kAppDataCopy})
            for (const char* flag : {"restartflag=\"N\"", "hiddenrestart=\"N\""})
                EXPECT_NE(s->files.Contents(path).value_or("").find(flag), std::string::npos) << flag;
    }
}

TEST(StartupAfterWindow, AnIgnoredMonitorThatIsGoneIsForgottenWithARestart) {
    auto s = Fresh();
    s->files.AddFile(kProgramCopy, "<Lumivane><set ignoremonitor0=\"ORION243\"></set>"
                                   "<set ignoremonitor1=\"GONE27\"></set></Lumivane>");
    ASSERT_FALSE(StartBeforeWindow(s->core, "", kNormal));
    StartAfterWindow(s->core, kNormal);
    std::vector<std::string> ignored;
    for (const MonitorEntry& e : s->core.table)
        if (!e.ignoreName.Empty()) ignored.push_back(e.ignoreName.Str());
    EXPECT_EQ(ignored, std::vector<std::string>{"ORION243"});
    s->Pump();
    EXPECT_EQ(s->otherCommands, (std::vector<PostedCommand>{{res::kExit, 1}}));
    EXPECT_TRUE(s->core.restartflag);
}

TEST(FinishRun, TheHookThreadIsStoppedAndTheRestartRetried) {
    struct Case {
        bool restart;
        bool hidden;
        int failures;
        int attempts;
        uint64_t waited;
    } cases[] = {{false, false, 0, 0, 500}, {true, false, 0, 1, 500}, {true, true, 3, 4, 800}, {true, false, 50, 20, 2400}};
    for (const Case& c : cases) {
        auto s = Fresh();
        s->core.hookThreadId = 99;
        s->core.restartflag = c.restart;
        s->core.hiddenrestart = c.hidden;
        s->core.queryValue = 42;
        bool existed = false;
        (void)s->process.CreateInstanceMutex(existed);  // a restart's exit kept it
        s->process.FailProcessStarts(c.failures);
        EXPECT_EQ(FinishRun(s->core), 42);
        EXPECT_EQ(s->window.ThreadAnswers(), (std::vector<sim::ThreadAnswer>{{99, res::kExit}}));
        EXPECT_EQ(s->process.StartAttempts(), c.attempts);
        EXPECT_EQ(s->clock.Now(), c.waited);
        EXPECT_FALSE(s->process.MutexHeld());
        if (c.restart && c.attempts < kRestartAttempts) {
            ASSERT_EQ(s->process.Started().size(), 1u);
            const sim::StartedProcess& successor = s->process.Started()[0];
            EXPECT_TRUE(successor.mutexShared);
            EXPECT_EQ(successor.environment.at(std::string(kSuccessorVariable)), c.hidden ? "hidden" : "shown");
        }
    }
}

// The whole restart as two processes see it: the ending instance keeps the mutex until it
// has started its successor, which starts although the mutex exists and shows the popup
// only if it was open.
TEST(Restart, TheSuccessorTakesOverWithThePopupAsItWas) {
    for (const bool visible : {false, true}) {
        SCOPED_TRACE(visible);
        auto ending = Fresh();
        ASSERT_FALSE(StartBeforeWindow(ending->core, "", kShowMinimizedNoActivate));
        StartAfterWindow(ending->core, kShowMinimizedNoActivate);
        ending->view.SetVisible(visible);
        ending->Run("z", 5000);
        OnCommand(ending->core, res::kExit, 0, 1);
        EXPECT_TRUE(ending->process.MutexHeld());  // no gap before the successor has its share
        (void)FinishRun(ending->core);
        ASSERT_EQ(ending->process.Started().size(), 1u);
        const sim::StartedProcess& started = ending->process.Started()[0];

        auto successor = Fresh();
        successor->process.SetMutexExists(true);
        for (std::u16string_view path : {kProgramCopy, kAppDataCopy})
            successor->files.AddFile(path, *ending->files.Contents(path));
        for (const auto& [name, value] : started.environment) successor->process.SetInheritedVariable(name, value);
        successor->tray.SetIconRect(IconGuid(kVolumeIcon, 0), {1840, 1050, 1856, 1066});
        ASSERT_FALSE(StartBeforeWindow(successor->core, "", kNormal));
        StartAfterWindow(successor->core, kNormal);
        EXPECT_EQ(successor->window.ShownAt().size(), visible ? 1u : 0u);
    }
}

}  // namespace
}  // namespace lv
