#include "platform/sim/sim_monitor_api.h"

#include <gtest/gtest.h>

#include <functional>

namespace lv::sim {
namespace {

// Monitor 0 is the one under test (its ddc line is appended); monitor 1 always answers.
constexpr std::string_view kFleet =
    "[display]\n[monitor]\nbrightness = 20 50 80\nred = 0 128 255\npreset = 5\n"
    "capabilities = (vcp(10 12 14(05 08) 60(0F 11)))\n";

class SimMonitorApiTest : public ::testing::Test {
protected:
    void Make(std::string_view ddc) {
        fleet_ = ParseFleet(std::string(kFleet) + std::string(ddc) + "[monitor]\n").fleet;
        api_.emplace(fleet_, clock_);
        ASSERT_TRUE(api_->GetPhysicalMonitorsFromHMONITOR(SimMonitorApi::DisplayHandleAt(0), 2, monitors_));
    }
    FleetMonitor& Monitor() { return fleet_.displays[0].monitors[0]; }

    Fleet fleet_;
    SimClock clock_;
    std::optional<SimMonitorApi> api_;
    std::vector<PhysicalMonitor> monitors_;
    uint32_t min_ = 0, current_ = 0, max_ = 0;
    VcpReply reply_;
    std::string text_;
};

TEST_F(SimMonitorApiTest, OkDeadAndFlakyMonitorsAcrossAllCallKinds) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", "+++++++++"},         {"ddc = dead\n", "---------"},    {"ddc = flaky 0\n", "+++++++++"},
        {"ddc = flaky 1\n", "-+-+-+-+-"}, {"ddc = flaky 2\n", "--+--+--+"},
    };
    for (const auto& [ddc, expected] : cases) {
        Make(ddc);
        const PhysicalHandle h = monitors_[0].handle;
        SimMonitorApi& api = *api_;
        const std::function<bool()> calls[] = {
            [&] { return api.GetMonitorBrightness(h, min_, current_, max_); },
            [&] { return api.SetMonitorContrast(h, 40); },
            [&] { return api.GetVCPFeatureAndVCPFeatureReply(h, 0x10, reply_); },
            [&] { return api.SaveCurrentMonitorSettings(h); },
            [&] { return api.GetMonitorRedGreenOrBlueGain(h, GainType::Blue, min_, current_, max_); },
            [&] { return api.SetMonitorBrightness(h, 30); },
            [&] { return api.SetMonitorRedGreenOrBlueGain(h, GainType::Red, 50); },
            [&] { return api.CapabilitiesRequestAndCapabilitiesReply(h, 100, text_); },
            [&] { return api.SetVCPFeature(h, 0x60, 15); }};
        std::string results;
        for (const auto& call : calls) {
            results += call() ? '+' : '-';
            // Calls to another monitor do not advance this monitor's count.
            EXPECT_TRUE(api.SetMonitorBrightness(monitors_[1].handle, 60));
        }
        EXPECT_EQ(results, expected) << ddc;
        // A failed set stores nothing.
        EXPECT_EQ(Monitor().contrast.current, results[1] == '+' ? 40u : 50u) << ddc;
        EXPECT_EQ(Monitor().brightness.current, results[5] == '+' ? 30u : 50u) << ddc;
        EXPECT_EQ(Monitor().input, results[8] == '+' ? 15u : 0u) << ddc;
    }
}

// Presets, inputs and the factory reset are exercised by the enumeration tests.
TEST_F(SimMonitorApiTest, CallsNeedAnOpenHandleAndSetsStayInTheRawRange) {
    Make("");
    const PhysicalHandle handle = monitors_[0].handle;
    for (const auto& [value, ok] : {std::pair{19u, false}, {20u, true}, {80u, true}, {81u, false}}) {
        EXPECT_EQ(api_->SetMonitorBrightness(handle, value), ok) << value;
        EXPECT_EQ(api_->SetVCPFeature(handle, 0x10, value), ok) << value;
    }
    EXPECT_FALSE(api_->SetMonitorRedGreenOrBlueGain(handle, GainType::Red, 256));
    EXPECT_FALSE(api_->SetVCPFeature(handle, 0xDC, 1)) << "a code the monitor does not have";
    EXPECT_EQ(Monitor().brightness, (FleetRange{20, 80, 80}));
    EXPECT_EQ(Monitor().red.current, 128u);

    uint32_t length = 0;
    ASSERT_TRUE(api_->GetCapabilitiesStringLength(handle, length));
    EXPECT_EQ(length, Monitor().capabilities.size() + 1);  // counts the terminator
    EXPECT_FALSE(api_->GetCapabilitiesStringLength(monitors_[1].handle, length));  // has none

    EXPECT_TRUE(api_->DestroyPhysicalMonitors(monitors_));
    EXPECT_FALSE(api_->SetMonitorBrightness(handle, 30));
    EXPECT_EQ(Monitor().brightness.current, 80u);
}

}  // namespace
}  // namespace lv::sim
