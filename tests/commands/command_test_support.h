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

// A simulator over the fleet text, seeded as start-up leaves it (row 0 selected).
inline std::unique_ptr<sim::Simulator> Seeded(std::string_view fleetText) {
    fake::FleetParseResult parsed = fake::ParseFleet(fleetText);
    EXPECT_TRUE(parsed.ok) << "fleet line " << parsed.error.line << ": " << parsed.error.message;
    auto simulator = std::make_unique<sim::Simulator>(std::move(parsed.fleet));
    simulator->Seed();
    return simulator;
}

// Counts refresh requests without running the enumeration pass behind them, so a test
// sees what the command itself left pending.
inline void CountRefreshesOnly(sim::Simulator& s) {
    s.core.refreshPopup = [&s](int) { ++s.refreshRequests; };
}

// The simulated hardware behind physical monitor `index` (enumeration order).
inline fake::FleetMonitor& Hw(sim::Simulator& s, std::size_t index) { return *fake::MonitorAt(s.fleet, index); }

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

inline std::vector<uint32_t> Repeated(std::size_t count, uint32_t value) { return std::vector<uint32_t>(count, value); }

}  // namespace lv::test
