#include "monitors/enumeration.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "monitors/ddc_access.h"
#include "tools/simulator.h"

namespace lv {
namespace {

using sim::Simulator;

sim::Fleet Fleet(const std::string& text) {
    sim::FleetParseResult parsed = sim::ParseFleet(text);
    EXPECT_TRUE(parsed.ok) << parsed.error.line << ": " << parsed.error.message;
    return parsed.fleet;
}

constexpr const char* kDellDisplay = R"(
[display]
device = \\.\DISPLAY1
friendly = DELL U2719D
path = \\?\DISPLAY#DEL4220#5&1a2b3c4d&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
technology = 10
serial = 7MT0193A1B2C
year = 2019
[monitor]
brightness = 0 70 100
contrast = 0 75 100
red = 0 50 100
capabilities = (prot(monitor)type(LCD)model(U2719D)vcp(10 12 14(05 08 0B) 16 18 1A 60(0F 11)))
preset = 5
input = 15
)";

std::string Row(const Simulator& sim, int row) {
    std::string text;
    for (int column = 0; column < kListColumns; ++column) text += (column ? "|" : "") + sim.core.list.Cell(row, column);
    return text;
}

std::string Repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

TEST(Enumeration, IdentifiesAMonitorThroughTheTopologyAndWmi) {
    Simulator sim(Fleet(kDellDisplay));
    sim.Start();
    const MonitorEntry& e = sim.core.table[0];
    EXPECT_EQ(Row(sim, 0), "DELLU2719D|70|75|128|128|128");
    EXPECT_EQ(e.modelName.View(), "DELL U2719D");
    EXPECT_EQ(e.deviceName.View(), "DISPLAY1");
    EXPECT_EQ(e.connectionName.View(), "external DisplayPort");
    EXPECT_EQ(e.instanceId.View(), "5&1a2b3c4d&0&UID4352");
    EXPECT_EQ(e.manufacturerName.View(), "Dell");
    EXPECT_EQ(e.productCode.View(), "4220");
    EXPECT_EQ(e.serialNumber.View(), "7MT0193A1B2C");
    EXPECT_EQ(e.yearOfManufacture, 2019);
    EXPECT_EQ(e.capabilitiesModel.View(), "U2719D");
    EXPECT_EQ(sim.core.presetChoice.items, (std::vector<std::string>{"6500K", "9300K", "User1"}));
    EXPECT_EQ(sim.core.presetChoice.CurrentText(), "6500K");
    EXPECT_EQ(sim.core.inputChoice.items, (std::vector<std::string>{"DisplayPort1", "HDMI1"}));
    EXPECT_EQ(sim.monitors.OpenHandleCount(), 0u);
}

// Without a friendly name: the EDID's text, then the ids; the default driver, which knows
// no model, leaves the device name.
TEST(Enumeration, EmptyModelNameFallsBackToTheEdidThenTheIdsThenTheDevice) {
    std::string text = kDellDisplay;
    text.replace(text.find("friendly = DELL U2719D"), 22, "friendly =");
    std::vector<uint8_t> edid(128, 0);  // an alphanumeric descriptor (0xFE) at 72: "U2719D X"
    edid[72 + 3] = 0xFE;
    std::memcpy(&edid[72 + 5], "U2719D X\n    ", 13);

    Simulator withEdid(Fleet(text));
    withEdid.fleet.displays[0].edid = edid;
    withEdid.Start();
    EXPECT_EQ(withEdid.core.table[0].modelName.View(), "U2719D-X");

    Simulator withoutEdid(Fleet(text));
    withoutEdid.Start();
    EXPECT_EQ(withoutEdid.core.list.Cell(0, kColumnName), "DEL4220");

    Simulator defaultDriver(Fleet(
        "[display]\ndevice = \\\\.\\DISPLAY2\n"
        "path = \\\\?\\DISPLAY#Default_Monitor#4&2a1b&0&UID0#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}\n[monitor]\n"));
    defaultDriver.Start();
    EXPECT_EQ(defaultDriver.core.table[0].manufacturerId.View(), "Default");
    EXPECT_EQ(defaultDriver.core.list.Cell(0, kColumnName), "DISPLAY2");
}

TEST(Enumeration, LaptopPanelWithoutDdcShowsBrightnessAndADot) {
    Simulator sim(Fleet(R"(
[display]
path = \\?\DISPLAY#LGD05E5#4&2c3b1a0f&0&UID8388688#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
technology = 0x80000000
serial = 0
[monitor]
ddc = dead
[panel]
current = 40
)"));
    sim.Start();
    EXPECT_EQ(Row(sim, 0), "LGD05E5|40|.|||");
    EXPECT_EQ(sim.core.table[0].isLaptopPanel, 1);
    EXPECT_TRUE(sim.core.table[0].serialNumber.Empty()) << "a serial number of one character identifies nothing";
}

TEST(Enumeration, RowsStopAtTenAndAtADisplayWhoseMonitorsCannotBeHad) {
    // One display with four physical monitors after eight single ones: rows stop at ten.
    const std::string single = "[display]\n[monitor]\n";
    Simulator sim(Fleet(Repeat(single, 8) + "[display]\n" + Repeat("[monitor]\n", 4) + single));
    sim.Start();
    EXPECT_EQ(sim.core.list.Rows(), kMaxMonitors);
    EXPECT_TRUE(sim.core.enumeration.severalPhysicalMonitors);
    EXPECT_EQ(sim.monitors.OpenHandleCount(), 0u);

    Simulator failing(Fleet(std::string(kDellDisplay) + "[display]\nphysical = fail\n[monitor]\n" + single));
    failing.Start();
    EXPECT_EQ(failing.core.list.Rows(), 1);
    EXPECT_TRUE(failing.core.enumeration.enumerationFailed);
}

// The saved slot order no longer matches the monitors: the ignored monitor shows in row 2,
// its slot is 0. Identification decides the match before any DDC/CI, so the monitor in
// row 0 is read and the ignored one hears nothing, in the one pass the others' answers allow.
// The slot moves with its monitor (named by its joined name words) and stays there in later
// passes, which send it nothing either.
TEST(Enumeration, StaleIgnoreSlotSilencesOnlyTheMonitorItNames) {
    Simulator sim(Fleet("[display]\nfriendly = FIRST\n[monitor]\n[display]\nfriendly = SECOND\n[monitor]\n"
                        "[display]\nfriendly = THIRD ONE\n[monitor]\n"));
    for (sim::FleetDisplay& display : sim.fleet.displays)
        display.path = "\\\\?\\DISPLAY#ABC0001#x&" + display.friendly.substr(0, 1) + "#{0}";
    sim.core.table[0].ignoreName = "THIRDONE";
    sim.Start();
    EXPECT_EQ(sim.monitors.CallCount("EnumDisplayMonitors"), 1u);
    EXPECT_EQ(Row(sim, 0), "FIRST|50|50|128|128|128");
    EXPECT_EQ(Row(sim, 1), "SECOND|50|50|128|128|128");
    EXPECT_EQ(Row(sim, 2), "ignore_THIRDONE|?|?|||");
    EXPECT_TRUE(sim.core.table[0].ignoreName.Empty());
    EXPECT_EQ(sim.core.table[2].ignoreName.View(), "THIRDONE");

    sim.core.settings.rereadvalues = true;
    sim.core.RefreshPopup(0);
    EXPECT_EQ(sim.core.table[2].ignoreName.View(), "THIRDONE");
    for (const std::string& call : sim.monitors.CallLog()) EXPECT_EQ(call.find("mon=2 "), std::string::npos) << call;
}

// Whatever length a driver reports, the reply buffer asked for stays within what a
// capabilities string can be, so an absurd length costs no absurd buffer.
TEST(Enumeration, CapabilitiesRequestIsBoundedWhateverLengthTheDriverReports) {
    std::string text = kDellDisplay;
    text += "capabilitieslength = 0xFFFFFFFF\n[display]\n[monitor]\n";
    Simulator sim(Fleet(text));
    sim.Start();
    std::vector<std::string> requests;
    for (const std::string& call : sim.monitors.CallLog())
        if (call.find("CapabilitiesRequestAndCapabilitiesReply") != std::string::npos) requests.push_back(call);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].find("length=" + std::to_string(kMaxCapabilitiesRequest) + " -> ok"), std::string::npos)
        << requests[0];
    EXPECT_EQ(sim.core.presetChoice.items, (std::vector<std::string>{"6500K", "9300K", "User1"}));
    EXPECT_EQ(sim.core.list.Rows(), 2);
    EXPECT_EQ(sim.monitors.OpenHandleCount(), 0u);
}

TEST(Enumeration, CapabilitiesAttemptLimitDropsToOneAfterFiftyFailures) {
    Simulator sim(Fleet("[display]\n[monitor]\ncapabilities =\n[display]\n[monitor]\ncapabilities =\n"));
    sim.Start();
    EXPECT_EQ(sim.monitors.CallCount("GetCapabilitiesStringLength"), 51u);
    EXPECT_EQ(sim.core.enumeration.capabilitiesAttemptLimit, 1);
    EXPECT_EQ(sim.core.table[0].capabilitiesAttempt, 49);
    std::size_t capabilityPauses = 0;
    for (uint32_t pause : sim.clock.Pauses()) capabilityPauses += pause == kCapabilitiesPauseMs;
    EXPECT_EQ(capabilityPauses, 51u);
}

// The pass writes what the popup left pending (the retries and pauses are the pending
// write's own, tested beside it); a factory reset restarts the program.
TEST(Enumeration, PendingPresetIsWrittenByThePassAFactoryResetEndsIt) {
    Simulator sim(Fleet(kDellDisplay));
    sim.Seed();
    sim::FleetMonitor& monitor = sim.fleet.displays[0].monitors[0];
    sim.core.table[0].pendingPreset = 11;
    sim.core.RefreshPopup(0);
    EXPECT_EQ(monitor.preset, 11u);
    EXPECT_EQ(sim.core.presetChoice.CurrentText(), "User1");

    monitor.brightness.current = 10;
    sim.monitors.CaptureFactoryDefaults();
    monitor.brightness.current = 90;
    sim.core.table[0].factoryResetPending = 1;
    sim.core.RefreshPopup(0);
    EXPECT_EQ(monitor.brightness.current, 10u);
    EXPECT_TRUE(sim.core.restartflag);
}

TEST(RefreshPasses, SilentMonitorsGetTenPassesThenTheSelectionStays) {
    Simulator sim(Fleet("[display]\n[monitor]\nddc = dead\n[display]\n[monitor]\nddc = dead\n"));
    sim.core.selectedMonitor = 5;
    EXPECT_FALSE(EnumerateUntilAnswered(sim.core));
    EXPECT_EQ(sim.monitors.CallCount("EnumDisplayMonitors"), 10u);
    EXPECT_EQ(sim.core.selectedMonitor, 5);
    EXPECT_EQ(Row(sim, 1), "DISPLAY2|?|?|||");
}

}  // namespace
}  // namespace lv
