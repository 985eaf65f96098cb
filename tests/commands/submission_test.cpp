// Handing lines to the main thread: normalisation, the copy-data and hook paths, the
// queue of waiting lines, and the run command that executes them and answers queries.
#include <gtest/gtest.h>

#include <ostream>
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

constexpr std::string_view kDesk = R"(
[display]
friendly = NOVA U27
[monitor]
brightness = 0 70 100
contrast = 0 75 100

[display]
friendly = DELL U2720Q
[monitor]
brightness = 0 40 100
)";

struct NormaliseCase {
    std::string text;
    std::string expected;
};

void PrintTo(const NormaliseCase& c, std::ostream* os) {
    *os << "\"" << c.text.substr(0, 40) << "\" (" << c.text.size() << " chars)";
}

class NormaliseTest : public ::testing::TestWithParam<NormaliseCase> {};

TEST_P(NormaliseTest, GivesTheLineTheInterpreterSees) {
    EXPECT_EQ(NormaliseCommandLine(GetParam().text), GetParam().expected);
}

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

INSTANTIATE_TEST_SUITE_P(
    Texts, NormaliseTest,
    ::testing::Values(
        NormaliseCase{"B 20", "b 20"}, NormaliseCase{"b=20", "b 20"}, NormaliseCase{"b 20\tc\r\n30", "b 20 c  30"},
        NormaliseCase{"? + - ", "? + - "}, NormaliseCase{"P 6500K, S HDMI1!", "p 6500k  s hdmi1 "},
        NormaliseCase{"\"Dell U2720Q\" b 20", " dellu2720q  b 20"},
        NormaliseCase{"'Dell U2720Q' b 20", " dellu2720q  b 20"},
        NormaliseCase{"\"a b' c d", " ab  c d"},           // closed by a quote of the other kind
        NormaliseCase{"\"a b\" x \"c d\"", " ab  x  cd "},  // every span
        NormaliseCase{"b 20 \"Dell U2720Q", "b 20  dell u2720q"},  // a quote without a partner
        NormaliseCase{"\"\" b 5", "   b 5"},
        NormaliseCase{std::string("b 20\0c 30", 9), "b 20"},  // ends at a zero
        NormaliseCase{"\xC3\xA9" "b\x7F" "1\x80", "  b 1 "},
        // A quote must open within the first 260 characters; its partner may lie beyond.
        NormaliseCase{Repeat('x', 259) + "\"a b\"", Repeat('x', 259) + " ab "},
        NormaliseCase{Repeat('x', 260) + "\"a b\"", Repeat('x', 260) + " a b "},
        NormaliseCase{Repeat('x', 250) + "\"a" + Repeat(' ', 20) + "b\"", Repeat('x', 250) + " ab "},
        NormaliseCase{Repeat('b', 3000), Repeat('b', 2047)},
        NormaliseCase{"", ""}));

TEST(Normalise, OnlyAllowedCharactersSurvive) {
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    const std::string line = NormaliseCommandLine(all);
    ASSERT_EQ(line.size(), all.size());
    for (char c : line) {
        const bool allowed =
            (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '?' || c == '+' || c == '-' || c == ' ';
        EXPECT_TRUE(allowed) << static_cast<int>(static_cast<unsigned char>(c));
    }
}

TEST(Submit, SourceOneSendsA2048ByteRecordToTheOwnWindow) {
    auto sim = Seeded(kDesk);
    SubmitCommandLine(sim->core, "B=20", kSourceInternal);
    ASSERT_EQ(sim->window.CopyDataSent().size(), 1u);
    const fake::CopyDataRecord& record = sim->window.CopyDataSent()[0];
    EXPECT_EQ(record.source, kSourceInternal);
    ASSERT_EQ(record.data.size(), kCommandBufferSize);
    EXPECT_EQ(record.data.substr(0, 5), std::string("b 20\0", 5));
    EXPECT_EQ(record.data.find_first_not_of('\0', 4), std::string::npos) << "zero-filled behind the text";
    // The window only queued it: it runs when the posted command is dispatched.
    EXPECT_EQ(sim->window.Commands(), (std::deque<fake::PostedCommand>{{id::kCmdRunCommandLine, 1}}));
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    sim->Pump();
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u);
}

TEST(Submit, SourceTravelsWithTheRecord) {
    for (const uint32_t source : {kSourceStartup, 2u, 4u, 77777u}) {
        auto sim = Seeded(kDesk);
        SubmitCommandLine(sim->core, "d", source);
        ASSERT_EQ(sim->window.CopyDataSent().size(), 1u);
        EXPECT_EQ(sim->window.CopyDataSent()[0].source, source);
        EXPECT_EQ(sim->window.Commands(),
                  (std::deque<fake::PostedCommand>{{id::kCmdRunCommandLine, static_cast<intptr_t>(source)}}));
    }
}

TEST(Submit, EmptyTextIsNotSubmitted) {
    auto sim = Seeded(kDesk);
    SubmitCommandLine(sim->core, "", kSourceInternal);
    SubmitCommandLine(sim->core, std::string_view("\0b 20", 5), kSourceInternal);
    SubmitCommandLine(sim->core, "", kSourceHook);
    EXPECT_TRUE(sim->window.CopyDataSent().empty());
    EXPECT_TRUE(sim->window.Commands().empty());
    EXPECT_EQ(sim->core.commandQueue.Size(), 0u);
}

TEST(Submit, LongLineArrivesCutTo2047Characters) {
    auto sim = Seeded(kDesk);
    SubmitCommandLine(sim->core, std::string(3000, 'w'), kSourceInternal);
    ASSERT_EQ(sim->window.CopyDataSent().size(), 1u);
    const std::string& data = sim->window.CopyDataSent()[0].data;
    ASSERT_EQ(data.size(), kCommandBufferSize);
    EXPECT_EQ(std::string(data.c_str()).size(), kMaxCommandLine);
    const std::optional<QueuedLine> queued = sim->core.commandQueue.Pop();
    ASSERT_TRUE(queued);
    EXPECT_EQ(queued->text, std::string(2047, 'w'));
}

TEST(Submit, QuotedNameWithSpacesSelectsThatMonitor) {
    auto sim = Seeded(kDesk);
    sim->Run("\"DELL U2720Q\" b 10", 5000);
    EXPECT_EQ(sim->core.selectedMonitor, 1);
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 10u);
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 70u);
}

TEST(Submit, HookLinesArePostedNotSent) {
    auto sim = Seeded(kDesk);
    SubmitCommandLine(sim->core, "B 20", kSourceHook);
    EXPECT_TRUE(sim->window.CopyDataSent().empty());
    EXPECT_EQ(sim->window.Commands(), (std::deque<fake::PostedCommand>{{id::kCmdRunCommandLine, 1}}));
    ASSERT_EQ(sim->core.commandQueue.Size(), 1u);
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    sim->Pump();
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u);
}

TEST(Submit, HookLinesRunWithTheRefreshRuleOfSourceOne) {
    auto sim = Seeded(kDesk);
    sim->core.settings.rereadvalues = true;
    sim->Run("b 20", kSourceHook);
    EXPECT_EQ(sim->refreshRequests, 1);
}

// The fault a single shared buffer had: a second hand-off overwrote a line not yet run.
TEST(Queue, LinesSubmittedBeforeEitherRunsBothRunInOrder) {
    auto sim = Seeded(kDesk);
    SubmitCommandLine(sim->core, "b 20", kSourceInternal);
    SubmitCommandLine(sim->core, "b 30", kSourceHook);
    SubmitCommandLine(sim->core, "2 b 45", 5000);
    EXPECT_EQ(sim->core.commandQueue.Size(), 3u);
    EXPECT_EQ(sim->window.Commands().size(), 3u);
    sim->Pump();
    EXPECT_EQ(test::BrightnessWrites(*sim),
              (std::vector<std::string>{"mon=0 value=20", "mon=0 value=30", "mon=1 value=45"}));
    EXPECT_EQ(sim->core.commandQueue.Size(), 0u);
    ASSERT_EQ(sim->window.ThreadAnswers().size(), 1u) << "only the forwarded line is answered";
    EXPECT_EQ(sim->window.ThreadAnswers()[0].threadId, 5000u);
}

TEST(Queue, HoldsAtMost256LinesAndPostsOnlyForThoseKept) {
    auto sim = Seeded(kDesk);
    for (int i = 0; i < 300; ++i) SubmitCommandLine(sim->core, "d", kSourceInternal);
    EXPECT_EQ(sim->core.commandQueue.Size(), CommandQueue::kMaxPending);
    EXPECT_EQ(sim->window.Commands().size(), CommandQueue::kMaxPending);
    sim->Pump();
    EXPECT_EQ(sim->core.commandQueue.Size(), 0u);
    SubmitCommandLine(sim->core, "b 20", kSourceHook);
    sim->Pump();
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u) << "room again once drained";
}

TEST(Queue, PushCutsOverlongTextAndPopKeepsOrder) {
    CommandQueue queue;
    EXPECT_FALSE(queue.Pop());
    EXPECT_TRUE(queue.Push({std::string(5000, 'x'), 7}));
    EXPECT_TRUE(queue.Push({"b 1", 1}));
    const auto first = queue.Pop();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text.size(), kMaxCommandLine);
    EXPECT_EQ(first->source, 7u);
    EXPECT_EQ(queue.Pop()->text, "b 1");
    EXPECT_EQ(queue.Size(), 0u);
}

TEST(Queue, RunCommandWithNothingQueuedDoesNothing) {
    auto sim = Seeded(kDesk);
    RunQueuedCommandLine(sim->core, 5000);
    EXPECT_TRUE(sim->window.ThreadAnswers().empty());
    EXPECT_TRUE(sim->window.Commands().empty());
}

// Copy-data records come from any process.
struct RecordCase {
    const char* name;
    std::string bytes;  // the record
    bool nullData;
    bool queued;
    std::string line;  // what is queued
};

class CopyDataTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(CopyDataTest, QueuesOnlyWhatIsACommandLine) {
    const RecordCase& c = GetParam();
    auto sim = Seeded(kDesk);
    OnCopyData(sim->core, 5000, c.nullData ? nullptr : c.bytes.data(), c.bytes.size());
    if (!c.queued) {
        EXPECT_EQ(sim->core.commandQueue.Size(), 0u);
        EXPECT_TRUE(sim->window.Commands().empty());
        return;
    }
    EXPECT_EQ(sim->window.Commands(), (std::deque<fake::PostedCommand>{{id::kCmdRunCommandLine, 5000}}));
    const std::optional<QueuedLine> line = sim->core.commandQueue.Pop();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text, c.line);
    EXPECT_EQ(line->source, 5000u);
}

std::string Padded(std::string text, std::size_t size) {
    text.resize(size, '\0');
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Records, CopyDataTest,
    ::testing::Values(RecordCase{"NoData", Padded("b 20", 2048), true, false, ""},
                      RecordCase{"NoBytes", "", false, false, ""},
                      RecordCase{"TooLarge", Padded("b 20", 2049), false, false, ""},
                      RecordCase{"Full", Padded("b 20", 2048), false, true, "b 20"},
                      RecordCase{"Short", "b 20", false, true, "b 20"},
                      RecordCase{"OneByte", "d", false, true, "d"},
                      RecordCase{"ZeroFirst", Padded("", 16), false, true, ""},
                      RecordCase{"EndsAtFirstZero", std::string("b 20\0c 30", 9), false, true, "b 20"},
                      RecordCase{"Unterminated", std::string(2048, 'w'), false, true, std::string(2047, 'w')},
                      RecordCase{"Unterminated2047", std::string(2047, 'w'), false, true, std::string(2047, 'w')},
                      RecordCase{"Normalised", "B\x01\xFF" "20\t\"x y\"=\x80?+-", false, true, "b  20  x y   ?+-"}),
    [](const ::testing::TestParamInfo<RecordCase>& info) { return std::string(info.param.name); });

TEST(CopyData, TextOfARecordIsCutAndEndsAtTheFirstZero) {
    struct Case {
        std::string bytes;
        std::optional<std::string> text;
    };
    const std::vector<Case> cases = {
        {std::string(2048, 'w'), std::string(2047, 'w')},
        {std::string(2047, 'w'), std::string(2047, 'w')},
        {std::string(2046, 'w'), std::string(2046, 'w')},
        {std::string(2049, 'w'), std::nullopt},
        {std::string(100, 'w') + '\0' + std::string(1947, 'v'), std::string(100, 'w')},
        {std::string(2047, 'w') + '\0', std::string(2047, 'w')},
        {"B=20", "B=20"},  // the receiver normalises, not this
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CommandLineFromCopyData(c.bytes.data(), c.bytes.size()), c.text) << c.bytes.size() << " bytes";
    }
    EXPECT_EQ(CommandLineFromCopyData(nullptr, 16), std::nullopt);
    EXPECT_EQ(CommandLineFromCopyData("b 20", 0), std::nullopt);
}

TEST(CopyData, HandlerReturnsBeforeTheLineRuns) {
    auto sim = Seeded(kDesk);
    const std::string record = Padded("b 20", 2048);
    OnCopyData(sim->core, kSourceInternal, record.data(), record.size());
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    sim->Pump();
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u);
}

// The run command.
TEST(RunCommand, StartUpQueryEndsWithARestartingExit) {
    auto sim = Seeded(kDesk);
    sim->Run("d", kSourceStartup);
    EXPECT_TRUE(sim->core.restartflag);
    EXPECT_EQ(sim->otherCommands, (std::vector<fake::PostedCommand>{{id::kCmdExit, 1}}));
    EXPECT_TRUE(sim->window.ThreadAnswers().empty());
    EXPECT_EQ(sim->core.queryValue, 70u);
}

TEST(RunCommand, StartUpLineWithoutQueryDoesNotExit) {
    auto sim = Seeded(kDesk);
    sim->Run("d", kSourceInternal);  // sets the flag on an earlier line
    sim->Run("b 20", kSourceStartup);
    EXPECT_FALSE(sim->core.restartflag);
    EXPECT_TRUE(sim->otherCommands.empty());
}

TEST(RunCommand, OnlyForwardingStartsAreAnswered) {
    struct Case {
        uint32_t source;
        bool answered;
    };
    for (const Case& c : {Case{kSourceStartup, false}, Case{kSourceInternal, false}, Case{2, false}, Case{3, false},
                          Case{4, true}, Case{4242, false} /* the own thread */, Case{5000, true}}) {
        auto sim = Seeded(kDesk);
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
    auto sim = Seeded(kDesk);
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

TEST(RunCommand, QueryAnswerIsSentAfterTheWholeLine) {
    auto sim = Seeded(kDesk);
    sim->Run("d 2 d b 20", 5000);
    EXPECT_EQ(sim->window.ThreadAnswers(), (std::vector<fake::ThreadAnswer>{{5000, 40}}));
}

TEST(RunCommand, StoppedLineStillAnswers) {
    auto sim = Seeded(kDesk);
    sim->Run("d nosuch e", 5000);
    EXPECT_EQ(sim->window.ThreadAnswers(), (std::vector<fake::ThreadAnswer>{{5000, 70}}));
}

TEST(RunCommand, RereadRefreshesBeforeInternalLinesOnly) {
    struct Case {
        uint32_t source;
        int refreshes;
    };
    for (const Case& c : {Case{kSourceInternal, 1}, Case{kSourceHook, 1}, Case{kSourceStartup, 0}, Case{5000, 0}}) {
        auto sim = Seeded(kDesk);
        sim->core.settings.rereadvalues = true;
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
    // Someone turned the brightness to 100 with the monitor's buttons.
    struct Case {
        bool reread;
        uint32_t source;
        uint32_t expected;  // after "b + 6"
    };
    for (const Case& c : {Case{true, kSourceInternal, 100}, Case{false, kSourceInternal, 76}, Case{true, 5000, 76}}) {
        auto sim = Seeded(kDesk);
        sim->core.settings.rereadvalues = c.reread;
        Hw(*sim, 0).brightness.current = 100;
        sim->Run("b + 6", c.source);
        EXPECT_EQ(Hw(*sim, 0).brightness.current, c.expected) << c.reread << " " << c.source;
        EXPECT_EQ(sim->monitors.CallCount("SetMonitorBrightness"), c.expected == 100 ? 0u : 1u);
    }
}

TEST(RunCommand, WithoutRereadNoRefresh) {
    auto sim = Seeded(kDesk);
    sim->Run("b 20", kSourceInternal);
    EXPECT_EQ(sim->refreshRequests, 0);
}

}  // namespace
}  // namespace lv
