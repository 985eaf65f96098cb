// v, m, u, x, q, z, d, e, ? and the toggle t.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "command_test_support.h"
#include "commands/interpreter.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

constexpr int kDown = win::kAppCommandVolumeDown;
constexpr int kUp = win::kAppCommandVolumeUp;

// Windows 8 and later show their own indicator when stepped; before, the program does.
TEST(Volume, SetsTheLevelAndShowsTheIndicator) {
    // The line, the level set, whether the endpoint takes it, the steps on Windows 8 and later.
    const std::tuple<const char*, float, bool, std::vector<int>> cases[] = {
        {"v 51", 0.51f, true, {kDown, kUp}}, {"v 50", 0.5f, true, {kUp, kDown}},
        {"v 150", 1.5f, false, {kDown, kUp}},  // passed on unchecked, refused
        {"v + 99999999999", 0.99999f, true, {kDown, kUp}}, {"v - 10", 0.40001f, true, {kUp, kDown}}};
    for (const auto& [line, level, accepted, steps] : cases) {
        for (const bool windows8 : {true, false}) {
            auto sim = Seeded();
            sim->system.SetWindows8OrLater(windows8);
            sim->core.volume.volumePercent = 50;
            sim->Run(line);
            ASSERT_EQ(sim->audio.Sets().size(), 1u);
            const sim::AudioSet& set = sim->audio.Sets()[0];
            EXPECT_EQ(set.kind, sim::AudioSet::Kind::Level);
            EXPECT_NEAR(set.level, level, 1e-6) << line;
            EXPECT_EQ(set.accepted, accepted) << line;
            EXPECT_EQ(sim->window.AppCommands(), windows8 ? steps : std::vector<int>{}) << line;
            EXPECT_EQ(sim->core.lastChangedKind, windows8 ? ChangeKind::Nothing : ChangeKind::Volume) << windows8;
        }
    }
    auto sim = Seeded();
    sim->Run("m u m");
    ASSERT_EQ(sim->audio.Sets().size(), 3u);
    EXPECT_EQ(sim->audio.Sets()[0].kind, sim::AudioSet::Kind::Mute);
    EXPECT_FALSE(sim->audio.Sets()[1].muted);
    EXPECT_TRUE(sim->audio.Muted());
}

// x posts its command and the line goes on; q and z end the line (b 20 never runs).
TEST(Actions, ShutOffQuitAndRestart) {
    const std::tuple<const char*, bool, sim::PostedCommand, bool, bool, bool, uint32_t> cases[] = {
        {"x b 20", false, {res::kMonitorsOff, 0}, false, false, false, 20},
        {"q b 20", false, {res::kExit, 1}, true, false, false, 70},
        {"z b 20", false, {res::kExit, 1}, false, true, true, 70},
        {"z b 20", true, {res::kExit, 1}, false, true, false, 70}};
    for (const auto& [line, popupVisible, posted, ending, restart, hiddenRestart, brightness] : cases) {
        SCOPED_TRACE(std::string(line) + (popupVisible ? ", popup shown" : ""));
        auto sim = Seeded();
        sim->view.SetVisible(popupVisible);
        sim->Run(line);
        EXPECT_EQ(sim->otherCommands, std::vector<sim::PostedCommand>{posted});
        EXPECT_EQ(sim->core.endingSession, ending);
        EXPECT_EQ(sim->core.restartflag, restart);
        EXPECT_EQ(sim->core.hiddenrestart, hiddenRestart);
        EXPECT_EQ(Hw(*sim, 0).brightness.current, brightness);
    }
}

// Queries answer the selected monitor's value; "?" is a kind of its own. A line ends at a
// zero and after 2047 characters; upper case is never read (lines from outside are
// lower-cased first).
TEST(Actions, QueriesSummaryAndWhereALineEnds) {
    const std::tuple<std::string, std::optional<uint32_t>, ChangeKind> cases[] = {
        {"d", 70, ChangeKind::Nothing}, {"2 e", 40, ChangeKind::Nothing}, {"d e", 75, ChangeKind::Nothing},
        {"b 20 d", 20, ChangeKind::Brightness}, {"b 20 ?", std::nullopt, ChangeKind::Summary},
        {"? c 20", std::nullopt, ChangeKind::Contrast}, {"B D Q Z X V d", 70, ChangeKind::Nothing},
        {std::string("e\0d", 3), 75, ChangeKind::Nothing},
        {std::string(2046, ' ') + "d", 70, ChangeKind::Nothing},            // character 2047
        {std::string(2047, ' ') + "d", std::nullopt, ChangeKind::Nothing},  // character 2048: beyond a line
    };
    for (const auto& [line, answer, kind] : cases) {
        SCOPED_TRACE(line.substr(0, 20));
        auto sim = Seeded();
        CommandInterpreter(sim->core, line);
        EXPECT_EQ(sim->core.queryFlag ? std::optional(sim->core.queryValue) : std::nullopt, answer);
        EXPECT_EQ(sim->core.lastChangedKind, kind);
        EXPECT_FALSE(sim->core.endingSession);
        EXPECT_TRUE(sim->window.Commands().empty());
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
    // Each half went through the copy-data path as source 1.
    ASSERT_EQ(sim->window.CopyDataSent().size(), 8u);
    EXPECT_EQ(sim->window.CopyDataSent()[1].source, kSourceInternal);
    EXPECT_EQ(std::string(sim->window.CopyDataSent()[1].data.c_str()), " b 0 c 0 ");

    // One state for all toggle lines: after this line's first half, another line runs its second.
    sim->Run(line);
    sim->Run("t c 10 t c 20");
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 20u);
    // Without a separator the rest runs every time and the state stays.
    sim->Run("t b 10");
    sim->Run("b 50 t b 10");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 10u);
    EXPECT_FALSE(sim->core.toggleState);
}

TEST(Toggle, CommandsBeforeItRunAndTheHalfWaitsForItsOwnRunCommand) {
    auto sim = Seeded();
    SubmitCommandLine(sim->core, "b 10 t b 20 t b 30", kSourceInternal);
    ASSERT_TRUE(sim->window.PopCommand());
    RunQueuedCommandLine(sim->core, kSourceInternal);
    EXPECT_EQ(test::BrightnessWrites(*sim), std::vector<std::string>{"mon=0 value=10"});
    sim->Pump();
    EXPECT_EQ(test::BrightnessWrites(*sim), (std::vector<std::string>{"mon=0 value=10", "mon=0 value=20"}));
}

TEST(Toggle, HalvesAreCutAt259Characters) {
    // The first half is " b 10", 251 blanks and "c 20 ": cut after 259 characters, "c 2" is left.
    auto sim = Seeded();
    sim->Run("t b 10" + std::string(251, ' ') + "c 20 t b 30");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 10u);
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 2u);
    sim->Run("tt");
    sim->Run("t t");
    EXPECT_EQ(sim->core.commandQueue.Size(), 0u);
}

}  // namespace
}  // namespace lv
