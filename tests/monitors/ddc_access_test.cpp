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
device = \\.\DISPLAY1
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
device = \\.\DISPLAY2
[monitor]
brightness = 0 30 100
)";

fake::Fleet Fleet(const char* text) {
    fake::FleetParseResult parsed = fake::ParseFleet(text);
    EXPECT_TRUE(parsed.ok) << parsed.error.line << ": " << parsed.error.message;
    return parsed.fleet;
}

fake::FleetMonitor& Monitor(Simulator& sim, std::size_t index) { return *fake::MonitorAt(sim.fleet, index); }

struct RawCase {
    uint32_t min, max, value, raw;
};

class RawConversion : public testing::TestWithParam<RawCase> {};

TEST_P(RawConversion, BrightnessIsWrittenInTheMonitorsRawRange) {
    const RawCase& c = GetParam();
    Simulator sim(Fleet(R"(
[display]
[monitor]
brightness = 0 50 100
)"));
    Monitor(sim, 0).brightness = {c.min, c.min, c.max};
    sim.Seed();
    SetBrightness(sim.core, c.value);
    EXPECT_EQ(Monitor(sim, 0).brightness.current, c.raw);
}

INSTANTIATE_TEST_SUITE_P(Ranges, RawConversion,
                         testing::Values(RawCase{0, 100, 37, 37}, RawCase{20, 80, 37, 42}, RawCase{0, 255, 50, 128},
                                         RawCase{0, 100, 100, 100}, RawCase{10, 50, 100, 50}));

TEST(DdcSetter, RequestEqualToTheStoredValueSendsNothingUnlessValuesAreReread) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    SetBrightness(sim.core, 50);
    EXPECT_EQ(sim.monitors.DdcCallCount(), 0u);
    EXPECT_EQ(sim.core.lastChangedKind, kChangedBrightness);

    sim.core.settings.rereadvalues = true;
    SetBrightness(sim.core, 50);
    EXPECT_EQ(sim.monitors.CallCount("SetMonitorBrightness"), 1u);
}

TEST(DdcSetter, SuccessUpdatesListLabelSliderAndValue) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    SetBrightness(sim.core, 30);
    EXPECT_EQ(sim.core.table[0].brightness, 30u);
    EXPECT_EQ(sim.core.list.Cell(0, kColumnBrightness), "30");
    EXPECT_EQ(sim.view.Text(id::kBrightnessLabel), "Brightness 30");
    EXPECT_EQ(sim.view.SliderPos(id::kBrightnessSlider), 70);
    EXPECT_TRUE(sim.core.ddc.valueChanged);

    sim.core.settings.languageId = kLanguageGerman;
    SetContrast(sim.core, 60);
    EXPECT_EQ(sim.view.Text(id::kContrastLabel), "Kontrast 60");
    EXPECT_EQ(sim.view.SliderPos(id::kContrastSlider), 40);
    EXPECT_EQ(sim.core.lastChangedKind, kChangedContrast);
}

TEST(DdcSetter, SilentMonitorCostsTenAttemptsAndChangesNothing) {
    Simulator sim(Fleet(kDesk));
    Monitor(sim, 0).ddc = fake::DdcMode::Dead;
    sim.Seed();
    SetBrightness(sim.core, 80);
    EXPECT_EQ(sim.monitors.CallCount("SetMonitorBrightness"), 10u);
    EXPECT_EQ(sim.clock.Pauses(), std::vector<uint32_t>(10, 100));
    EXPECT_EQ(Monitor(sim, 0).brightness.current, 50u);
    EXPECT_FALSE(sim.view.Text(id::kBrightnessLabel).has_value());
    EXPECT_EQ(sim.monitors.OpenHandleCount(), 0u);
}

TEST(DdcSetter, FlakyMonitorIsRetriedWithReadBackPauses) {
    Simulator sim(Fleet(kDesk));
    Monitor(sim, 0).ddc = fake::DdcMode::Flaky;
    Monitor(sim, 0).flakyFailures = 2;
    sim.Seed();
    // set fails, 100 ms, set fails, 100 ms, set answers; save fails; the read-back
    // fails and is repeated 50 ms later.
    SetBrightness(sim.core, 80);
    EXPECT_EQ(Monitor(sim, 0).brightness.current, 80u);
    EXPECT_EQ(sim.clock.Pauses(), (std::vector<uint32_t>{100, 100, 50}));
    EXPECT_EQ(sim.core.list.Cell(0, kColumnBrightness), "80");
}

TEST(DdcSetter, ReadBackThatRoundsDifferentlyCountsAsFailure) {
    Simulator sim(Fleet(kDesk));
    Monitor(sim, 0).brightness = {0, 3, 3};  // four raw steps: 50 is written as 2 and reads back as 67
    sim.Seed();
    SetBrightness(sim.core, 50);
    EXPECT_EQ(sim.monitors.CallCount("SetMonitorBrightness"), 10u);
    EXPECT_EQ(sim.core.table[0].brightness, 67u);
    EXPECT_EQ(sim.core.list.Cell(0, kColumnBrightness), "100");  // left as it was
}

TEST(DdcSetter, LimitsClampBrightnessAndContrast) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    MonitorEntry& entry = sim.core.table[0];
    entry.brightnessHigh = 80;
    entry.contrastLow = 30;
    SetBrightness(sim.core, 100);
    SetContrast(sim.core, 0);
    EXPECT_EQ(Monitor(sim, 0).brightness.current, 80u);
    EXPECT_EQ(Monitor(sim, 0).contrast.current, 30u);
}

TEST(DdcSetter, LimitsEnteredTheWrongWayRoundStillGiveAValue) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    sim.core.table[0].brightnessLow = 90;
    sim.core.table[0].brightnessHigh = 10;
    SetBrightness(sim.core, 50);
    EXPECT_EQ(Monitor(sim, 0).brightness.current, 10u);
}

TEST(DdcSetter, SameValuesWritesEveryMonitorClampedByTheSelectedOne) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    sim.core.settings.samevalues = true;
    sim.core.selectedMonitor = 1;
    sim.core.table[1].brightnessHigh = 60;
    SetBrightness(sim.core, 90);
    EXPECT_EQ(Monitor(sim, 0).brightness.current, 60u);
    EXPECT_EQ(Monitor(sim, 1).brightness.current, 20u + 36u);  // 60 % of 20..80
    EXPECT_EQ(Monitor(sim, 2).brightness.current, 60u);
    EXPECT_EQ(sim.core.selectedMonitor, 1);
    EXPECT_EQ(sim.monitors.OpenHandleCount(), 0u);
}

TEST(DdcSetter, IgnoredMonitorGetsNoTraffic) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    sim.core.table[0].ignoreName = "DELL";
    SetBrightness(sim.core, 10);
    SetColorGain(sim.core, 10, 0);
    EXPECT_EQ(sim.monitors.DdcCallCount(), 0u);
    EXPECT_TRUE(sim.clock.Pauses().empty());
}

TEST(DdcSetter, AddressesTheMonitorByItsPlaceAcrossDisplays) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    sim.core.selectedMonitor = 2;  // the first monitor of the second display
    SetBrightness(sim.core, 40);
    EXPECT_EQ(Monitor(sim, 2).brightness.current, 40u);
    EXPECT_EQ(Monitor(sim, 0).brightness.current, 50u);
    EXPECT_EQ(Monitor(sim, 1).brightness.current, 50u);
}

TEST(DdcSetter, DisplayWithoutPhysicalMonitorsIsPassedOverUncounted) {
    Simulator sim(Fleet(kDesk));
    sim.fleet.displays[0].physicalOk = false;
    sim.Seed();
    sim.core.selectedMonitor = 0;  // the count now reaches the second display first
    SetBrightness(sim.core, 40);
    EXPECT_EQ(Monitor(sim, 2).brightness.current, 40u);
}

TEST(DdcSetter, GainWriteReadsBackAndShowsTheGain) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    SetColorGain(sim.core, 200, 2);
    EXPECT_EQ(Monitor(sim, 0).blue.current, 200u);
    EXPECT_EQ(sim.core.list.Cell(0, kColumnBlue), "200");
    EXPECT_EQ(sim.view.Text(id::kRedLabel + 2), "B:200");
    EXPECT_EQ(sim.view.SliderPos(id::kRedSlider + 2), 55);
    EXPECT_EQ(sim.core.lastChangedKind, kChangedBlue);
}

TEST(DdcRead, BrightnessReadMarksAChangedValue) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    Monitor(sim, 0).brightness.current = 65;  // changed at the monitor's own buttons
    EXPECT_TRUE(ReadBrightness(sim.core));
    EXPECT_EQ(sim.core.table[0].brightness, 65u);
    EXPECT_TRUE(sim.core.ddc.readDone);
    EXPECT_TRUE(sim.core.ddc.valueChanged);
}

TEST(DdcRead, GainsCountOnlyWithARange) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    Monitor(sim, 0).red = {0, 7, 0};  // no range: read again, up to three times
    MonitorEntry& entry = sim.core.table[0];
    WithSelectedMonitor(sim.core, [&](PhysicalHandle monitor) { ReadGains(sim.core, monitor, entry); });
    EXPECT_EQ(sim.monitors.CallCount("GetMonitorRedGreenOrBlueGain"), 5u);
    EXPECT_EQ(sim.clock.Pauses(), (std::vector<uint32_t>{50, 50}));
    EXPECT_EQ(entry.green, 128u);
}

TEST(DdcRead, CurrentPresetAndInputAreStoredByName) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    Monitor(sim, 0).preset = 12;
    Monitor(sim, 0).input = 23;
    MonitorEntry& entry = sim.core.table[0];
    WithSelectedMonitor(sim.core, [&](PhysicalHandle monitor) {
        EXPECT_TRUE(ReadCurrentPreset(sim.core, monitor, entry));
        EXPECT_TRUE(ReadCurrentInput(sim.core, monitor, entry));
    });
    EXPECT_EQ(entry.presetNames[0].View(), "User2");
    EXPECT_EQ(entry.userPresetActive, 1);
    EXPECT_EQ(entry.inputNames[0].View(), "23");
}

struct PendingCase {
    const char* name;
    int failures;  // the monitor refuses this many calls before it accepts one
    int preset, input;
    std::vector<uint32_t> pauses;
};

class PendingWrite : public testing::TestWithParam<PendingCase> {};

TEST_P(PendingWrite, IsRetriedAndWaitsForTheMonitor) {
    const PendingCase& c = GetParam();
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    MonitorEntry& entry = sim.core.table[0];
    entry.pendingPreset = c.preset;
    entry.pendingInput = c.input;
    entry.contrastMax = 100;
    Monitor(sim, 0).ddc = c.failures ? fake::DdcMode::Flaky : fake::DdcMode::Ok;
    Monitor(sim, 0).flakyFailures = static_cast<uint32_t>(c.failures);
    bool presetWritten = false;
    WithSelectedMonitor(sim.core, [&](PhysicalHandle monitor) {
        EXPECT_EQ(WritePendingValues(sim.core, monitor, entry, presetWritten), PendingWrites::Done);
    });
    EXPECT_EQ(sim.clock.Pauses(), c.pauses);
    if (c.preset) {
        EXPECT_EQ(Monitor(sim, 0).preset, static_cast<uint32_t>(c.preset));
        EXPECT_EQ(entry.presetNames[0].View(), PresetName(c.preset));
        EXPECT_EQ(entry.pendingPreset, 0);
        EXPECT_TRUE(presetWritten);
        EXPECT_EQ(entry.readMode, 2);
    }
    if (c.input) {
        EXPECT_EQ(Monitor(sim, 0).input, static_cast<uint32_t>(c.input));
        EXPECT_EQ(entry.inputNames[0].View(), InputName(c.input));
        EXPECT_EQ(entry.pendingInput, 0);
        EXPECT_EQ(entry.contrastMax, 0u) << "a new input shows a new picture: read everything again";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Writes, PendingWrite,
    testing::Values(PendingCase{"PresetAtOnce", 0, 5, 0, {1000}},
                    PendingCase{"PresetAtTheThirdAttempt", 2, 11, 0, {100, 100, 1000}},
                    PendingCase{"InputAtOnce", 0, 0, 17, {2000}},
                    PendingCase{"PresetThenInput", 0, 8, 15, {1000, 2000}}),
    [](const testing::TestParamInfo<PendingCase>& info) { return std::string(info.param.name); });

TEST(PendingWriteFailure, NeverAcceptedStaysPendingAfterTenAttempts) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    MonitorEntry& entry = sim.core.table[0];
    entry.pendingInput = 17;
    Monitor(sim, 0).ddc = fake::DdcMode::Dead;
    bool presetWritten = false;
    WithSelectedMonitor(sim.core, [&](PhysicalHandle monitor) { WritePendingValues(sim.core, monitor, entry, presetWritten); });
    EXPECT_EQ(sim.monitors.CallCount("SetVCPFeature"), 10u);
    EXPECT_EQ(sim.clock.Pauses(), std::vector<uint32_t>(9, 100));
    EXPECT_EQ(entry.pendingInput, 17);
}

TEST(PendingWriteFailure, FactoryResetIsConsumedAndRestartsTheProgram) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    MonitorEntry& entry = sim.core.table[0];
    entry.factoryResetPending = 1;
    entry.pendingPreset = 5;
    Monitor(sim, 0).ddc = fake::DdcMode::Dead;  // consumed even when the monitor does not answer
    bool presetWritten = false;
    WithSelectedMonitor(sim.core, [&](PhysicalHandle monitor) {
        EXPECT_EQ(WritePendingValues(sim.core, monitor, entry, presetWritten), PendingWrites::FactoryReset);
    });
    EXPECT_EQ(entry.factoryResetPending, 0);
    EXPECT_EQ(entry.pendingPreset, 5) << "the rest waits for the next pass";
    EXPECT_TRUE(sim.core.restartflag);
    ASSERT_EQ(sim.window.Commands().size(), 1u);
    EXPECT_EQ(sim.window.Commands()[0], (fake::PostedCommand{id::kCmdExit, 1}));
}

TEST(DdcAddressing, FindsTheFirstEntryOfADisplay) {
    Simulator sim(Fleet(kDesk));
    sim.Seed();
    EXPECT_TRUE(FindEntryOfDisplay(sim.core, fake::FakeMonitorApi::DisplayHandleAt(1)));
    EXPECT_EQ(sim.core.selectedMonitor, 2);
    EXPECT_FALSE(FindEntryOfDisplay(sim.core, 0x1234));
    EXPECT_EQ(sim.core.selectedMonitor, 2);
}

TEST(DdcAddressing, SaveAllReachesEveryMonitorAndReleasesThem) {
    Simulator sim(Fleet(kDesk));
    SaveAllMonitorSettings(sim.core);
    EXPECT_EQ(sim.monitors.CallCount("SaveCurrentMonitorSettings"), 3u);
    EXPECT_EQ(sim.monitors.OpenHandleCount(), 0u);
}

TEST(DdcAddressing, SelectionBeyondTheMonitorsReachesNothing) {
    Simulator sim(Fleet(kDesk));
    sim.core.selectedMonitor = 7;
    EXPECT_FALSE(WithSelectedMonitor(sim.core, [](PhysicalHandle) { FAIL(); }));
    EXPECT_EQ(sim.monitors.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace lv
