// b, c, r, g, l/bl/i, k and a: what reaches the monitor, what is refused, and the setter
// loop behind them (retries, pauses, limits, samevalues, ignored monitors).
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "command_test_support.h"
#include "commands/interpreter.h"

namespace lv {
namespace {

using test::Hw;
using test::Repeated;
using test::Seeded;
using test::ValueWrites;

// Row 0: raw ranges 0..100 and 0..255; row 1: brightness on raw 20..80.
constexpr std::string_view kDesk = R"(
[display]
friendly = NOVA U27
serial = 7MT0193A1B2C
[monitor]
brightness = 0 70 100
contrast = 0 75 100
red = 0 128 255
green = 0 128 255
blue = 0 200 255
capabilities = (prot(monitor)type(LCD)model(U2719D)vcp(10 12 14(01 05 0B) 16 18 1A 60(0F 11 12)))

[display]
friendly = ORION 243
serial = UK01919012345
[monitor]
brightness = 20 50 80
contrast = 0 50 100
)";

constexpr std::string_view kSingle = R"(
[display]
friendly = SOLO 24
[monitor]
brightness = 0 70 100
)";

// Display 0 holds two physical monitors; display 1 one on raw 20..80.
constexpr std::string_view kThree = R"(
[display]
friendly = TWIN 27
[monitor]
brightness = 0 50 100
[monitor]
brightness = 0 50 100

[display]
friendly = ORION 243
[monitor]
brightness = 20 50 80
)";

enum class Field { Brightness, Contrast, Red, Green, Blue };

uint32_t EntryValue(const MonitorEntry& e, Field f) {
    switch (f) {
        case Field::Brightness: return e.brightness;
        case Field::Contrast: return e.contrast;
        case Field::Red: return e.red;
        case Field::Green: return e.green;
        case Field::Blue: return e.blue;
    }
    return 0;
}

uint32_t RawValueOf(const fake::FleetMonitor& m, Field f) {
    switch (f) {
        case Field::Brightness: return m.brightness.current;
        case Field::Contrast: return m.contrast.current;
        case Field::Red: return m.red.current;
        case Field::Green: return m.green.current;
        case Field::Blue: return m.blue.current;
    }
    return 0;
}

struct ValueCase {
    const char* line;
    std::size_t monitor;
    Field field;
    uint32_t value;  // stored, normalised
    uint32_t raw;    // what the monitor holds
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << "\"" << c.line << "\""; }

class ValueCommandTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueCommandTest, WritesOneValueToTheMonitor) {
    const ValueCase& c = GetParam();
    auto sim = Seeded(kDesk);
    sim->Run(c.line);
    EXPECT_EQ(EntryValue(sim->core.table[c.monitor], c.field), c.value);
    EXPECT_EQ(RawValueOf(Hw(*sim, c.monitor), c.field), c.raw);
    EXPECT_EQ(ValueWrites(*sim), 1u) << "exactly one write";
    EXPECT_TRUE(sim->clock.Pauses().empty());
    EXPECT_EQ(sim->monitors.OpenHandleCount(), 0u);
    EXPECT_TRUE(sim->otherCommands.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ValueCommandTest,
    ::testing::Values(ValueCase{"b 37", 0, Field::Brightness, 37, 37},
                      ValueCase{"2 b 37", 1, Field::Brightness, 37, 42},  // 20 + MulDiv(37, 60, 100)
                      ValueCase{"b c 20", 0, Field::Brightness, 20, 20},  // the c is passed over
                      ValueCase{"b x 20", 0, Field::Brightness, 20, 20},  // so is an x: nothing posted
                      ValueCase{"b + 6", 0, Field::Brightness, 76, 76},
                      ValueCase{"b+6", 0, Field::Brightness, 76, 76},
                      ValueCase{"b - 6", 0, Field::Brightness, 64, 64},
                      ValueCase{"b -+6", 0, Field::Brightness, 76, 76},  // the last sign wins
                      ValueCase{"b +-6", 0, Field::Brightness, 64, 64},
                      ValueCase{"b + 99999999999", 0, Field::Brightness, 100, 100},
                      ValueCase{"b - 99999999999", 0, Field::Brightness, 0, 0},
                      ValueCase{"b 0", 0, Field::Brightness, 0, 0},
                      ValueCase{"b 100", 0, Field::Brightness, 100, 100},
                      ValueCase{"b 020", 0, Field::Brightness, 20, 20},
                      ValueCase{"b0050", 0, Field::Brightness, 50, 50},  // five characters: still a command
                      ValueCase{"k 5 b 20", 0, Field::Brightness, 20, 20},
                      ValueCase{"c 20", 0, Field::Contrast, 20, 20},
                      ValueCase{"c + 30", 0, Field::Contrast, 100, 100},
                      ValueCase{"r 0", 0, Field::Red, 0, 0},
                      ValueCase{"r - 28", 0, Field::Red, 100, 100},
                      ValueCase{"g 255", 0, Field::Green, 255, 255},
                      ValueCase{"bl 128", 0, Field::Blue, 128, 128},
                      ValueCase{"bl128", 0, Field::Blue, 128, 128},
                      ValueCase{"l 128", 0, Field::Blue, 128, 128},
                      ValueCase{"i 128", 0, Field::Blue, 128, 128},
                      ValueCase{"l + 100", 0, Field::Blue, 255, 255}));

TEST(ValueCommand, TwoCommandsOnOneLineBothRunAndUpdateTheViews) {
    auto sim = Seeded(kDesk);
    sim->Run("b 20 c 30");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u);
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 30u);
    EXPECT_EQ(sim->core.list.Cell(0, kColumnBrightness), "20");
    EXPECT_EQ(sim->core.list.Cell(0, kColumnContrast), "30");
    EXPECT_EQ(sim->view.Text(id::kBrightnessLabel), "Brightness 20");
    EXPECT_EQ(sim->view.Text(id::kContrastLabel), "Contrast 30");
    EXPECT_EQ(sim->view.SliderPos(id::kBrightnessSlider), 80);
    EXPECT_EQ(sim->view.SliderPos(id::kContrastSlider), 70);
    EXPECT_EQ(sim->core.lastChangedKind, kChangedContrast);
}

TEST(ValueCommand, GainCommandsSetTheirKindAndSlider) {
    struct Case {
        const char* line;
        uint8_t kind;
        int slider;
    };
    for (const Case& c : {Case{"r 10", kChangedRed, id::kRedSlider}, Case{"g 10", kChangedGreen, id::kRedSlider + 1},
                          Case{"l 10", kChangedBlue, id::kRedSlider + 2}}) {
        auto sim = Seeded(kDesk);
        sim->Run(c.line);
        EXPECT_EQ(sim->core.lastChangedKind, c.kind) << c.line;
        EXPECT_EQ(sim->view.SliderPos(c.slider), 245) << c.line;
    }
}

struct NoChangeCase {
    const char* line;
    std::function<void(Core&)> setup;
};

void PrintTo(const NoChangeCase& c, std::ostream* os) { *os << "\"" << c.line << "\""; }

class NoChangeTest : public ::testing::TestWithParam<NoChangeCase> {};

TEST_P(NoChangeTest, NoDdcTrafficAndNothingChanges) {
    const NoChangeCase& c = GetParam();
    auto sim = Seeded(kDesk);
    if (c.setup) c.setup(sim->core);
    const fake::Fleet before = sim->fleet;
    const MonitorEntry entryBefore = sim->core.table[0];
    sim->Run(c.line);
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    EXPECT_EQ(sim->monitors.CallCount("EnumDisplayMonitors"), 0u);
    EXPECT_TRUE(sim->clock.Pauses().empty());
    EXPECT_TRUE(sim->fleet == before);
    EXPECT_EQ(sim->core.table[0].brightness, entryBefore.brightness);
    EXPECT_EQ(sim->core.table[0].blue, entryBefore.blue);
    EXPECT_EQ(sim->core.lastChangedKind, kChangedNothing) << "no setter ran";
    EXPECT_EQ(sim->core.selectedMonitor, 0);
    EXPECT_TRUE(sim->otherCommands.empty());
}

void BrightnessAt(Core& core, uint32_t value) { core.table[0].brightness = value; }

INSTANTIATE_TEST_SUITE_P(
    Lines, NoChangeTest,
    ::testing::Values(NoChangeCase{"b 150", {}}, NoChangeCase{"b 101", {}}, NoChangeCase{"c 101", {}},
                      NoChangeCase{"r 300", {}}, NoChangeCase{"r 256", {}}, NoChangeCase{"g 256", {}},
                      NoChangeCase{"l 256", {}}, NoChangeCase{"b 99999999999", {}}, NoChangeCase{"b 4294967295", {}},
                      NoChangeCase{"b 4294967296", {}},
                      NoChangeCase{"b 4294967336", {}},  // 2^32 + 40: saturates, never wraps to 40
                      NoChangeCase{"b 18446744073709551617", {}},
                      NoChangeCase{"b", {}}, NoChangeCase{"b +", {}}, NoChangeCase{"b -", {}},
                      NoChangeCase{"c - ", {}}, NoChangeCase{"bl", {}}, NoChangeCase{"l", {}},
                      NoChangeCase{"b l 128", {}},  // the l is passed over: brightness 128 is refused
                      NoChangeCase{"k 20", {}}, NoChangeCase{"k b 20", {}},  // k swallows the 20
                      NoChangeCase{"b00050", {}},  // six characters: a name that matches nothing
                      NoChangeCase{"", {}}, NoChangeCase{"   ", {}}, NoChangeCase{"w y", {}},
                      NoChangeCase{"+ b 20", {}},  // "+" is a name
                      NoChangeCase{"b + 6", [](Core& core) { BrightnessAt(core, 100); }},
                      NoChangeCase{"b - 6", [](Core& core) { BrightnessAt(core, 0); }},
                      NoChangeCase{"c + 1", [](Core& core) { core.table[0].contrast = 100; }},
                      NoChangeCase{"r + 1", [](Core& core) { core.table[0].red = 255; }},
                      NoChangeCase{"g - 1", [](Core& core) { core.table[0].green = 0; }},
                      NoChangeCase{"l - 1", [](Core& core) { core.table[0].blue = 0; }}));

TEST(ValueCommand, MonitorNumberBeyondASingleMonitorStopsTheLine) {
    auto sim = Seeded(kSingle);
    sim->Run("2 b + 10");
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 70u);
    EXPECT_EQ(sim->core.selectedMonitor, 0);
}

TEST(ValueCommand, RequestEqualToTheStoredValueSendsNothingUnlessReread) {
    auto sim = Seeded(kDesk);
    sim->Run("b 70");
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    EXPECT_EQ(sim->core.lastChangedKind, kChangedBrightness);

    sim->core.settings.rereadvalues = true;
    sim->Run("b 70");
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorBrightness"), 1u);
}

TEST(ValueCommand, CommandsBeforeAStopStayDone) {
    auto sim = Seeded(kDesk);
    sim->Run("b 20 nosuchmonitor c 30");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u);
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 75u);
}

// A monitor that stops answering after start-up.
struct DeadCase {
    const char* line;
    const char* call;
    Field field;
};

void PrintTo(const DeadCase& c, std::ostream* os) { *os << "\"" << c.line << "\""; }

class DeadMonitorTest : public ::testing::TestWithParam<DeadCase> {};

TEST_P(DeadMonitorTest, TenAttemptsTenPausesNothingChanges) {
    const DeadCase& c = GetParam();
    auto sim = Seeded(kDesk);
    Hw(*sim, 0).ddc = fake::DdcMode::Dead;
    const MonitorEntry before = sim->core.table[0];
    const auto listBefore = sim->core.list.RowAt(0);
    const uint64_t start = sim->clock.Now();
    sim->Run(c.line);
    EXPECT_EQ(sim->monitors.CallCount(c.call), 10u);
    EXPECT_EQ(sim->monitors.DdcCallCount(), 10u) << "no read-back after a failed write";
    EXPECT_EQ(sim->monitors.CallCount("EnumDisplayMonitors"), 10u);
    EXPECT_EQ(sim->clock.Pauses(), Repeated(10, 100));
    EXPECT_EQ(sim->clock.Now() - start, 1000u);
    EXPECT_EQ(EntryValue(sim->core.table[0], c.field), EntryValue(before, c.field));
    EXPECT_EQ(sim->core.list.RowAt(0), listBefore);
    EXPECT_EQ(sim->monitors.OpenHandleCount(), 0u);
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 50u) << "the other monitor is left alone";
}

INSTANTIATE_TEST_SUITE_P(Setters, DeadMonitorTest,
                         ::testing::Values(DeadCase{"b 20", "SetMonitorBrightness", Field::Brightness},
                                           DeadCase{"c 20", "SetMonitorContrast", Field::Contrast},
                                           DeadCase{"r 20", "SetMonitorRedGreenOrBlueGain", Field::Red},
                                           DeadCase{"bl 20", "SetMonitorRedGreenOrBlueGain", Field::Blue}));

TEST(SetterLoop, DeadFromStartUpIsTheSame) {
    auto sim = Seeded(R"(
[display]
[monitor]
ddc = dead
)");
    sim->Run("b 20");
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorBrightness"), 10u);
    EXPECT_EQ(sim->clock.Pauses(), Repeated(10, 100));
    EXPECT_EQ(sim->core.list.Cell(0, kColumnBrightness), "?");
}

TEST(SetterLoop, LaptopPanelTakesBrightnessButLeavesTheNotificationKind) {
    auto sim = Seeded(R"(
[display]
[monitor]
ddc = dead
[panel]
current = 40
)");
    ASSERT_EQ(sim->core.list.Cell(0, kColumnContrast), ".");
    sim->Run("b 60");
    EXPECT_EQ(sim->fleet.panel->current, 60u);
    EXPECT_EQ(sim->core.list.Cell(0, kColumnBrightness), "60");
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorBrightness"), 1u) << "DDC/CI is tried first";
    EXPECT_TRUE(sim->clock.Pauses().empty());
    EXPECT_EQ(sim->core.lastChangedKind, kChangedNothing);

    sim->Run("c 20");  // no contrast on a panel: the usual ten attempts
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorContrast"), 10u);
    EXPECT_EQ(sim->clock.Pauses(), Repeated(10, 100));
    EXPECT_EQ(sim->core.list.Cell(0, kColumnContrast), ".");
}

TEST(SetterLoop, FlakyMonitorPausesAfterFailedWritesAndBetweenReads) {
    // flaky 2: calls fail, fail, succeed, ... counted across all calls to the monitor.
    // Set, Set, Set(ok), Save, Get(fail), Get(ok): two setter pauses, one read pause.
    auto sim = Seeded(kDesk);
    Hw(*sim, 0).ddc = fake::DdcMode::Flaky;
    Hw(*sim, 0).flakyFailures = 2;
    sim->Run("b 20");
    EXPECT_EQ(sim->clock.Pauses(), (std::vector<uint32_t>{100, 100, 50}));
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorBrightness"), 3u);
    EXPECT_EQ(sim->monitors.CallCount("GetMonitorBrightness"), 2u);
    EXPECT_EQ(sim->core.table[0].brightness, 20u);
    EXPECT_EQ(sim->core.list.Cell(0, kColumnBrightness), "20");
}

TEST(SetterLoop, ReadBackThatRoundsDifferentlyCountsAsFailure) {
    // Raw 0..3: 50 goes out as raw 2, which reads back as 67.
    auto sim = Seeded(R"(
[display]
[monitor]
brightness = 0 1 3
)");
    sim->Run("b 50");
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorBrightness"), 10u);
    EXPECT_EQ(sim->clock.Pauses(), Repeated(10, 100));
    EXPECT_EQ(sim->core.list.Cell(0, kColumnBrightness), "33") << "the list keeps the old value";
}

TEST(SetterLoop, ContrastReadBackMismatchAlsoRetries) {
    auto sim = Seeded(R"(
[display]
[monitor]
contrast = 0 1 3
)");
    sim->Run("c 50");
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorContrast"), 10u);
    EXPECT_EQ(sim->clock.Pauses(), Repeated(10, 100));
}

TEST(SetterLoop, GainSucceedsWithoutAMatchingReadBack) {
    auto sim = Seeded(R"(
[display]
[monitor]
red = 0 1 3
)");
    sim->Run("r 100");  // raw 1, reads back as 85
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorRedGreenOrBlueGain"), 1u);
    EXPECT_TRUE(sim->clock.Pauses().empty());
    EXPECT_EQ(sim->core.table[0].red, 85u);
}

TEST(SetterLoop, IgnoredMonitorGetsNoTraffic) {
    auto sim = Seeded(kDesk);
    sim->core.table[0].ignoreName = "NOVA U27";
    sim->Run("b 20 c 30 r 5 g 5 l 5");
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    EXPECT_EQ(sim->monitors.CallCount("EnumDisplayMonitors"), 0u);
    EXPECT_TRUE(sim->clock.Pauses().empty());
}

struct LimitCase {
    const char* line;
    uint32_t low, high;  // brightness limits of row 0
    uint32_t expected;
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << "\"" << c.line << "\""; }

class BrightnessLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(BrightnessLimitTest, RequestIsClampedIntoTheLimits) {
    const LimitCase& c = GetParam();
    auto sim = Seeded(kDesk);
    sim->core.table[0].brightnessLow = c.low;
    sim->core.table[0].brightnessHigh = c.high;
    sim->Run(c.line);
    EXPECT_EQ(Hw(*sim, 0).brightness.current, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, BrightnessLimitTest,
                         ::testing::Values(LimitCase{"b 100", 0, 80, 80}, LimitCase{"b 10", 30, 100, 30},
                                           LimitCase{"b - 99", 30, 100, 30}, LimitCase{"b + 99", 0, 90, 90},
                                           LimitCase{"b 80", 0, 80, 80}, LimitCase{"b 30", 30, 80, 30}));

TEST(SetterLoop, ContrastIsClampedGainsAreNot) {
    auto sim = Seeded(kDesk);
    sim->core.table[0].contrastHigh = 60;
    sim->core.table[0].brightnessHigh = 10;
    sim->Run("c 90 r 250");
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 60u);
    EXPECT_EQ(Hw(*sim, 0).red.current, 250u);
}

TEST(SetterLoop, SameValuesWritesEveryMonitorWithTheSelectedOnesLimits) {
    auto sim = Seeded(kThree);
    sim->core.settings.samevalues = true;
    sim->core.table[1].brightnessHigh = 60;
    sim->core.table[0].brightnessHigh = 30;  // not the selected one: ignored
    sim->Run("2 b 100");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 60u);
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 60u);
    EXPECT_EQ(Hw(*sim, 2).brightness.current, 56u);  // 20 + MulDiv(60, 60, 100)
    EXPECT_EQ(sim->core.selectedMonitor, 1);
    EXPECT_EQ(sim->core.list.Cell(2, kColumnBrightness), "60");
    EXPECT_EQ(sim->monitors.OpenHandleCount(), 0u);
    EXPECT_TRUE(sim->clock.Pauses().empty());
}

TEST(SetterLoop, SameValuesSkipsAnIgnoredMonitor) {
    auto sim = Seeded(kThree);
    sim->core.settings.samevalues = true;
    sim->core.table[1].ignoreName = "x";
    sim->Run("b 30");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 30u);
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 50u);
    EXPECT_EQ(Hw(*sim, 2).brightness.current, 38u);
    EXPECT_TRUE(sim->clock.Pauses().empty());
}

// a: four limits, then the current values are pulled into them; nothing after it runs.
TEST(LimitsCommand, RaisesBrightnessToTheNewLowAndEndsTheLine) {
    auto sim = Seeded(kDesk);
    Hw(*sim, 0).brightness.current = 5;
    sim->core.table[0].brightness = 5;
    sim->Run("a 10 80 0 100 c 3");
    const MonitorEntry& e = sim->core.table[0];
    EXPECT_EQ(e.brightnessLow, 10u);
    EXPECT_EQ(e.brightnessHigh, 80u);
    EXPECT_EQ(e.contrastLow, 0u);
    EXPECT_EQ(e.contrastHigh, 100u);
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 10u);
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 75u) << "c 3 after a never runs";
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorContrast"), 0u);
}

TEST(LimitsCommand, PullsEveryValueIntoItsLimits) {
    auto sim = Seeded(kDesk);
    Hw(*sim, 0).brightness.current = 95;
    sim->core.table[0].brightness = 95;
    Hw(*sim, 0).contrast.current = 10;
    sim->core.table[0].contrast = 10;
    sim->Run("a 10 80 20 90");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 80u);
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 20u);
}

TEST(LimitsCommand, ValuesInsideTheLimitsAreNotWritten) {
    auto sim = Seeded(kDesk);
    sim->Run("a 10 80 20 90");
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    EXPECT_EQ(sim->core.table[0].contrastHigh, 90u);
}

struct PartialLimits {
    const char* line;
    uint32_t bLow, bHigh, cLow, cHigh;
};

void PrintTo(const PartialLimits& c, std::ostream* os) { *os << "\"" << c.line << "\""; }

class PartialLimitsTest : public ::testing::TestWithParam<PartialLimits> {};

TEST_P(PartialLimitsTest, NumbersReadBeforeAFailureStayAndTheLineStops) {
    const PartialLimits& c = GetParam();
    auto sim = Seeded(kDesk);
    sim->Run(c.line);
    const MonitorEntry& e = sim->core.table[0];
    EXPECT_EQ(e.brightnessLow, c.bLow);
    EXPECT_EQ(e.brightnessHigh, c.bHigh);
    EXPECT_EQ(e.contrastLow, c.cLow);
    EXPECT_EQ(e.contrastHigh, c.cHigh);
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u) << "nothing pulled in, nothing after it";
}

INSTANTIATE_TEST_SUITE_P(Lines, PartialLimitsTest,
                         ::testing::Values(PartialLimits{"a", 0, 100, 0, 100},
                                           PartialLimits{"a b 20", 20, 100, 0, 100},  // starts at the first digit
                                           PartialLimits{"a 75", 75, 100, 0, 100},
                                           PartialLimits{"a 75 76 b 20", 75, 76, 0, 100},
                                           PartialLimits{"a 75 76 77", 75, 76, 77, 100},
                                           PartialLimits{"a 75 -76 77 78", 75, 100, 0, 100},  // digits only
                                           PartialLimits{"a 75 +76 77 78", 75, 100, 0, 100}));

TEST(ValueCommand, SignedOverlongNumberSaturates) {
    auto sim = Seeded(kDesk);
    sim->Run("b - 4294967306");  // 2^32 + 10 would wrap to 10 and leave 60
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 0u);
    sim->Run("r + 4294967297");  // 2^32 + 1 would wrap to 1 and give 129
    EXPECT_EQ(sim->core.table[0].red, 255u);
}

TEST(LimitsCommand, OverlongNumberSaturatesInsteadOfWrapping) {
    auto sim = Seeded(kDesk);
    sim->Run("a 0 99999999999 0 4294967296");
    EXPECT_EQ(sim->core.table[0].brightnessHigh, 4294967295u);
    EXPECT_EQ(sim->core.table[0].contrastHigh, 4294967295u);
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
}

}  // namespace
}  // namespace lv
