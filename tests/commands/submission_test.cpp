// Handing lines to the main thread: normalisation, the copy-data and hook paths, the
// queue of waiting lines, and the run command that executes them and answers queries.
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "command_test_support.h"
#include "commands/submission.h"
#include "core/command_queue.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

std::string Padded(std::string text, std::size_t size) {
    text.resize(size, '\0');
    return text;
}

TEST(Normalise, GivesTheLineTheInterpreterSees) {
    const std::pair<std::string, std::string> cases[] = {
        {"B 20", "b 20"}, {"b 20\tc\r\n30", "b 20 c  30"}, {"P 6500K, S HDMI1!", "p 6500k  s hdmi1 "},
        {"\xC3\xA9" "b\x7F" "1\x80", "  b 1 "},  // bytes above 0x7F are not letters
        {"\"Dell U2720Q\" b 20", " dellu2720q  b 20"}, {"\"a b' c d", " ab  c d"},
        {"\"a b\" x \"c d\"", " ab  x  cd "}, {"b 20 \"Dell U2720Q", "b 20  dell u2720q"},
        {std::string("b 20\0c 30", 9), "b 20"},
        // A quote must open within the first 260 characters; its partner may lie beyond.
        {std::string(259, 'x') + "\"a b\"", std::string(259, 'x') + " ab "},
        {std::string(260, 'x') + "\"a b\"", std::string(260, 'x') + " a b "},
        {std::string(3000, 'b'), std::string(2047, 'b')},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(NormaliseCommandLine(text), expected) << text.substr(0, 40);

    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    const std::string line = NormaliseCommandLine(all);
    EXPECT_EQ(line.size(), all.size());
    EXPECT_EQ(line.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789?+- "), std::string::npos);
}

TEST(Submit, SendsA2048ByteRecordHookLinesArePostedEmptyTextNothing) {
    auto sim = Seeded();
    SubmitCommandLine(sim->core, "B=20", 77777);
    ASSERT_EQ(sim->window.CopyDataSent().size(), 1u);
    EXPECT_EQ(sim->window.CopyDataSent()[0].source, 77777u);
    EXPECT_EQ(sim->window.CopyDataSent()[0].data, Padded("b 20", kCommandBufferSize)) << "normalised, zero-filled";
    EXPECT_EQ(sim->window.Commands(), (std::deque<sim::PostedCommand>{{res::kRunCommandBuffer, 77777}}));
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u) << "only queued";

    auto hook = Seeded();
    SubmitCommandLine(hook->core, "", kSourceInternal);
    SubmitCommandLine(hook->core, std::string_view("\0b 20", 5), kSourceInternal);
    SubmitCommandLine(hook->core, "B 20", kSourceHook);
    EXPECT_TRUE(hook->window.CopyDataSent().empty());
    EXPECT_EQ(hook->window.Commands(), (std::deque<sim::PostedCommand>{{res::kRunCommandBuffer, 1}}));
    hook->Pump();
    EXPECT_EQ(Hw(*hook, 0).brightness.current, 20u);
}

// The fault a single shared buffer had: a second hand-off overwrote a line not yet run.
TEST(Queue, LinesSubmittedBeforeEitherRunsBothRunInOrder) {
    auto sim = Seeded();
    SubmitCommandLine(sim->core, "b 20", kSourceInternal);
    SubmitCommandLine(sim->core, "b 30", kSourceHook);
    SubmitCommandLine(sim->core, "2 b 45", 5000);
    EXPECT_EQ(sim->core.commandQueue.Size(), 3u);
    sim->Pump();
    EXPECT_EQ(test::BrightnessWrites(*sim),
              (std::vector<std::string>{"mon=0 value=20", "mon=0 value=30", "mon=1 value=47"}));
}

TEST(Queue, HoldsAtMost256LinesAndPostsOnlyForThoseKept) {
    auto sim = Seeded();
    for (int i = 0; i < 300; ++i) SubmitCommandLine(sim->core, "d", kSourceInternal);
    EXPECT_EQ(sim->core.commandQueue.Size(), CommandQueue::kMaxPending);
    EXPECT_EQ(sim->window.Commands().size(), CommandQueue::kMaxPending);
    sim->Pump();
    SubmitCommandLine(sim->core, "b 20", kSourceHook);
    sim->Pump();
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u) << "room again once drained";
}

// Copy-data records come from any process: the handler only queues, the line runs later.
TEST(CopyData, QueuesOnlyWhatIsACommandLine) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"", std::nullopt},
        {Padded("b 20", 2049), std::nullopt},  // larger than a record
        {Padded("b 20", 2048), "b 20"},
        {std::string("b 20\0c 30", 9), "b 20"},  // ends at the first zero
        {std::string(2048, 'w'), std::string(2047, 'w')},
        {"B\x01\xFF" "20\t\"x y\"=\x80?+-", "b  20  x y   ?+-"},  // normalised, quotes not joined
    };
    for (const auto& [bytes, line] : cases) {
        auto sim = Seeded();
        EXPECT_EQ(OnCopyData(sim->core, 5000, bytes.data(), bytes.size()), line.has_value());
        EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
        EXPECT_EQ(sim->window.Commands().size(), line ? 1u : 0u) << "a run command for each line queued";
        const std::optional<QueuedLine> queued = sim->core.commandQueue.Pop();
        EXPECT_EQ(queued ? std::optional(queued->text) : std::nullopt, line) << bytes.size() << " bytes";
        EXPECT_EQ(queued ? queued->source : 5000u, 5000u);
    }
    auto sim = Seeded();
    OnCopyData(sim->core, 5000, nullptr, 2048);
    EXPECT_EQ(sim->core.commandQueue.Size(), 0u);
}

// Once the exit is on its way the line would never run: another start is told so and looks
// for the successor; the program's own lines are queued as before.
TEST(CopyData, AnInstanceOnItsWayOutTakesNoLineFromAnotherStart) {
    const std::function<void(Core&)> states[] = {
        [](Core&) {},
        [](Core& core) { core.restartflag = true; },
        [](Core& core) { core.endingSession = true; },
        [](Core& core) { core.enumeration.closing = true; },
    };
    for (const auto& state : states) {
        const bool running = &state == &states[0];
        for (const uint32_t source : {kSourceInternal, 5000u}) {
            auto sim = Seeded();
            state(sim->core);
            const std::string record = Padded("b 20", 2048);
            const bool taken = running || source == kSourceInternal;
            EXPECT_EQ(OnCopyData(sim->core, source, record.data(), record.size()), taken) << source;
            EXPECT_EQ(sim->core.commandQueue.Size(), taken ? 1u : 0u);
            EXPECT_EQ(sim->window.Commands().size(), taken ? 1u : 0u);
        }
    }
}

TEST(RunCommand, OnlyAStartUpQueryEndsWithARestartingExit) {
    auto sim = Seeded();
    sim->Run("d", kSourceInternal);  // sets the flag on an earlier line
    sim->Run("b 20", kSourceStartup);
    EXPECT_FALSE(sim->core.restartflag);
    EXPECT_TRUE(sim->otherCommands.empty());

    sim->Run("d", kSourceStartup);
    EXPECT_TRUE(sim->core.restartflag);
    EXPECT_EQ(sim->otherCommands, (std::vector<sim::PostedCommand>{{res::kExit, 1}}));
    EXPECT_TRUE(sim->window.ThreadAnswers().empty());
    EXPECT_EQ(sim->core.queryValue, 20u);
}

TEST(RunCommand, OnlyForwardingStartsAreAnswered) {
    for (const uint32_t source : {kSourceStartup, kSourceInternal, 2u, 3u, 4u, 4242u /* own thread */, 5000u}) {
        auto sim = Seeded();
        sim->core.mainThreadId = 4242;
        const std::string record = Padded("e", 2048);
        OnCopyData(sim->core, source, record.data(), record.size());
        sim->Pump();
        const bool answered = source == 4 || source == 5000;
        const std::vector<sim::ThreadAnswer> expected =
            answered ? std::vector<sim::ThreadAnswer>{{source, 75}} : std::vector<sim::ThreadAnswer>{};
        EXPECT_EQ(sim->window.ThreadAnswers(), expected) << source;
    }
}

// The value persists between lines; the answer follows the whole line, even a stopped one.
TEST(RunCommand, AnswerIsTheLastQueryAfterTheWholeLine) {
    auto sim = Seeded();
    sim->Run("b 10", 5000);
    sim->Run("d", kSourceInternal);
    sim->Run("b 30", 5001);
    sim->Run("d nosuch e", 5002);
    sim->Run("d 2 d b 20", 5003);
    EXPECT_EQ(sim->window.ThreadAnswers(),
              (std::vector<sim::ThreadAnswer>{{5000, 0}, {5001, 10}, {5002, 30}, {5003, 50}}));
}

TEST(RunCommand, RereadRefreshesBeforeInternalLinesOnly) {
    // The setting, the line's source and the refreshes before it runs.
    const std::tuple<bool, uint32_t, int> cases[] = {
        {true, kSourceHook, 1}, {true, kSourceStartup, 0}, {true, 5000, 0}, {false, kSourceInternal, 0}};
    for (const auto& [reread, source, expected] : cases) {
        auto sim = Seeded();
        sim->core.settings.rereadvalues = reread;
        std::size_t ddcAtRefresh = 99;
        int refreshes = 0;
        sim->core.actions.refreshPopup = [&](int) {
            ddcAtRefresh = sim->monitors.DdcCallCount();
            ++refreshes;
        };
        sim->Run("b 20", source);
        EXPECT_EQ(refreshes, expected) << source;
        if (expected) {
            EXPECT_EQ(ddcAtRefresh, 0u) << "refreshed before the line ran";
        }
    }
    auto sim = Seeded();
    sim->core.settings.rereadvalues = true;
    Hw(*sim, 0).brightness.current = 100;  // turned up with the monitor's buttons
    sim->Run("b + 6");
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorBrightness"), 0u) << "already at the top";
}

}  // namespace
}  // namespace lv
