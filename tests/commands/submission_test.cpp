// Handing lines to the main thread: normalisation, the copy-data and hook paths, the
// queue of waiting lines, and the run command that executes them and answers queries.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "command_test_support.h"
#include "commands/command_queue.h"
#include "commands/submission.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

TEST(Normalise, GivesTheLineTheInterpreterSees) {
    const std::pair<std::string, std::string> cases[] = {
        {"B 20", "b 20"}, {"b=20", "b 20"}, {"b 20\tc\r\n30", "b 20 c  30"}, {"? + - ", "? + - "},
        {"P 6500K, S HDMI1!", "p 6500k  s hdmi1 "}, {"\xC3\xA9" "b\x7F" "1\x80", "  b 1 "},
        {"\"Dell U2720Q\" b 20", " dellu2720q  b 20"}, {"'Dell U2720Q' b 20", " dellu2720q  b 20"},
        {"\"a b' c d", " ab  c d"},              // closed by a quote of the other kind
        {"\"a b\" x \"c d\"", " ab  x  cd "},     // every span
        {"b 20 \"Dell U2720Q", "b 20  dell u2720q"},  // a quote without a partner
        {"\"\" b 5", "   b 5"}, {std::string("b 20\0c 30", 9), "b 20"}, {"", ""},
        // A quote must open within the first 260 characters; its partner may lie beyond.
        {Repeat('x', 259) + "\"a b\"", Repeat('x', 259) + " ab "},
        {Repeat('x', 260) + "\"a b\"", Repeat('x', 260) + " a b "},
        {Repeat('x', 250) + "\"a" + Repeat(' ', 20) + "b\"", Repeat('x', 250) + " ab "},
        {Repeat('b', 3000), Repeat('b', 2047)},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(NormaliseCommandLine(text), expected) << text.substr(0, 40);

    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    const std::string line = NormaliseCommandLine(all);
    EXPECT_EQ(line.size(), all.size());
    EXPECT_EQ(line.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789?+- "), std::string::npos);
}

TEST(Submit, SendsA2048ByteRecordWithItsSourceToTheOwnWindow) {
    for (const uint32_t source : {kSourceInternal, kSourceStartup, 2u, 4u, 77777u}) {
        auto sim = Seeded();
        SubmitCommandLine(sim->core, "B=20", source);
        ASSERT_EQ(sim->window.CopyDataSent().size(), 1u);
        const fake::CopyDataRecord& record = sim->window.CopyDataSent()[0];
        EXPECT_EQ(record.source, source);
        ASSERT_EQ(record.data.size(), kCommandBufferSize);
        EXPECT_EQ(record.data.substr(0, 5), std::string("b 20\0", 5));
        EXPECT_EQ(record.data.find_first_not_of('\0', 4), std::string::npos) << "zero-filled behind the text";
        // The window only queued it: it runs when the posted command is dispatched.
        EXPECT_EQ(sim->window.Commands(),
                  (std::deque<fake::PostedCommand>{{id::kCmdRunCommandLine, static_cast<intptr_t>(source)}}));
        EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
        sim->Pump();
        EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u) << source;
    }
}

TEST(Submit, EmptyTextIsNotSubmitted) {
    auto sim = Seeded();
    SubmitCommandLine(sim->core, "", kSourceInternal);
    SubmitCommandLine(sim->core, std::string_view("\0b 20", 5), kSourceInternal);
    SubmitCommandLine(sim->core, "", kSourceHook);
    EXPECT_TRUE(sim->window.CopyDataSent().empty());
    EXPECT_TRUE(sim->window.Commands().empty());
    EXPECT_EQ(sim->core.commandQueue.Size(), 0u);
}

TEST(Submit, QuotedNameWithSpacesIsOneWord) {
    // Read apart, "orion24" would select row 1 and the "3" then stop the line at the silent row 3.
    auto sim = Seeded();
    sim->Run("\"ORION24 3\" b 10", 5000);
    EXPECT_EQ(sim->core.selectedMonitor, 1);
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 26u);  // 20 + MulDiv(10, 60, 100)
}

TEST(Submit, HookLinesArePostedNotSent) {
    auto sim = Seeded();
    SubmitCommandLine(sim->core, "B 20", kSourceHook);
    EXPECT_TRUE(sim->window.CopyDataSent().empty());
    EXPECT_EQ(sim->window.Commands(), (std::deque<fake::PostedCommand>{{id::kCmdRunCommandLine, 1}}));
    ASSERT_EQ(sim->core.commandQueue.Size(), 1u);
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    sim->Pump();
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u);
}

// The fault a single shared buffer had: a second hand-off overwrote a line not yet run.
TEST(Queue, LinesSubmittedBeforeEitherRunsBothRunInOrder) {
    auto sim = Seeded();
    SubmitCommandLine(sim->core, "b 20", kSourceInternal);
    SubmitCommandLine(sim->core, "b 30", kSourceHook);
    SubmitCommandLine(sim->core, "2 b 45", 5000);
    EXPECT_EQ(sim->core.commandQueue.Size(), 3u);
    EXPECT_EQ(sim->window.Commands().size(), 3u);
    sim->Pump();
    EXPECT_EQ(test::BrightnessWrites(*sim),
              (std::vector<std::string>{"mon=0 value=20", "mon=0 value=30", "mon=1 value=47"}));
    EXPECT_EQ(sim->core.commandQueue.Size(), 0u);
    ASSERT_EQ(sim->window.ThreadAnswers().size(), 1u) << "only the forwarded line is answered";
    EXPECT_EQ(sim->window.ThreadAnswers()[0].threadId, 5000u);
}

TEST(Queue, HoldsAtMost256LinesAndPostsOnlyForThoseKept) {
    auto sim = Seeded();
    for (int i = 0; i < 300; ++i) SubmitCommandLine(sim->core, "d", kSourceInternal);
    EXPECT_EQ(sim->core.commandQueue.Size(), CommandQueue::kMaxPending);
    EXPECT_EQ(sim->window.Commands().size(), CommandQueue::kMaxPending);
    sim->Pump();
    EXPECT_EQ(sim->core.commandQueue.Size(), 0u);
    SubmitCommandLine(sim->core, "b 20", kSourceHook);
    sim->Pump();
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u) << "room again once drained";
}

TEST(Queue, PushCutsOverlongTextAndAnEmptyQueueRunsNothing) {
    CommandQueue queue;
    EXPECT_FALSE(queue.Pop());
    EXPECT_TRUE(queue.Push({std::string(5000, 'x'), 7}));
    EXPECT_EQ(queue.Pop()->text.size(), kMaxCommandLine);

    auto sim = Seeded();
    RunQueuedCommandLine(sim->core, 5000);
    EXPECT_TRUE(sim->window.ThreadAnswers().empty());
    EXPECT_TRUE(sim->window.Commands().empty());
}

std::string Padded(std::string text, std::size_t size) {
    text.resize(size, '\0');
    return text;
}

// Copy-data records come from any process: the handler only queues, the line runs later.
TEST(CopyData, QueuesOnlyWhatIsACommandLine) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"", std::nullopt},
        {Padded("b 20", 2049), std::nullopt},  // larger than a record
        {Padded("b 20", 2048), "b 20"},
        {"b 20", "b 20"},
        {Padded("", 16), ""},
        {std::string("b 20\0c 30", 9), "b 20"},  // ends at the first zero
        {std::string(2048, 'w'), std::string(2047, 'w')},
        {std::string(2047, 'w'), std::string(2047, 'w')},
        {"B\x01\xFF" "20\t\"x y\"=\x80?+-", "b  20  x y   ?+-"},  // normalised, quotes not joined
    };
    for (const auto& [bytes, line] : cases) {
        auto sim = Seeded();
        OnCopyData(sim->core, 5000, bytes.data(), bytes.size());
        EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
        const std::optional<QueuedLine> queued = sim->core.commandQueue.Pop();
        EXPECT_EQ(queued ? std::optional(queued->text) : std::nullopt, line) << bytes.size() << " bytes";
        if (!line) {
            EXPECT_TRUE(sim->window.Commands().empty());
            continue;
        }
        EXPECT_EQ(queued->source, 5000u);
        EXPECT_EQ(sim->window.Commands(), (std::deque<fake::PostedCommand>{{id::kCmdRunCommandLine, 5000}}));
    }
    auto sim = Seeded();
    OnCopyData(sim->core, 5000, nullptr, 2048);
    EXPECT_EQ(sim->core.commandQueue.Size(), 0u);
}

// The text of a record on its own, before the queue cuts anything: at most 2047
// characters, up to the first zero, not yet normalised.
TEST(CopyData, TextOfARecord) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {std::string(2048, 'w'), std::string(2047, 'w')},
        {std::string(2049, 'w'), std::nullopt},
        {std::string(100, 'w') + '\0' + std::string(1947, 'v'), std::string(100, 'w')},
        {"B=20", "B=20"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(CommandLineFromCopyData(bytes.data(), bytes.size()), text) << bytes.size() << " bytes";
    }
}

// The run command.
TEST(RunCommand, OnlyAStartUpQueryEndsWithARestartingExit) {
    auto sim = Seeded();
    sim->Run("d", kSourceInternal);  // sets the flag on an earlier line
    sim->Run("b 20", kSourceStartup);
    EXPECT_FALSE(sim->core.restartflag);
    EXPECT_TRUE(sim->otherCommands.empty());

    sim->Run("d", kSourceStartup);
    EXPECT_TRUE(sim->core.restartflag);
    EXPECT_EQ(sim->otherCommands, (std::vector<fake::PostedCommand>{{id::kCmdExit, 1}}));
    EXPECT_TRUE(sim->window.ThreadAnswers().empty());
    EXPECT_EQ(sim->core.queryValue, 20u);
}

TEST(RunCommand, OnlyForwardingStartsAreAnswered) {
    struct Case {
        uint32_t source;
        bool answered;
    };
    for (const Case& c : {Case{kSourceStartup, false}, Case{kSourceInternal, false}, Case{2, false}, Case{3, false},
                          Case{4, true}, Case{4242, false} /* the own thread */, Case{5000, true}}) {
        auto sim = Seeded();
        sim->core.mainThreadId = 4242;
        const std::string record = Padded("e", 2048);
        OnCopyData(sim->core, c.source, record.data(), record.size());
        sim->Pump();
        if (c.answered) {
            EXPECT_EQ(sim->window.ThreadAnswers(), (std::vector<fake::ThreadAnswer>{{c.source, 75}})) << c.source;
        } else {
            EXPECT_TRUE(sim->window.ThreadAnswers().empty()) << c.source;
        }
    }
}

TEST(RunCommand, QueryValuePersistsBetweenLines) {
    auto sim = Seeded();
    sim->Run("b 10", 5000);
    sim->Run("d", kSourceInternal);
    sim->Run("b 30", 5001);
    sim->Run("", 5002);  // empty text is never submitted
    const std::string empty = Padded("", 2048);
    OnCopyData(sim->core, 5003, empty.data(), empty.size());
    sim->Pump();
    EXPECT_EQ(sim->window.ThreadAnswers(),
              (std::vector<fake::ThreadAnswer>{{5000, 0}, {5001, 10}, {5003, 10}}));
}

TEST(RunCommand, AnswerIsSentAfterTheWholeLineEvenAStoppedOne) {
    for (const auto& [line, answer] : {std::pair{"d 2 d b 20", 50u}, std::pair{"d nosuch e", 70u}}) {
        auto sim = Seeded();
        sim->Run(line, 5000);
        EXPECT_EQ(sim->window.ThreadAnswers(), (std::vector<fake::ThreadAnswer>{{5000, answer}})) << line;
    }
}

TEST(RunCommand, RereadRefreshesBeforeInternalLinesOnly) {
    struct Case {
        bool reread;
        uint32_t source;
        int refreshes;
    };
    for (const Case& c : {Case{true, kSourceInternal, 1}, Case{true, kSourceHook, 1}, Case{true, kSourceStartup, 0},
                          Case{true, 5000, 0}, Case{false, kSourceInternal, 0}}) {
        auto sim = Seeded();
        sim->core.settings.rereadvalues = c.reread;
        std::size_t ddcAtRefresh = 99;
        sim->core.refreshPopup = [&](int show) {
            EXPECT_EQ(show, 0);
            ddcAtRefresh = sim->monitors.DdcCallCount();
            ++sim->refreshRequests;
        };
        sim->Run("b 20", c.source);
        EXPECT_EQ(sim->refreshRequests, c.refreshes) << c.source;
        if (c.refreshes) {
            EXPECT_EQ(ddcAtRefresh, 0u) << "refreshed before the line ran";
        }
        EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u);
    }
}

TEST(RunCommand, RereadLetsTheLineSeeAChangeMadeAtTheMonitor) {
    auto sim = Seeded();
    sim->core.settings.rereadvalues = true;
    Hw(*sim, 0).brightness.current = 100;  // turned up with the monitor's buttons
    sim->Run("b + 6");
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorBrightness"), 0u) << "already at the top";
    EXPECT_EQ(sim->core.table[0].brightness, 100u);
}

}  // namespace
}  // namespace lv
