// Helpers shared by the command-language tests: a seeded simulator and short names for
// what the tests look at.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/simulator.h"

namespace lv::test {

// The desk most command tests run on. Row 0, NOVAU27: raw ranges 0..100 and 0..255,
// presets sRGB, 6500K, User1 (current sRGB) and inputs DisplayPort1, HDMI1, HDMI2
// (current DisplayPort1). Row 1, ORION243: brightness on raw 20..80, found as pl2779q only
// through its capabilities model, presets 6500K, 9300K, User2 and inputs VGA1, DVI1,
// HDMI1. Row 2, ZETA24: silent, its list row shows "?".
inline constexpr std::string_view kDesk = R"(
[display]
friendly = NOVA U27
path = \\?\DISPLAY#NOV0027#5&1a2b3c4d&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
serial = 7MT0193A1B2C
[monitor]
brightness = 0 70 100
contrast = 0 75 100
red = 0 128 255
green = 0 128 255
blue = 0 200 255
capabilities = (prot(monitor)type(LCD)model(U2719D)vcp(10 12 14(01 05 0B) 16 18 1A 60(0F 11 12)))
preset = 1
input = 0x0F

[display]
friendly = ORION 243
path = \\?\DISPLAY#ORI0243#5&1a2b3c4d&0&UID4357#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
serial = UK01919012345
[monitor]
brightness = 20 50 80
contrast = 0 40 100
capabilities = (prot(monitor)type(lcd)model(PL2779Q)vcp(10 12 14(05 08 0C) 60(01 03 11)))
preset = 0x0C
input = 0x11

[display]
friendly = ZETA 24
[monitor]
ddc = dead
)";

// A simulator over the fleet text, seeded as start-up leaves it (row 0 selected).
inline std::unique_ptr<sim::Simulator> Seeded(std::string_view fleetText = kDesk) {
    sim::FleetParseResult parsed = sim::ParseFleet(fleetText);
    EXPECT_TRUE(parsed.ok) << "fleet line " << parsed.error.line << ": " << parsed.error.message;
    auto simulator = std::make_unique<sim::Simulator>(std::move(parsed.fleet));
    simulator->Seed();
    return simulator;
}

// Counts refresh requests without running the refresh behind them, so a test sees what
// the command itself left pending. Returns the count.
inline std::shared_ptr<int> CountRefreshesOnly(sim::Simulator& s) {
    auto count = std::make_shared<int>(0);
    s.core.actions.refreshPopup = [count](int) { ++*count; };
    return count;
}

// The simulated hardware behind physical monitor `index` (enumeration order).
inline sim::FleetMonitor& Hw(sim::Simulator& s, std::size_t index) { return *sim::MonitorAt(s.fleet, index); }

// Writes of picture values that reached a monitor (successful or not).
inline std::size_t ValueWrites(const sim::Simulator& s) {
    return s.monitors.CallCount("SetMonitorBrightness") + s.monitors.CallCount("SetMonitorContrast") +
           s.monitors.CallCount("SetMonitorRedGreenOrBlueGain") + s.monitors.CallCount("SetVCPFeature");
}

// The values of SetMonitorBrightness calls in the order they were made.
inline std::vector<std::string> BrightnessWrites(const sim::Simulator& s) {
    std::vector<std::string> writes;
    for (const std::string& line : s.monitors.CallLog()) {
        const std::size_t at = line.find("SetMonitorBrightness ");
        if (at == std::string::npos) continue;
        const std::size_t arrow = line.find(" ->");
        writes.push_back(line.substr(at + 21, arrow - at - 21));
    }
    return writes;
}

// The four limits of an entry.
inline void ExpectLimits(const MonitorEntry& e, uint32_t bLow, uint32_t bHigh, uint32_t cLow, uint32_t cHigh) {
    EXPECT_EQ(e.brightnessLow, bLow);
    EXPECT_EQ(e.brightnessHigh, bHigh);
    EXPECT_EQ(e.contrastLow, cLow);
    EXPECT_EQ(e.contrastHigh, cHigh);
}

inline std::vector<uint32_t> Repeated(std::size_t count, uint32_t value) { return std::vector<uint32_t>(count, value); }

}  // namespace lv::test
