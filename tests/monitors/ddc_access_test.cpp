#include "monitors/ddc_access.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/simulator.h"

namespace lv {
namespace {

using sim::Simulator;

// Three monitors on two displays: display 0 carries two physical monitors.
constexpr const char* kDesk = R"(
[display]
[monitor]
brightness = 0 50 100
contrast = 0 50 100
red = 0 128 255
green = 0 128 255
blue = 0 128 255
[monitor]
brightness = 20 50 80
contrast = 0 40 100
[display]
[monitor]
brightness = 0 30 100
)";

struct Desk : Simulator {
    Desk() : Simulator(sim::ParseFleet(kDesk).fleet) {}
    sim::FleetMonitor& Monitor(std::size_t index) { return *sim::MonitorAt(fleet, index); }
};

// Within the row's limits (entered the wrong way round, they clamp low, then high).
TEST(DdcSetter, WritesInTheMonitorsRawRangeAndReadsBackNormalised) {
    struct Case {
        uint32_t min, max, value, raw, low = 0, high = 100;
    };
    const Case cases[] = {{20, 80, 37, 42}, {0, 255, 50, 128}, {10, 50, 100, 50}, {0, 100, 50, 10, 90, 10}};
    for (const Case& c : cases) {
        Desk sim;
        sim.Monitor(0).brightness = {c.min, c.min, c.max};
        sim.Seed();
        sim.core.table[0].brightnessLow = c.low;
        sim.core.table[0].brightnessHigh = c.high;
        SetBrightness(sim.core, c.value);
        EXPECT_EQ(sim.Monitor(0).brightness.current, c.raw) << c.min << ".." << c.max << ", " << c.low << ".." << c.high;
    }
    Desk sim;
    sim.Seed();
    sim.Monitor(0).brightness = {20, 10, 80};  // a raw reading below the minimum
    EXPECT_TRUE(ReadBrightness(sim.core));
    EXPECT_EQ(sim.core.table[0].brightness, 0u);
    EXPECT_TRUE(sim.core.ddc.valueChanged);
}

// The setters touch no control: they mark the rows whose values the popup shows again.
TEST(DdcSetter, StoresTheValueAndMarksTheRowsItTried) {
    Desk sim;
    sim.Seed();
    SetBrightness(sim.core, 50);  // equal to the stored value: nothing sent
    EXPECT_EQ(sim.monitors.DdcCallCount(), 0u);
    sim.core.ddc.changedRows.reset();
    sim.core.selectedMonitor = 1;
    SetBrightness(sim.core, 30);
    EXPECT_EQ(sim.core.table[1].brightness, 30u);
    EXPECT_EQ(sim.core.ddc.changedRows.to_ulong(), 0b010u);

    SetContrast(sim.core, 60);
    EXPECT_EQ(sim.core.lastChangedKind, ChangeKind::Contrast);
    sim.core.selectedMonitor = 0;
    SetColorGain(sim.core, 200, 2);
    EXPECT_EQ(sim.core.table[0].blue, 200u);
    EXPECT_EQ(sim.core.lastChangedKind, ChangeKind::Blue);
    EXPECT_EQ(sim.core.ddc.changedRows.to_ulong(), 0b011u);

    sim.core.settings.rereadvalues = true;
    sim.monitors.ClearCallLog();
    SetContrast(sim.core, 50);
    EXPECT_EQ(sim.monitors.CallCount("SetMonitorContrast"), 1u) << "with reread, even an equal value is sent";
}

TEST(DdcSetter, FlakyMonitorIsRetriedWithReadBackPauses) {
    Desk sim;
    sim.Monitor(0).ddc = sim::DdcMode::Flaky;
    sim.Monitor(0).flakyFailures = 2;
    sim.Seed();
    // set fails, 100 ms, set fails, 100 ms, set answers; save fails; the read-back
    // fails and is repeated 50 ms later.
    SetBrightness(sim.core, 80);
    EXPECT_EQ(sim.Monitor(0).brightness.current, 80u);
    EXPECT_EQ(sim.clock.Pauses(), (std::vector<uint32_t>{100, 100, 50}));
}

TEST(DdcSetter, ReadBackThatRoundsDifferentlyCountsAsFailure) {
    Desk sim;
    sim.Monitor(0).brightness = {0, 3, 3};  // four raw steps: 50 is written as 2 and reads back as 67
    sim.Seed();
    SetBrightness(sim.core, 50);
    EXPECT_EQ(sim.monitors.CallCount("SetMonitorBrightness"), 10u);
    EXPECT_EQ(sim.core.table[0].brightness, 67u);
    EXPECT_FALSE(sim.core.ddc.brightnessOk);
}

TEST(DdcSetter, SameValuesWritesEveryMonitorClampedByTheSelectedOne) {
    Desk sim;
    sim.Seed();
    sim.core.settings.samevalues = true;
    sim.core.selectedMonitor = 1;
    sim.core.table[1].brightnessHigh = 60;
    SetBrightness(sim.core, 90);
    EXPECT_EQ(sim.Monitor(0).brightness.current, 60u);
    EXPECT_EQ(sim.Monitor(1).brightness.current, 20u + 36u);  // 60 % of 20..80
    EXPECT_EQ(sim.Monitor(2).brightness.current, 60u);
    EXPECT_EQ(sim.core.selectedMonitor, 1);
    EXPECT_EQ(sim.monitors.OpenHandleCount(), 0u);
}

TEST(DdcSetter, IgnoredMonitorGetsNoTraffic) {
    Desk sim;
    sim.Seed();
    sim.core.table[0].ignoreName = "DELL";
    SetBrightness(sim.core, 10);
    SetColorGain(sim.core, 10, 0);
    EXPECT_EQ(sim.monitors.DdcCallCount(), 0u);
    EXPECT_TRUE(sim.clock.Pauses().empty());
}

TEST(DdcAddressing, ByPlaceAcrossDisplays) {
    Desk sim;
    sim.Seed();
    EXPECT_TRUE(FindEntryOfDisplay(sim.core, sim::SimMonitorApi::DisplayHandleAt(1)));
    EXPECT_EQ(sim.core.selectedMonitor, 2);  // the first monitor of the second display
    SetBrightness(sim.core, 40);
    EXPECT_EQ(sim.Monitor(2).brightness.current, 40u);
    EXPECT_EQ(sim.Monitor(1).brightness.current, 50u);
}

// Pending values go out in order factory reset, preset, input, each with its pause.
TEST(PendingWrite, IsRetriedAndWaitsForTheMonitor) {
    struct Case {
        int failures;  // the monitor refuses this many calls before it accepts one
        int preset, input;
        std::vector<uint32_t> pauses;
    };
    for (const Case& c : {Case{2, 11, 0, {100, 100, 1000}}, Case{0, 8, 15, {1000, 2000}}}) {
        Desk sim;
        sim.Seed();
        MonitorEntry& entry = sim.core.table[0];
        entry.pendingPreset = c.preset;
        entry.pendingInput = c.input;
        entry.contrastMax = 100;
        sim.Monitor(0).ddc = c.failures ? sim::DdcMode::Flaky : sim::DdcMode::Ok;
        sim.Monitor(0).flakyFailures = static_cast<uint32_t>(c.failures);
        bool presetWritten = false;
        WithSelectedMonitor(sim.core, [&](PhysicalHandle monitor) {
            EXPECT_EQ(WritePendingValues(sim.core, monitor, entry, presetWritten), PendingWrites::Done);
        });
        EXPECT_EQ(sim.clock.Pauses(), c.pauses);
        EXPECT_EQ(sim.Monitor(0).preset, static_cast<uint32_t>(c.preset));
        EXPECT_EQ(entry.presetNames[0].View(), PresetName(c.preset));
        EXPECT_EQ(entry.pendingPreset, 0);
        EXPECT_TRUE(presetWritten);
        EXPECT_EQ(entry.readMode, 2);
        if (!c.input) continue;
        EXPECT_EQ(sim.Monitor(0).input, static_cast<uint32_t>(c.input));
        EXPECT_EQ(entry.inputNames[0].View(), InputName(c.input));
        EXPECT_EQ(entry.pendingInput, 0);
        EXPECT_EQ(entry.contrastMax, 0u) << "a new input shows a new picture: read everything again";
    }
}

TEST(PendingWrite, NeverAcceptedStaysPendingFactoryResetIsConsumedAndRestarts) {
    Desk sim;
    sim.Seed();
    MonitorEntry& entry = sim.core.table[0];
    entry.pendingInput = 17;
    sim.Monitor(0).ddc = sim::DdcMode::Dead;
    bool presetWritten = false;
    WithSelectedMonitor(sim.core, [&](PhysicalHandle monitor) { WritePendingValues(sim.core, monitor, entry, presetWritten); });
    EXPECT_EQ(sim.monitors.CallCount("SetVCPFeature"), 10u);
    EXPECT_EQ(sim.clock.Pauses(), std::vector<uint32_t>(9, 100));
    EXPECT_EQ(entry.pendingInput, 17);

    entry.factoryResetPending = 1;
    entry.pendingPreset = 5;
    WithSelectedMonitor(sim.core, [&](PhysicalHandle monitor) {  // consumed even unanswered
        EXPECT_EQ(WritePendingValues(sim.core, monitor, entry, presetWritten), PendingWrites::FactoryReset);
    });
    EXPECT_EQ(entry.factoryResetPending, 0);
    EXPECT_EQ(entry.pendingPreset, 5) << "the rest waits for the next pass";
    EXPECT_TRUE(sim.core.restartflag);
    EXPECT_EQ(sim.window.Commands(), (std::deque<sim::PostedCommand>{{res::kExit, 1}}));
}

}  // namespace
}  // namespace lv
