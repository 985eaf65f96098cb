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

    Fleet fleet_;
    FakeClock clock_;
    FakeMonitorApi api_;
};

TEST_F(FakeMonitorApiTest, EnumerationWalksDisplaysInOrderUntilTheCallbackStops) {
    std::vector<std::pair<DisplayHandle, Rect>> seen;
    EXPECT_TRUE(api_.EnumDisplayMonitors([&](DisplayHandle handle, const Rect& rect) {
        seen.emplace_back(handle, rect);
        return true;
    }));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1].second, (Rect{-1280, 0, 0, 1024}));
    std::vector<std::pair<DisplayHandle, Rect>> again;
    api_.EnumDisplayMonitors([&](DisplayHandle handle, const Rect& rect) {
        again.emplace_back(handle, rect);
        return again.size() < 2;
    });
    ASSERT_EQ(again.size(), 2u);  // stopped after the second
    EXPECT_EQ(again[0], seen[0]);
    EXPECT_EQ(again[1], seen[1]);
    EXPECT_NE(seen[0].first, 0u);
    EXPECT_NE(seen[0].first, seen[1].first);
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

    struct Case {
        Point point;
        DisplayHandle display;
    };
    const Case cases[] = {
        {{0, 0}, FakeMonitorApi::DisplayHandleAt(0)},
        {{1919, 1079}, FakeMonitorApi::DisplayHandleAt(0)},
        {{-1, 0}, FakeMonitorApi::DisplayHandleAt(1)},
        {{1920, 0}, FakeMonitorApi::DisplayHandleAt(2)},  // right edges are exclusive
        {{0, 1080}, 0},
        {{-1, 1024}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(api_.MonitorFromPoint(c.point), c.display) << c.point.x << "," << c.point.y;
}

TEST_F(FakeMonitorApiTest, PhysicalHandlesStayOpenUntilDestroyed) {
    const auto first = Open(0);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].description, u"Écran A");
    EXPECT_EQ(first[1].description, u"Generic PnP Monitor");
    EXPECT_NE(first[0].handle, first[1].handle);
    const auto second = Open(1);
    EXPECT_EQ(api_.OpenHandleCount(), 3u);
    EXPECT_EQ(Open(0)[0].handle, first[0].handle);  // stable across opens
    EXPECT_EQ(api_.OpenHandleCount(), 5u);

    EXPECT_TRUE(api_.DestroyPhysicalMonitors(first));
    EXPECT_TRUE(api_.DestroyPhysicalMonitors(first));
    EXPECT_FALSE(api_.DestroyPhysicalMonitors(first));  // already closed twice
    // A list with one closed handle closes nothing.
    EXPECT_FALSE(api_.DestroyPhysicalMonitors({second[0], first[0]}));
    EXPECT_EQ(api_.OpenHandleCount(), 1u);
    EXPECT_TRUE(api_.DestroyPhysicalMonitors(second));
    EXPECT_EQ(api_.OpenHandleCount(), 0u);
}

TEST_F(FakeMonitorApiTest, PhysicalQueryFailuresOpenNothing) {
    uint32_t count = 0;
    std::vector<PhysicalMonitor> monitors;
    const DisplayHandle failing = FakeMonitorApi::DisplayHandleAt(2);
    EXPECT_TRUE(api_.GetNumberOfPhysicalMonitorsFromHMONITOR(failing, count));
    EXPECT_EQ(count, 1u);
    EXPECT_FALSE(api_.GetPhysicalMonitorsFromHMONITOR(failing, count, monitors));
    EXPECT_FALSE(api_.GetPhysicalMonitorsFromHMONITOR(FakeMonitorApi::DisplayHandleAt(0), 1, monitors));  // wrong count
    EXPECT_FALSE(api_.GetNumberOfPhysicalMonitorsFromHMONITOR(12345, count));
    EXPECT_TRUE(monitors.empty());
    EXPECT_EQ(api_.OpenHandleCount(), 0u);
}

TEST_F(FakeMonitorApiTest, DdcCallsNeedAnOpenHandle) {
    uint32_t min = 0, current = 0, max = 0;
    const PhysicalHandle handle = FakeMonitorApi::PhysicalHandleAt(0);
    EXPECT_FALSE(api_.GetMonitorBrightness(handle, min, current, max));
    const auto monitors = Open(0);
    EXPECT_TRUE(api_.GetMonitorBrightness(handle, min, current, max));
    EXPECT_TRUE(api_.DestroyPhysicalMonitors(monitors));
    EXPECT_FALSE(api_.SetMonitorBrightness(handle, 30));
    EXPECT_FALSE(api_.SaveCurrentMonitorSettings(999));
    EXPECT_EQ(api_.DdcCallCount(), 1u);
    EXPECT_EQ(api_.ClosedHandleCallCount(), 3u);
    EXPECT_EQ(fleet_.displays[0].monitors[0].brightness.current, 50u);
}

TEST_F(FakeMonitorApiTest, FlakyMonitorFailsNTimesThenSucceedsOnceAcrossAllCallKinds) {
    const auto monitors = Open(0);
    const PhysicalHandle flaky = monitors[1].handle;
    uint32_t min = 0, current = 0, max = 0;
    VcpReply reply;
    uint32_t length = 0;
    const std::vector<std::function<bool()>> calls = {
        [&] { return api_.GetMonitorBrightness(flaky, min, current, max); },
        [&] { return api_.SetMonitorContrast(flaky, 40); },
        [&] { return api_.GetVCPFeatureAndVCPFeatureReply(flaky, 0x10, reply); },
        [&] { return api_.SaveCurrentMonitorSettings(flaky); },
        [&] { return api_.GetMonitorRedGreenOrBlueGain(flaky, GainType::Blue, min, current, max); },
        [&] { return api_.SetMonitorBrightness(flaky, 10); },
    };
    std::vector<bool> results;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        results.push_back(calls[i]());
        // Calls to another monitor do not advance this monitor's count.
        EXPECT_TRUE(api_.GetCapabilitiesStringLength(monitors[0].handle, length));
    }
    EXPECT_EQ(results, (std::vector<bool>{false, false, true, false, false, true}));
    EXPECT_EQ(fleet_.displays[0].monitors[1].contrast.current, 50u);  // the failed set stored nothing
    EXPECT_EQ(fleet_.displays[0].monitors[1].brightness.current, 10u);
}

TEST_F(FakeMonitorApiTest, FlakyCycleLengthFollowsN) {
    for (uint32_t n : {0u, 1u, 3u}) {
        SCOPED_TRACE(n);
        fleet_.displays[0].monitors[0].ddc = DdcMode::Flaky;
        fleet_.displays[0].monitors[0].flakyFailures = n;
        FakeMonitorApi api(fleet_, clock_);
        const DisplayHandle display = FakeMonitorApi::DisplayHandleAt(0);
        std::vector<PhysicalMonitor> monitors;
        ASSERT_TRUE(api.GetPhysicalMonitorsFromHMONITOR(display, 2, monitors));
        std::vector<bool> results;
        for (uint32_t i = 0; i < 2 * (n + 1); ++i) results.push_back(api.SaveCurrentMonitorSettings(monitors[0].handle));
        std::vector<bool> expected(2 * (n + 1), false);
        expected[n] = expected[2 * n + 1] = true;
        EXPECT_EQ(results, expected);
    }
}

TEST_F(FakeMonitorApiTest, DeadMonitorFailsEveryDdcCall) {
    const PhysicalHandle dead = Open(1).at(0).handle;
    uint32_t min = 0, current = 0, max = 0, length = 0;
    VcpReply reply;
    std::string text;
    EXPECT_FALSE(api_.GetMonitorBrightness(dead, min, current, max));
    EXPECT_FALSE(api_.SetMonitorBrightness(dead, 50));
    EXPECT_FALSE(api_.GetMonitorContrast(dead, min, current, max));
    EXPECT_FALSE(api_.SetMonitorRedGreenOrBlueGain(dead, GainType::Red, 50));
    EXPECT_FALSE(api_.GetVCPFeatureAndVCPFeatureReply(dead, 0x14, reply));
    EXPECT_FALSE(api_.SetVCPFeature(dead, 0x60, 15));
    EXPECT_FALSE(api_.GetCapabilitiesStringLength(dead, length));
    EXPECT_FALSE(api_.CapabilitiesRequestAndCapabilitiesReply(dead, 100, text));
    EXPECT_FALSE(api_.SaveCurrentMonitorSettings(dead));
    EXPECT_EQ(api_.DdcCallCount(), 9u);
}

TEST_F(FakeMonitorApiTest, SetsOutsideTheRawRangeFail) {
    const PhysicalHandle handle = Open(0).at(0).handle;  // brightness 20..80, red 0..255
    struct Case {
        const char* what;
        std::function<bool(uint32_t)> set;
        uint32_t value;
        bool ok;
    };
    const Case cases[] = {
        {"brightness", [&](uint32_t v) { return api_.SetMonitorBrightness(handle, v); }, 19, false},
        {"brightness", [&](uint32_t v) { return api_.SetMonitorBrightness(handle, v); }, 20, true},
        {"brightness", [&](uint32_t v) { return api_.SetMonitorBrightness(handle, v); }, 80, true},
        {"brightness", [&](uint32_t v) { return api_.SetMonitorBrightness(handle, v); }, 81, false},
        {"vcp 0x10", [&](uint32_t v) { return api_.SetVCPFeature(handle, 0x10, v); }, 81, false},
        {"contrast", [&](uint32_t v) { return api_.SetMonitorContrast(handle, v); }, 101, false},
        {"red", [&](uint32_t v) { return api_.SetMonitorRedGreenOrBlueGain(handle, GainType::Red, v); }, 255, true},
        {"red", [&](uint32_t v) { return api_.SetMonitorRedGreenOrBlueGain(handle, GainType::Red, v); }, 256, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " " + std::to_string(c.value));
        const Fleet before = fleet_;
        EXPECT_EQ(c.set(c.value), c.ok);
        if (!c.ok) {
            EXPECT_EQ(fleet_, before);
        }
    }
    EXPECT_EQ(fleet_.displays[0].monitors[0].brightness, (FleetRange{20, 80, 80}));
    EXPECT_EQ(fleet_.displays[0].monitors[0].red.current, 255u);
}

TEST_F(FakeMonitorApiTest, VcpPresetAndInputRoundTripAndMirrorRanges) {
    const PhysicalHandle handle = Open(0).at(0).handle;
    VcpReply reply;
    ASSERT_TRUE(api_.GetVCPFeatureAndVCPFeatureReply(handle, 0x14, reply));
    EXPECT_EQ(reply.current, 5u);
    EXPECT_TRUE(api_.SetVCPFeature(handle, 0x14, 8));
    EXPECT_TRUE(api_.SetVCPFeature(handle, 0x60, 0x11));
    ASSERT_TRUE(api_.GetVCPFeatureAndVCPFeatureReply(handle, 0x14, reply));
    EXPECT_EQ(reply.current, 8u);
    ASSERT_TRUE(api_.GetVCPFeatureAndVCPFeatureReply(handle, 0x60, reply));
    EXPECT_EQ(reply.current, 0x11u);
    EXPECT_EQ(fleet_.displays[0].monitors[0].preset, 8u);
    EXPECT_EQ(fleet_.displays[0].monitors[0].input, 0x11u);

    EXPECT_TRUE(api_.SetMonitorBrightness(handle, 42));
    ASSERT_TRUE(api_.GetVCPFeatureAndVCPFeatureReply(handle, 0x10, reply));
    EXPECT_EQ(reply.current, 42u);
    EXPECT_EQ(reply.maximum, 80u);
    EXPECT_FALSE(api_.GetVCPFeatureAndVCPFeatureReply(handle, 0xDC, reply));
    EXPECT_FALSE(api_.SetVCPFeature(handle, 0xDC, 1));
}

TEST_F(FakeMonitorApiTest, FactoryResetRestoresPictureValuesButNotTheInput) {
    const PhysicalHandle handle = Open(0).at(0).handle;
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
    std::string text;
    EXPECT_FALSE(api_.CapabilitiesRequestAndCapabilitiesReply(monitors[0].handle, length - 1, text));
    ASSERT_TRUE(api_.CapabilitiesRequestAndCapabilitiesReply(monitors[0].handle, length, text));
    EXPECT_EQ(text, capabilities);
    // Monitor 1 (flaky 2) has no capabilities: even its answering third call fails.
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(api_.GetCapabilitiesStringLength(monitors[1].handle, length));
}

TEST_F(FakeMonitorApiTest, CallLogCountsDdcTrafficAndCostsVirtualTime) {
    clock_.Advance(100);
    api_.SetDdcCallCost(40);
    std::vector<PhysicalMonitor> monitors;
    const DisplayHandle display = FakeMonitorApi::DisplayHandleAt(0);
    ASSERT_TRUE(api_.GetPhysicalMonitorsFromHMONITOR(display, 2, monitors));
    EXPECT_TRUE(api_.SetMonitorBrightness(monitors[0].handle, 42));
    EXPECT_FALSE(api_.SetMonitorRedGreenOrBlueGain(monitors[1].handle, GainType::Green, 7));
    VcpReply reply;
    EXPECT_TRUE(api_.GetVCPFeatureAndVCPFeatureReply(monitors[0].handle, 0x14, reply));
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
    EXPECT_EQ(clock_.Now(), 220u);
    EXPECT_TRUE(clock_.Pauses().empty());  // call costs are no pauses of the program

    api_.ClearCallLog();
    EXPECT_TRUE(api_.CallLog().empty());
    EXPECT_EQ(api_.DdcCallCount(), 0u);
    EXPECT_EQ(api_.CallCount("SetMonitorBrightness"), 0u);
}

}  // namespace
}  // namespace lv::fake
