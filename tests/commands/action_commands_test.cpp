// v, m, u, x, q, z, d, e, ? and the toggle t.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "command_test_support.h"
#include "commands/interpreter.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

constexpr int kDown = kAppCommandVolumeDown;
constexpr int kUp = kAppCommandVolumeUp;

struct VolumeCase {
    const char* line;
    float level;
    bool accepted;
    std::vector<int> steps;  // on Windows 8 and later
};

void PrintTo(const VolumeCase& c, std::ostream* os) { *os << "\"" << c.line << "\""; }

class VolumeTest : public ::testing::TestWithParam<VolumeCase> {};

// Windows 8 and later show their own indicator when stepped; before, the program does.
TEST_P(VolumeTest, SetsTheLevelAndShowsTheIndicator) {
    const VolumeCase& c = GetParam();
    for (const bool windows8 : {true, false}) {
        auto sim = Seeded();
        sim->system.SetWindows8OrLater(windows8);
        sim->core.volume.volumePercent = 50;
        sim->Run(c.line);
        ASSERT_EQ(sim->audio.Sets().size(), 1u);
        const fake::AudioSet& set = sim->audio.Sets()[0];
        EXPECT_EQ(set.kind, fake::AudioSet::Kind::Level);
        EXPECT_NEAR(set.level, c.level, 1e-6);
        EXPECT_EQ(set.accepted, c.accepted);
        EXPECT_EQ(sim->window.AppCommands(), windows8 ? c.steps : std::vector<int>{}) << windows8;
        EXPECT_EQ(sim->core.lastChangedKind, windows8 ? kChangedNothing : kChangedVolume) << windows8;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, VolumeTest,
    ::testing::Values(VolumeCase{"v 90", 0.9f, true, {kDown, kUp}}, VolumeCase{"v 51", 0.51f, true, {kDown, kUp}},
                      VolumeCase{"v 50", 0.5f, true, {kUp, kDown}}, VolumeCase{"v 0", 0.0f, true, {kUp, kDown}},
                      VolumeCase{"v 100", 1.0f, true, {kDown, kUp}},
                      VolumeCase{"v 150", 1.5f, false, {kDown, kUp}},  // passed on unchecked, refused
                      VolumeCase{"v 99999999999", 42949672.95f, false, {kDown, kUp}},
                      VolumeCase{"v + 10", 0.59999f, true, {kDown, kUp}},
                      VolumeCase{"v + 99999999999", 0.99999f, true, {kDown, kUp}},
                      VolumeCase{"v - 10", 0.40001f, true, {kUp, kDown}},
                      VolumeCase{"v - 99999999999", 0.00001f, true, {kUp, kDown}}));

TEST(Volume, MuteAndUnmuteInOrder) {
    auto sim = Seeded();
    sim->Run("m u m");
    const auto& sets = sim->audio.Sets();
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0].kind, fake::AudioSet::Kind::Mute);
    EXPECT_TRUE(sets[0].muted);
    EXPECT_FALSE(sets[1].muted);
    EXPECT_TRUE(sim->audio.Muted());
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
}

// x posts its command and the line goes on; q and z end the line (b 20 never runs).
TEST(Actions, ShutOffQuitAndRestart) {
    struct Case {
        const char* line;
        bool popupVisible;
        fake::PostedCommand posted;
        bool ending, restart, hiddenRestart;
        uint32_t brightness;
    };
    for (const Case& c : {Case{"x b 20", false, {id::kCmdShutMonitorsOff, 0}, false, false, false, 20},
                          Case{"q b 20", false, {id::kCmdExit, 1}, true, false, false, 70},
                          Case{"z b 20", false, {id::kCmdExit, 1}, false, true, true, 70},
                          Case{"z b 20", true, {id::kCmdExit, 1}, false, true, false, 70}}) {
        auto sim = Seeded();
        sim->view.SetVisible(c.popupVisible);
        sim->Run(c.line);
        EXPECT_EQ(sim->otherCommands, std::vector<fake::PostedCommand>{c.posted}) << c.line;
        EXPECT_EQ(sim->core.endingSession, c.ending) << c.line;
        EXPECT_EQ(sim->core.restartflag, c.restart) << c.line;
        EXPECT_EQ(sim->core.hiddenrestart, c.hiddenRestart) << c.line << " " << c.popupVisible;
        EXPECT_EQ(Hw(*sim, 0).brightness.current, c.brightness) << c.line;
    }
}

TEST(Actions, SummaryKindIsWhateverRanLast) {
    struct Case {
        const char* line;
        uint8_t kind;
    };
    for (const Case& c : {Case{"?", kChangedSummary}, Case{"b 20 ?", kChangedSummary},
                          Case{"? b 20", kChangedBrightness}, Case{"? c 20", kChangedContrast}}) {
        auto sim = Seeded();
        sim->Run(c.line);
        EXPECT_EQ(sim->core.lastChangedKind, c.kind) << c.line;
    }
}

TEST(Actions, QueriesAnswerTheSelectedMonitorsValue) {
    struct Case {
        const char* line;
        uint32_t value;
    };
    for (const Case& c : {Case{"d", 70}, Case{"e", 75}, Case{"2 d", 50}, Case{"2 e", 40}, Case{"d e", 75},
                          Case{"b 20 d", 20}, Case{"d b 20", 70}}) {
        auto sim = Seeded();
        CommandInterpreter(sim->core, c.line);
        EXPECT_TRUE(sim->core.queryFlag) << c.line;
        EXPECT_EQ(sim->core.queryValue, c.value) << c.line;
    }
}

TEST(Actions, UpperCaseLettersAreSkipped) {
    // Lines from outside are lower-cased first; the interpreter itself reads lower case only.
    auto sim = Seeded();
    CommandInterpreter(sim->core, "B D Q Z X V d");
    EXPECT_TRUE(sim->core.queryFlag) << "the line went on to the d";
    EXPECT_FALSE(sim->core.endingSession);
    EXPECT_FALSE(sim->core.restartflag);
    EXPECT_TRUE(sim->window.Commands().empty());
    EXPECT_TRUE(sim->audio.Sets().empty());
}

TEST(Actions, LetterThatNeedsAnArgumentAtTheEndOfTheLineDoesNothing) {
    for (const char* line : {"b", "c", "r", "g", "l", "i", "bl", "v", "k", "a", "p", "s", "t", "b+", "v-", "v +",
                             "a ", "p ", "s ", "d b", "d p", "d s"}) {
        auto sim = Seeded();
        const fake::Fleet before = sim->fleet;
        CommandInterpreter(sim->core, line);
        sim->Pump();
        EXPECT_EQ(sim->monitors.DdcCallCount(), 0u) << line;
        EXPECT_TRUE(sim->audio.Sets().empty()) << line;
        EXPECT_TRUE(sim->window.CopyDataSent().empty()) << line;
        EXPECT_TRUE(sim->window.AppCommands().empty()) << line;
        EXPECT_TRUE(sim->otherCommands.empty()) << line;
        EXPECT_EQ(sim->refreshRequests, 0) << line;
        EXPECT_TRUE(sim->fleet == before) << line;
        EXPECT_EQ(sim->core.table[0].brightnessLow, 0u) << line;
        EXPECT_FALSE(sim->core.toggleState) << line;
    }
}

TEST(Actions, LineEndsAtAZeroAndAfter2047Characters) {
    struct Case {
        std::string line;
        bool queried;
    };
    const Case cases[] = {
        {std::string("e\0d", 3), false},
        {std::string(2046, ' ') + "d", true},   // character 2047
        {std::string(2047, ' ') + "d", false},  // character 2048: beyond a command line
    };
    for (const Case& c : cases) {
        auto sim = Seeded();
        CommandInterpreter(sim->core, c.line);
        EXPECT_EQ(sim->core.queryFlag && sim->core.queryValue == 70, c.queried) << c.line.size();
    }
}

// t: one program-wide state flag chooses the half; the half runs as its own line.
TEST(Toggle, AlternatesBetweenTheHalvesAndTheSecondEndsAtTheThirdT) {
    auto sim = Seeded();
    const char* line = "t b 0 c 0 t b 90 c 80 t b 30";
    const uint32_t expected[][2] = {{0, 0}, {90, 80}, {0, 0}, {90, 80}};
    for (const auto& want : expected) {
        sim->Run(line);
        EXPECT_EQ(Hw(*sim, 0).brightness.current, want[0]);
        EXPECT_EQ(Hw(*sim, 0).contrast.current, want[1]);
    }
    EXPECT_FALSE(sim->core.toggleState);
    // Each half went through the copy-data path as source 1.
    ASSERT_EQ(sim->window.CopyDataSent().size(), 8u);
    EXPECT_EQ(sim->window.CopyDataSent()[1].source, kSourceInternal);
    EXPECT_EQ(std::string(sim->window.CopyDataSent()[1].data.c_str()), " b 0 c 0 ");
    EXPECT_EQ(std::string(sim->window.CopyDataSent()[3].data.c_str()), " b 90 c 80 ");

    // One state for all toggle lines: after this line's first half, another line runs its second.
    sim->Run(line);
    sim->Run("t c 10 t c 20");
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 20u);
}

TEST(Toggle, WithoutSeparatorTheRestRunsEveryTimeAndTheStateStays) {
    auto sim = Seeded();
    for (int run = 0; run < 2; ++run) {
        sim->Run("t b 10");
        EXPECT_EQ(Hw(*sim, 0).brightness.current, 10u) << run;
        EXPECT_FALSE(sim->core.toggleState);
        sim->Run("b 50");
    }
}

TEST(Toggle, CommandsBeforeItRunAndTheHalfWaitsForItsOwnRunCommand) {
    auto sim = Seeded();
    SubmitCommandLine(sim->core, "b 10 t b 20 t b 30", kSourceInternal);
    ASSERT_EQ(sim->window.Commands().size(), 1u);
    ASSERT_TRUE(sim->window.PopCommand());
    RunQueuedCommandLine(sim->core, kSourceInternal);
    EXPECT_EQ(test::BrightnessWrites(*sim), std::vector<std::string>{"mon=0 value=10"});
    EXPECT_EQ(sim->core.commandQueue.Size(), 1u);
    sim->Pump();
    EXPECT_EQ(test::BrightnessWrites(*sim), (std::vector<std::string>{"mon=0 value=10", "mon=0 value=20"}));
}

TEST(Toggle, ATInsideAnArgumentSplitsTheLine) {
    // "displayport1" holds a t: the halves are " s displaypor" and "1 ".
    auto sim = Seeded();
    sim->core.selectedMonitor = 1;
    sim->Run("t s displayport1 t s hdmi1");
    EXPECT_EQ(sim->core.table[1].pendingInput, 0);
    EXPECT_EQ(sim->refreshRequests, 0);
    EXPECT_EQ(sim->core.selectedMonitor, 1);
    EXPECT_TRUE(sim->core.toggleState);

    sim->Run("t s displayport1 t s hdmi1");
    EXPECT_EQ(sim->core.selectedMonitor, 0) << "the second half is the monitor number 1";
    EXPECT_EQ(sim->core.table[0].pendingInput, 0);
    EXPECT_FALSE(sim->core.toggleState);
}

TEST(Toggle, HalvesAreCutAt259Characters) {
    // The first half is " b 10", 251 blanks and "c 20 ": cut after 259 characters, "c 2" is left.
    auto sim = Seeded();
    sim->Run("t b 10" + std::string(251, ' ') + "c 20 t b 30");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 10u);
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 2u);
}

TEST(Toggle, EmptyHalvesRunNothing) {
    auto sim = Seeded();
    sim->Run("t");
    sim->Run("tt");
    sim->Run("t t");
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    EXPECT_EQ(sim->core.commandQueue.Size(), 0u);
}

}  // namespace
}  // namespace lv
