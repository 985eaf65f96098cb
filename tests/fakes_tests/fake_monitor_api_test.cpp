#include "fakes/fake_monitor_api.h"

#include <gtest/gtest.h>

#include <functional>

namespace lv::fake {
namespace {

// Display 0: monitors 0 (ok) and 1 (flaky 2); display 1: monitor 2 (dead);
// display 2: physical query fails, monitor 3.
constexpr std::string_view kFleet = R"(
[display]
device = \\.\DISPLAY1
rect = 0 0 1920 1080
[monitor]
description = Écran A
brightness = 20 50 80
red = 0 128 255
capabilities = (vcp(10 12 14(05 08) 60(0F 11)))
preset = 5
input = 15
[monitor]
ddc = flaky 2
[display]
device = \\.\DISPLAY2
rect = -1280 0 0 1024
[monitor]
ddc = dead
[display]
physical = fail
[monitor]
)";

class FakeMonitorApiTest : public ::testing::Test {
protected:
    FakeMonitorApiTest() : fleet_(ParseFleet(kFleet).fleet), api_(fleet_, clock_) {}

    std::vector<PhysicalMonitor> Open(std::size_t display) {
        const DisplayHandle handle = FakeMonitorApi::DisplayHandleAt(display);
        uint32_t count = 0;
        std::vector<PhysicalMonitor> monitors;
        EXPECT_TRUE(api_.GetNumberOfPhysicalMonitorsFromHMONITOR(handle, count));
        EXPECT_TRUE(api_.GetPhysicalMonitorsFromHMONITOR(handle, count, monitors));
        return monitors;
    }

    // One call of each kind; the last one stores input 15.
    std::vector<std::function<bool()>> DdcCalls(PhysicalHandle h) {
        return {[=, this] { return api_.GetMonitorBrightness(h, min_, current_, max_); },
                [=, this] { return api_.SetMonitorContrast(h, 40); },
                [=, this] { return api_.GetVCPFeatureAndVCPFeatureReply(h, 0x10, reply_); },
                [=, this] { return api_.SaveCurrentMonitorSettings(h); },
                [=, this] { return api_.GetMonitorRedGreenOrBlueGain(h, GainType::Blue, min_, current_, max_); },
                [=, this] { return api_.SetMonitorBrightness(h, 10); },
                [=, this] { return api_.SetMonitorRedGreenOrBlueGain(h, GainType::Red, 50); },
                [=, this] { return api_.CapabilitiesRequestAndCapabilitiesReply(h, 100, text_); },
                [=, this] { return api_.SetVCPFeature(h, 0x60, 15); }};
    }

    Fleet fleet_;
    FakeClock clock_;
    FakeMonitorApi api_;
    uint32_t min_ = 0, current_ = 0, max_ = 0;
    VcpReply reply_;
    std::string text_;
};

TEST_F(FakeMonitorApiTest, EnumerationWalksDisplaysInOrderUntilTheCallbackStops) {
    std::vector<std::pair<DisplayHandle, Rect>> seen;
    EXPECT_TRUE(api_.EnumDisplayMonitors([&](DisplayHandle handle, const Rect& rect) {
        seen.emplace_back(handle, rect);
        return seen.size() < 2;
    }));
    ASSERT_EQ(seen.size(), 2u);  // stopped after the second
    EXPECT_EQ(seen[0].first, FakeMonitorApi::DisplayHandleAt(0));
    EXPECT_EQ(seen[1], std::pair(FakeMonitorApi::DisplayHandleAt(1), Rect{-1280, 0, 0, 1024}));
}

TEST_F(FakeMonitorApiTest, MonitorInfoAndMonitorFromPoint) {
    MonitorInfo info;
    ASSERT_TRUE(api_.GetMonitorInfoA(FakeMonitorApi::DisplayHandleAt(0), info));
    EXPECT_EQ(info.deviceName, "\\\\.\\DISPLAY1");
    EXPECT_EQ(info.work, info.monitor);
    EXPECT_EQ(info.flags, kMonitorInfoPrimary);
    ASSERT_TRUE(api_.GetMonitorInfoA(FakeMonitorApi::DisplayHandleAt(1), info));
    EXPECT_EQ(info.flags, 0u);
    EXPECT_FALSE(api_.GetMonitorInfoA(0, info));

    const std::pair<Point, DisplayHandle> cases[] = {
        {{0, 0}, FakeMonitorApi::DisplayHandleAt(0)},    {{1919, 1079}, FakeMonitorApi::DisplayHandleAt(0)},
        {{-1, 0}, FakeMonitorApi::DisplayHandleAt(1)},   {{1920, 0}, FakeMonitorApi::DisplayHandleAt(2)},
        {{0, 1080}, 0} /* right edges are exclusive */, {{-1, 1024}, 0},
    };
    for (const auto& [point, display] : cases) EXPECT_EQ(api_.MonitorFromPoint(point), display) << point.x << "," << point.y;
}

TEST_F(FakeMonitorApiTest, PhysicalHandlesStayOpenUntilDestroyedAndFailedQueriesOpenNothing) {
    const auto first = Open(0);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].description, u"Écran A");
    EXPECT_EQ(first[1].description, u"Generic PnP Monitor");
    const auto second = Open(1);
    EXPECT_EQ(Open(0)[0].handle, first[0].handle);  // stable across opens
    EXPECT_EQ(api_.OpenHandleCount(), 5u);

    EXPECT_TRUE(api_.DestroyPhysicalMonitors(first));
    EXPECT_TRUE(api_.DestroyPhysicalMonitors(first));
    EXPECT_FALSE(api_.DestroyPhysicalMonitors(first));  // already closed twice
    // A list with one closed handle closes nothing.
    EXPECT_FALSE(api_.DestroyPhysicalMonitors({second[0], first[0]}));
    EXPECT_EQ(api_.OpenHandleCount(), 1u);

    // Failed queries open nothing.
    uint32_t count = 0;
    std::vector<PhysicalMonitor> monitors;
    const DisplayHandle failing = FakeMonitorApi::DisplayHandleAt(2);
    EXPECT_TRUE(api_.GetNumberOfPhysicalMonitorsFromHMONITOR(failing, count));
    EXPECT_EQ(count, 1u);
    EXPECT_FALSE(api_.GetPhysicalMonitorsFromHMONITOR(failing, count, monitors));
    EXPECT_FALSE(api_.GetPhysicalMonitorsFromHMONITOR(FakeMonitorApi::DisplayHandleAt(0), 1, monitors));  // wrong count
    EXPECT_FALSE(api_.GetNumberOfPhysicalMonitorsFromHMONITOR(12345, count));
    EXPECT_TRUE(monitors.empty());
    EXPECT_EQ(api_.OpenHandleCount(), 1u);
}

TEST_F(FakeMonitorApiTest, DdcCallsNeedAnOpenHandle) {
    const PhysicalHandle handle = FakeMonitorApi::PhysicalHandleAt(0);
    EXPECT_FALSE(api_.GetMonitorBrightness(handle, min_, current_, max_));
    const auto monitors = Open(0);
    EXPECT_TRUE(api_.GetMonitorBrightness(handle, min_, current_, max_));
    EXPECT_TRUE(api_.DestroyPhysicalMonitors(monitors));
    EXPECT_FALSE(api_.SetMonitorBrightness(handle, 30));
    EXPECT_FALSE(api_.SaveCurrentMonitorSettings(999));
    EXPECT_EQ(api_.DdcCallCount(), 1u);
    EXPECT_EQ(api_.ClosedHandleCallCount(), 3u);
    EXPECT_EQ(fleet_.displays[0].monitors[0].brightness.current, 50u);
}

TEST_F(FakeMonitorApiTest, FlakyMonitorFailsNTimesThenSucceedsOnceAcrossAllCallKinds) {
    const auto monitors = Open(0);
    std::vector<bool> results;
    uint32_t length = 0;
    for (const auto& call : DdcCalls(monitors[1].handle)) {
        results.push_back(call());
        // Calls to another monitor do not advance this monitor's count.
        EXPECT_TRUE(api_.GetCapabilitiesStringLength(monitors[0].handle, length));
    }
    EXPECT_EQ(results, (std::vector<bool>{false, false, true, false, false, true, false, false, true}));
    const FleetMonitor& flaky = fleet_.displays[0].monitors[1];
    EXPECT_EQ(flaky.contrast.current, 50u);  // the failed set stored nothing
    EXPECT_EQ(flaky.brightness.current, 10u);
    EXPECT_EQ(flaky.input, 15u);
}

TEST_F(FakeMonitorApiTest, FlakyCycleLengthFollowsN) {
    for (uint32_t n : {0u, 1u, 3u}) {
        fleet_.displays[0].monitors[0].ddc = DdcMode::Flaky;
        fleet_.displays[0].monitors[0].flakyFailures = n;
        FakeMonitorApi api(fleet_, clock_);
        std::vector<PhysicalMonitor> monitors;
        ASSERT_TRUE(api.GetPhysicalMonitorsFromHMONITOR(FakeMonitorApi::DisplayHandleAt(0), 2, monitors));
        std::vector<bool> results;
        for (uint32_t i = 0; i < 2 * (n + 1); ++i) results.push_back(api.SaveCurrentMonitorSettings(monitors[0].handle));
        std::vector<bool> expected(2 * (n + 1), false);
        expected[n] = expected[2 * n + 1] = true;
        EXPECT_EQ(results, expected) << n;
    }
}

TEST_F(FakeMonitorApiTest, DeadMonitorFailsEveryDdcCall) {
    const auto calls = DdcCalls(Open(1).at(0).handle);
    for (std::size_t i = 0; i < calls.size(); ++i) EXPECT_FALSE(calls[i]()) << i;
    EXPECT_EQ(api_.DdcCallCount(), calls.size());
    EXPECT_EQ(fleet_.displays[1].monitors[0].input, 0u);
}

TEST_F(FakeMonitorApiTest, SetsOutsideTheRawRangeFail) {
    const PhysicalHandle handle = Open(0).at(0).handle;  // brightness 20..80, red 0..255
    const auto set = [&](char what, uint32_t v) {
        switch (what) {
            case 'b': return api_.SetMonitorBrightness(handle, v);
            case 'v': return api_.SetVCPFeature(handle, 0x10, v);
            case 'c': return api_.SetMonitorContrast(handle, v);
            default: return api_.SetMonitorRedGreenOrBlueGain(handle, GainType::Red, v);
        }
    };
    struct Case {
        char what;
        uint32_t value;
        bool ok;
    };
    for (const Case& c : {Case{'b', 19, false}, Case{'b', 20, true}, Case{'b', 80, true}, Case{'b', 81, false},
                          Case{'v', 81, false}, Case{'c', 101, false}, Case{'r', 255, true}, Case{'r', 256, false}}) {
        const Fleet before = fleet_;
        EXPECT_EQ(set(c.what, c.value), c.ok) << c.what << " " << c.value;
        if (!c.ok) {
            EXPECT_EQ(fleet_, before) << c.what << " " << c.value;
        }
    }
    EXPECT_EQ(fleet_.displays[0].monitors[0].brightness, (FleetRange{20, 80, 80}));
    EXPECT_EQ(fleet_.displays[0].monitors[0].red.current, 255u);
}

TEST_F(FakeMonitorApiTest, VcpPresetInputAndFactoryReset) {
    const PhysicalHandle handle = Open(0).at(0).handle;
    ASSERT_TRUE(api_.GetVCPFeatureAndVCPFeatureReply(handle, 0x14, reply_));
    EXPECT_EQ(reply_.current, 5u);
    EXPECT_TRUE(api_.SetVCPFeature(handle, 0x14, 8));
    EXPECT_TRUE(api_.SetVCPFeature(handle, 0x60, 0x11));
    ASSERT_TRUE(api_.GetVCPFeatureAndVCPFeatureReply(handle, 0x60, reply_));
    EXPECT_EQ(reply_.current, 0x11u);
    EXPECT_EQ(fleet_.displays[0].monitors[0].preset, 8u);

    EXPECT_TRUE(api_.SetMonitorBrightness(handle, 42));
    ASSERT_TRUE(api_.GetVCPFeatureAndVCPFeatureReply(handle, 0x10, reply_));
    EXPECT_EQ(reply_.current, 42u);
    EXPECT_EQ(reply_.maximum, 80u);
    EXPECT_FALSE(api_.GetVCPFeatureAndVCPFeatureReply(handle, 0xDC, reply_));
    EXPECT_FALSE(api_.SetVCPFeature(handle, 0xDC, 1));

    // A factory reset (VCP 0x04, value 1) restores the picture values but not the input.
    ASSERT_TRUE(api_.SetMonitorBrightness(handle, 70));
    ASSERT_TRUE(api_.SetMonitorContrast(handle, 10));
    ASSERT_TRUE(api_.SetMonitorRedGreenOrBlueGain(handle, GainType::Red, 3));
    ASSERT_TRUE(api_.SetVCPFeature(handle, 0x14, 11));
    ASSERT_TRUE(api_.SetVCPFeature(handle, 0x60, 17));
    EXPECT_FALSE(api_.SetVCPFeature(handle, 0x04, 0));
    EXPECT_EQ(fleet_.displays[0].monitors[0].brightness.current, 70u);
    EXPECT_TRUE(api_.SetVCPFeature(handle, 0x04, 1));
    const FleetMonitor& monitor = fleet_.displays[0].monitors[0];
    EXPECT_EQ(monitor.brightness.current, 50u);
    EXPECT_EQ(monitor.contrast.current, 50u);
    EXPECT_EQ(monitor.red.current, 128u);
    EXPECT_EQ(monitor.preset, 5u);
    EXPECT_EQ(monitor.input, 17u);
}

TEST_F(FakeMonitorApiTest, CapabilitiesLengthCountsTheTerminator) {
    const auto monitors = Open(0);
    const std::string& capabilities = fleet_.displays[0].monitors[0].capabilities;
    uint32_t length = 0;
    ASSERT_TRUE(api_.GetCapabilitiesStringLength(monitors[0].handle, length));
    EXPECT_EQ(length, capabilities.size() + 1);
    EXPECT_FALSE(api_.CapabilitiesRequestAndCapabilitiesReply(monitors[0].handle, length - 1, text_));
    ASSERT_TRUE(api_.CapabilitiesRequestAndCapabilitiesReply(monitors[0].handle, length, text_));
    EXPECT_EQ(text_, capabilities);
    // Monitor 1 (flaky 2) has no capabilities: even its answering third call fails.
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(api_.GetCapabilitiesStringLength(monitors[1].handle, length));
}

TEST_F(FakeMonitorApiTest, CallLogCountsDdcTrafficAndCostsVirtualTime) {
    clock_.Advance(100);
    api_.SetDdcCallCost(40);
    std::vector<PhysicalMonitor> monitors;
    ASSERT_TRUE(api_.GetPhysicalMonitorsFromHMONITOR(FakeMonitorApi::DisplayHandleAt(0), 2, monitors));
    EXPECT_TRUE(api_.SetMonitorBrightness(monitors[0].handle, 42));
    EXPECT_FALSE(api_.SetMonitorRedGreenOrBlueGain(monitors[1].handle, GainType::Green, 7));
    EXPECT_TRUE(api_.GetVCPFeatureAndVCPFeatureReply(monitors[0].handle, 0x14, reply_));
    EXPECT_TRUE(api_.DestroyPhysicalMonitors(monitors));
    EXPECT_FALSE(api_.SaveCurrentMonitorSettings(monitors[0].handle));

    const std::vector<std::string> expected = {
        "t=100 GetPhysicalMonitorsFromHMONITOR display=0 count=2 -> ok",
        "t=100 SetMonitorBrightness mon=0 value=42 -> ok",
        "t=140 SetMonitorRedGreenOrBlueGain mon=1 gain=green value=7 -> fail",
        "t=180 GetVCPFeatureAndVCPFeatureReply mon=0 code=0x14 -> ok",
        "t=220 DestroyPhysicalMonitors mons=0,1 -> ok",
        "t=220 SaveCurrentMonitorSettings mon=0 -> fail",
    };
    EXPECT_EQ(api_.CallLog(), expected);
    EXPECT_EQ(api_.DdcCallCount(), 3u);  // the save on a closed handle never left the computer
    EXPECT_EQ(api_.CallCount("SetMonitorBrightness"), 1u);
    EXPECT_TRUE(clock_.Pauses().empty());  // call costs are no pauses of the program

    api_.ClearCallLog();
    EXPECT_TRUE(api_.CallLog().empty());
    EXPECT_EQ(api_.DdcCallCount(), 0u);
    EXPECT_EQ(api_.CallCount("SetMonitorBrightness"), 0u);
}

}  // namespace
}  // namespace lv::fake
