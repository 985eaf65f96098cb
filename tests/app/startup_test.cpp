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

std::string RestartFlags(const sim::Simulator& s, std::u16string_view path) {
    const std::optional<std::string> text = s.files.Contents(path);
    if (!text) return "none";
    auto flag = [&](const std::string& key) {
        const std::size_t at = text->find(key + "=\"");
        return at == std::string::npos ? '?' : (*text)[at + key.size() + 2];
    };
    return std::string{flag("restartflag"), flag("hiddenrestart")};
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

TEST(Startup, TheTakeoverLineSparesThisProgramByNameAndProcess) {
    EXPECT_EQ(TakeoverBatchLine("Lumivane.exe", 4711),
              "taskkill /F /FI \"IMAGENAME ne Lumivane.exe\" /FI \"PID ne 4711\" /IM Lumivane* /T\r\n");
    // A batch file would expand %...%; a quote would end the filter early.
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

TEST(Forwarding, WithoutALineTheRunningInstanceShowsItsPopup) {
    for (int show : {kNormal, kShowMinimizedNoActivate}) {
        ForwardFixture f;
        EXPECT_EQ(StartBeforeWindow(f.s->core, "", show), 0);
        EXPECT_TRUE(f.s->process.Sent().empty());
        const std::vector<sim::PostedToWindow> expected =
            show == kNormal ? std::vector<sim::PostedToWindow>{{kRunning, res::kOpenPopup, 0}}
                            : std::vector<sim::PostedToWindow>{};
        EXPECT_EQ(f.s->process.Posted(), expected);
    }
}

TEST(Forwarding, ARestartNeitherForwardsNorRunsItsLine) {
    ForwardFixture f;
    f.s->files.AddFile(kProgramCopy, "<Lumivane><set restartflag=\"Y\"></set><set hiddenrestart=\"Y\"></set></Lumivane>");
    EXPECT_FALSE(StartBeforeWindow(f.s->core, "b 50", kNormal));
    EXPECT_TRUE(f.s->process.Sent().empty());
    EXPECT_TRUE(f.s->core.startupLine.empty());
    EXPECT_FALSE(f.s->core.restartflag);
    EXPECT_TRUE(f.s->core.hiddenrestart);
}

TEST(StartupAfterWindow, ThePopupOpensOnlyForAPlainVisibleFirstStart) {
    struct Case {
        const char* line;
        int show;
        const char* file;
        int shows;
    } cases[] = {
        {"", kNormal, "", 1},
        {"b 20", kNormal, "", 0},
        {"", kShowMinimizedNoActivate, "", 0},
        {"", kNormal, "<Lumivane><set restartflag=\"Y\"></set><set hiddenrestart=\"Y\"></set></Lumivane>", 0},
        {"", kNormal, "<Lumivane><set restartflag=\"Y\"></set><set hiddenrestart=\"N\"></set></Lumivane>", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " " + c.file);
        auto s = Fresh();
        if (*c.file) s->files.AddFile(kProgramCopy, c.file);
        int shows = 0;
        s->core.actions.showPopupNearIcon = [&] { ++shows; };
        ASSERT_FALSE(StartBeforeWindow(s->core, c.line, c.show));
        StartAfterWindow(s->core, c.show);
        EXPECT_EQ(shows, c.shows);
        // The first save clears both restart flags in both copies.
        EXPECT_EQ(RestartFlags(*s, kProgramCopy), "NN");
        EXPECT_EQ(RestartFlags(*s, kAppDataCopy), "NN");
    }
}

TEST(StartupAfterWindow, TheFirstViewStandsByTheIconsJustAdded) {
    auto s = Fresh();
    Core& core = s->core;
    s->tray.SetIconRect(IconGuid(kVolumeIcon, 0), {1840, 1050, 1856, 1066});  // the last one added
    ASSERT_FALSE(StartBeforeWindow(core, "", kNormal));
    StartAfterWindow(core, kNormal);
    EXPECT_EQ(s->tray.Shown().size(), 3u);
    EXPECT_EQ(s->window.ShownAt().size(), 1u);
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
        int failures;
        int attempts;
        uint64_t waited;
    } cases[] = {{false, 0, 0, 500}, {true, 0, 1, 500}, {true, 3, 4, 800}, {true, 50, 20, 2400}};
    for (const Case& c : cases) {
        auto s = Fresh();
        s->core.hookThreadId = 99;
        s->core.restartflag = c.restart;
        s->core.queryValue = 42;
        s->process.FailProcessStarts(c.failures);
        EXPECT_EQ(FinishRun(s->core), 42);
        EXPECT_EQ(s->window.ThreadAnswers(), (std::vector<sim::ThreadAnswer>{{99, res::kExit}}));
        EXPECT_EQ(s->process.StartAttempts(), c.attempts);
        EXPECT_EQ(s->clock.Now(), c.waited);
    }
}

}  // namespace
}  // namespace lv
