// b, c, r, g, l/bl/i, k and a: what reaches the monitor, what is refused, and the setter
// loop behind them (retries, pauses, limits, samevalues, ignored monitors).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>

#include "command_test_support.h"
#include "commands/interpreter.h"

namespace lv {
namespace {

using test::Hw;
using test::Repeated;
using test::Seeded;
using test::ValueWrites;

// One picture value: where the program keeps it and where the simulated monitor does.
struct Field {
    uint32_t MonitorEntry::*entry;
    sim::FleetRange sim::FleetMonitor::*hw;
};
constexpr Field kBrightness{&MonitorEntry::brightness, &sim::FleetMonitor::brightness};
constexpr Field kContrast{&MonitorEntry::contrast, &sim::FleetMonitor::contrast};
constexpr Field kRed{&MonitorEntry::red, &sim::FleetMonitor::red};
constexpr Field kGreen{&MonitorEntry::green, &sim::FleetMonitor::green};
constexpr Field kBlue{&MonitorEntry::blue, &sim::FleetMonitor::blue};

// The line, the row and value it writes, the value stored (normalised) and what the monitor holds.
TEST(ValueCommand, WritesOneValueToTheMonitor) {
    const std::tuple<const char*, std::size_t, Field, uint32_t, uint32_t> cases[] = {
        {"2 b 37", 1, kBrightness, 37, 42},  // 20 + MulDiv(37, 60, 100)
        {"b x 20", 0, kBrightness, 20, 20},  // the x is passed over: nothing posted
        {"b+6", 0, kBrightness, 76, 76}, {"b - 6", 0, kBrightness, 64, 64},
        {"b -+6", 0, kBrightness, 76, 76},          // the last sign wins
        {"b - 4294967306", 0, kBrightness, 0, 0},  // 2^32 + 10 must not wrap to 10
        {"b0050", 0, kBrightness, 50, 50},          // five characters: still a command
        {"k 5 b 20", 0, kBrightness, 20, 20}, {"c + 30", 0, kContrast, 100, 100},
        {"r - 28", 0, kRed, 100, 100},
        {"r + 4294967297", 0, kRed, 255, 255},  // 2^32 + 1 must not wrap to 1
        {"g 255", 0, kGreen, 255, 255}, {"bl128", 0, kBlue, 128, 128},
        {"l 128", 0, kBlue, 128, 128}, {"i 128", 0, kBlue, 128, 128}};
    for (const auto& [line, row, field, stored, raw] : cases) {
        SCOPED_TRACE(line);
        auto sim = Seeded();
        sim->Run(line);
        EXPECT_EQ(sim->core.table[row].*field.entry, stored);
        EXPECT_EQ((Hw(*sim, row).*field.hw).current, raw);
        EXPECT_EQ(ValueWrites(*sim), 1u) << "exactly one write";
        EXPECT_TRUE(sim->clock.Pauses().empty());
        EXPECT_TRUE(sim->otherCommands.empty());
    }
}

// Refused values, names that match nothing and a letter that needs an argument at the end
// of the line: nothing reaches a monitor, the volume or the window.
TEST(ValueCommand, RefusedOrIncompleteLinesDoNothing) {
    const std::pair<const char*, std::function<void(Core&)>> cases[] = {{"b 101", {}}, {"r 256", {}},
                          {"b 18446744073709551656", {}},  // 2^64 + 40: saturates, never wraps to 40
                          {"b l 128", {}},  // the l is passed over: brightness 128 is refused
                          {"k b 20", {}},   // k swallows the 20
                          {"b00050", {}},   // six characters: a name that matches nothing
                          {"w y", {}}, {"+ b 20", {}},  // "+" is a name
                          {"b + 6", [](Core& core) { core.table[0].brightness = 100; }},
                          {"l - 1", [](Core& core) { core.table[0].blue = 0; }},
                          {"b", {}}, {"bl", {}}, {"v", {}}, {"k", {}}, {"a", {}}, {"p", {}}, {"s", {}}, {"t", {}},
                          {"b+", {}}, {"v +", {}}, {"a ", {}}, {"d s", {}}};
    for (const auto& [line, setup] : cases) {
        SCOPED_TRACE(line);
        auto sim = Seeded();
        if (setup) setup(sim->core);
        const sim::Fleet before = sim->fleet;
        sim->Run(line);
        EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
        EXPECT_EQ(sim->monitors.CallCount("EnumDisplayMonitors"), 0u);
        EXPECT_TRUE(sim->fleet == before);
        EXPECT_TRUE(sim->audio.Sets().empty());
        EXPECT_TRUE(sim->otherCommands.empty());
        EXPECT_EQ(sim->core.lastChangedKind, ChangeKind::Nothing) << "no setter ran";
        EXPECT_EQ(sim->core.selectedMonitor, 0);
        EXPECT_FALSE(sim->core.toggleState);
    }
}

// Ten attempts 100 ms apart (virtual time), for a monitor that stopped answering after
// start-up and for one that never answered (row 2, left selected).
TEST(SetterLoop, DeadMonitorTenAttemptsTenPausesNothingChanges) {
    // The line, the call each attempt ends at, the value and the row it is for.
    const std::tuple<const char*, const char*, Field, std::size_t> cases[] = {
        {"c 20", "SetMonitorContrast", kContrast, 0}, {"bl 20", "SetMonitorRedGreenOrBlueGain", kBlue, 0},
        // never read, so its range is asked for and nothing is written blind
        {"b 20", "GetMonitorBrightness", kBrightness, 2}};
    for (const auto& [line, call, field, row] : cases) {
        SCOPED_TRACE(line);
        auto sim = Seeded();
        Hw(*sim, row).ddc = sim::DdcMode::Dead;
        sim->core.selectedMonitor = static_cast<int64_t>(row);
        const MonitorEntry before = sim->core.table[row];
        const auto listBefore = sim->core.list.RowAt(static_cast<int>(row));
        sim->Run(line);
        EXPECT_EQ(sim->monitors.CallCount(call), 10u);
        EXPECT_EQ(sim->monitors.DdcCallCount(), 10u) << "no read-back after a failed write";
        EXPECT_EQ(sim->clock.Pauses(), Repeated(10, 100));
        EXPECT_EQ(sim->core.table[row].*field.entry, before.*field.entry);
        EXPECT_EQ(sim->core.list.RowAt(static_cast<int>(row)), listBefore);
        EXPECT_EQ(sim->monitors.OpenHandleCount(), 0u);
        EXPECT_EQ(Hw(*sim, 1).brightness.current, 50u) << "the other monitor is left alone";
    }
}

TEST(SetterLoop, LaptopPanelTakesBrightnessButLeavesTheNotificationKind) {
    auto sim = Seeded("[display]\ntechnology = 0x80000000\n[monitor]\nddc = dead\n[panel]\ncurrent = 40\n");
    sim->Run("b 60");
    EXPECT_EQ(sim->fleet.panel->current, 60u);
    EXPECT_EQ(sim->core.list.Cell(0, kColumnBrightness), "60");
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorBrightness"), 1u) << "DDC/CI is tried first";
    EXPECT_TRUE(sim->clock.Pauses().empty());
    EXPECT_EQ(sim->core.lastChangedKind, ChangeKind::Nothing);
}

// Relative requests are clamped like absolute ones; gains have no limits.
TEST(SetterLoop, RelativeRequestsAreClampedIntoTheLimitsGainsAreNot) {
    auto sim = Seeded();
    sim->core.table[0].brightnessHigh = 90;
    sim->core.table[0].contrastLow = 10;
    sim->core.table[0].contrastHigh = 10;
    sim->Run("b + 99 c - 99 r 250");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 90u);
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 10u);
    EXPECT_EQ(Hw(*sim, 0).red.current, 250u);
}

TEST(SetterLoop, SameValuesPassesOverAnIgnoredMonitor) {
    // Display 0 holds two physical monitors; display 1 one on raw 20..80.
    auto sim = Seeded("[display]\n[monitor]\n[monitor]\n[display]\n[monitor]\nbrightness = 20 50 80\n");
    sim->core.settings.samevalues = true;
    sim->core.table[1].ignoreName = "x";
    sim->Run("b 30");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 30u);
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 50u);
    EXPECT_EQ(Hw(*sim, 2).brightness.current, 38u);  // 20 + MulDiv(30, 60, 100)
    for (const std::string& call : sim->monitors.CallLog()) EXPECT_EQ(call.find("mon=1 "), std::string::npos) << call;
    EXPECT_TRUE(sim->clock.Pauses().empty());
}

// A monitor silent at start-up has no range yet (0..0): once it answers, the range is read
// before the first write, so the request is not sent as raw 0.
TEST(SetterLoop, RangeNeverReadIsReadBeforeTheWrite) {
    // The line, the calls that read and write its value, the value and its raw result.
    const std::tuple<const char*, const char*, const char*, Field, uint32_t> cases[] = {
        {"b 60", "GetMonitorBrightness", "SetMonitorBrightness", kBrightness, 56},  // 20 + 36
        {"c 30", "GetMonitorContrast", "SetMonitorContrast", kContrast, 30},
        {"r 200", "GetMonitorRedGreenOrBlueGain", "SetMonitorRedGreenOrBlueGain", kRed, 200}};
    for (const auto& [line, get, set, field, raw] : cases) {
        SCOPED_TRACE(line);
        auto sim = Seeded("[display]\n[monitor]\nddc = dead\nbrightness = 20 50 80\nred = 0 128 255\n");
        Hw(*sim, 0).ddc = sim::DdcMode::Ok;
        sim->Run(line);
        EXPECT_EQ((Hw(*sim, 0).*field.hw).current, raw);
        EXPECT_EQ(sim->monitors.CallCount(set), 1u);
        EXPECT_EQ(sim->monitors.CallCount(get), 2u) << "the range, then the read-back";
        EXPECT_TRUE(sim->clock.Pauses().empty());
    }
    // A range that cannot be read fails the attempt: nothing is written blind.
    auto sim = Seeded("[display]\n[monitor]\nddc = dead\n");
    sim->Run("c 30");
    EXPECT_EQ(sim->monitors.CallCount("SetMonitorContrast"), 0u);
    EXPECT_EQ(sim->monitors.CallCount("GetMonitorContrast"), 10u);
    EXPECT_EQ(sim->clock.Pauses(), Repeated(10, 100));
}

// The enumeration stops at a display whose physical monitors cannot be had, so the
// setters must not count past it: with the first display failing the list is empty and
// monitor 0 of the setters would be the second display's.
TEST(SetterLoop, StopsAtADisplayWhoseMonitorsCannotBeHad) {
    auto sim = Seeded("[display]\nphysical = fail\n[monitor]\n[display]\n[monitor]\n");
    ASSERT_EQ(sim->core.list.Rows(), 0);
    sim->Run("b 10");
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 50u);
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    EXPECT_EQ(sim->monitors.CallCount("GetPhysicalMonitorsFromHMONITOR"), 10u) << "each attempt ends at display 0";
    EXPECT_EQ(sim->clock.Pauses(), Repeated(10, 100));
    EXPECT_EQ(sim->monitors.OpenHandleCount(), 0u);
}

// A selection outside the table (a negative one from an old file, or one above ten) is
// shown as the first monitor; the setters must act on the monitor the views show.
TEST(SetterLoop, SelectionOutsideTheTableWritesTheMonitorTheViewsShow) {
    for (const int64_t selected : {int64_t{-1}, int64_t{12}}) {
        auto sim = Seeded();
        sim->core.selectedMonitor = selected;
        sim->Run("b 10");
        EXPECT_EQ(Hw(*sim, 0).brightness.current, 10u) << selected;
        EXPECT_EQ(sim->core.Selected().brightness, 10u) << selected;
        EXPECT_TRUE(sim->clock.Pauses().empty()) << selected;
    }
}

// a: four limits, then the current values are pulled into them; nothing after it runs.
// Numbers read before a failure stay; with fewer than four nothing is pulled in.
TEST(LimitsCommand, StoresTheNumbersReadAndPullsTheValuesIn) {
    const std::tuple<const char*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t> cases[] = {
        {"b 5 c 95 a 10 80 20 90 c 3", 10, 80, 20, 90, 10, 90},
        {"b 95 c 10 a 10 80 20 90 c 3", 10, 80, 20, 90, 80, 20},
        {"a", 0, 100, 0, 100, 70, 75}, {"a b 20", 20, 100, 0, 100, 70, 75},
        {"a -5", 5, 100, 0, 100, 70, 75},  // from the first digit on
        {"a 75 76 77", 75, 76, 77, 100, 70, 75},
        {"a 75 -76 77 78", 75, 100, 0, 100, 70, 75},  // digits only
        {"a 0 99999999999 0 4294967296", 0, 4294967295, 0, 4294967295, 70, 75}};
    for (const auto& [line, bLow, bHigh, cLow, cHigh, brightness, contrast] : cases) {
        SCOPED_TRACE(line);
        auto sim = Seeded();
        sim->Run(line);
        test::ExpectLimits(sim->core.table[0], bLow, bHigh, cLow, cHigh);
        EXPECT_EQ(Hw(*sim, 0).brightness.current, brightness);
        EXPECT_EQ(Hw(*sim, 0).contrast.current, contrast) << "the c 3 after a never runs";
    }
}

}  // namespace
}  // namespace lv
