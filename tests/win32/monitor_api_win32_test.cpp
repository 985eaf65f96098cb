// Runs against the system's own dxva2 and user32. Under Wine there is one display and
// no physical monitor behind it, so the DDC/CI calls can only be checked for failing
// cleanly; their success paths are covered by the end-to-end tests with the simulated
// dxva2.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"

namespace {

struct Display {
    lv::DisplayHandle handle;
    lv::Rect rect;
};

std::vector<Display> EnumerateAll(lv::Win32MonitorApi& api) {
    std::vector<Display> displays;
    EXPECT_TRUE(api.EnumDisplayMonitors([&](lv::DisplayHandle handle, const lv::Rect& rect) {
        displays.push_back({handle, rect});
        return true;
    }));
    return displays;
}

TEST(Win32MonitorApi, EnumeratesDisplaysWithTheirInfo) {
    lv::Win32MonitorApi api;
    const std::vector<Display> displays = EnumerateAll(api);
    ASSERT_FALSE(displays.empty());
    for (const Display& display : displays) {
        EXPECT_NE(display.handle, 0u);
        EXPECT_LT(display.rect.left, display.rect.right);
        EXPECT_LT(display.rect.top, display.rect.bottom);

        lv::MonitorInfo info;
        ASSERT_TRUE(api.GetMonitorInfoA(display.handle, info));
        EXPECT_NE(info.deviceName.find("DISPLAY"), std::string::npos) << info.deviceName;
        EXPECT_EQ(info.deviceName.find('\0'), std::string::npos);
        EXPECT_EQ(info.monitor, display.rect);
        EXPECT_LE(info.monitor.left, info.work.left);
        EXPECT_GE(info.monitor.right, info.work.right);

        const lv::Point centre{(display.rect.left + display.rect.right) / 2,
                               (display.rect.top + display.rect.bottom) / 2};
        EXPECT_EQ(api.MonitorFromPoint(centre), display.handle);
    }
}

TEST(Win32MonitorApi, PrimaryDisplayIsFlagged) {
    lv::Win32MonitorApi api;
    int primaries = 0;
    for (const Display& display : EnumerateAll(api)) {
        lv::MonitorInfo info;
        ASSERT_TRUE(api.GetMonitorInfoA(display.handle, info));
        if (info.flags & MONITORINFOF_PRIMARY) ++primaries;
    }
    EXPECT_EQ(primaries, 1);
}

TEST(Win32MonitorApi, PointOutsideEveryDisplayGivesNoDisplay) {
    lv::Win32MonitorApi api;
    EXPECT_EQ(api.MonitorFromPoint({-1000000, -1000000}), 0u);
    EXPECT_EQ(api.MonitorFromPoint({1000000, 1000000}), 0u);
}

TEST(Win32MonitorApi, CallbackStopsTheEnumeration) {
    lv::Win32MonitorApi api;
    int calls = 0;
    api.EnumDisplayMonitors([&](lv::DisplayHandle, const lv::Rect&) {
        ++calls;
        return false;
    });
    EXPECT_EQ(calls, 1);
}

TEST(Win32MonitorApi, ExceptionInTheCallbackStaysInside) {
    lv::Win32MonitorApi api;
    int calls = 0;
    bool result = true;
    EXPECT_NO_THROW(result = api.EnumDisplayMonitors([&](lv::DisplayHandle, const lv::Rect&) -> bool {
        ++calls;
        throw std::runtime_error("from the callback");
    }));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(result);

    EXPECT_FALSE(api.EnumDisplayMonitors(lv::MonitorApi::DisplayCallback()));
}

TEST(Win32MonitorApi, InvalidDisplayHasNoInfo) {
    lv::Win32MonitorApi api;
    lv::MonitorInfo info;
    info.deviceName = "unchanged";
    EXPECT_FALSE(api.GetMonitorInfoA(0, info));
    EXPECT_EQ(info.deviceName, "unchanged");
}

TEST(Win32MonitorApi, WithoutPhysicalMonitorsEveryCallFailsCleanly) {
    lv::Win32MonitorApi api;
    const std::vector<Display> displays = EnumerateAll(api);
    ASSERT_FALSE(displays.empty());

    uint32_t count = 0;
    if (api.GetNumberOfPhysicalMonitorsFromHMONITOR(displays[0].handle, count))
        GTEST_SKIP() << "this system has " << count << " physical monitor(s)";

    std::vector<lv::PhysicalMonitor> monitors(1);
    EXPECT_FALSE(api.GetPhysicalMonitorsFromHMONITOR(displays[0].handle, 1, monitors));
    EXPECT_TRUE(monitors.empty());

    // Handle 0 and a made-up handle: each call must answer false and leave the outputs.
    for (const lv::PhysicalHandle handle : {lv::PhysicalHandle{0}, lv::PhysicalHandle{0x1234}}) {
        uint32_t min = 11, current = 22, max = 33;
        EXPECT_FALSE(api.GetMonitorBrightness(handle, min, current, max));
        EXPECT_FALSE(api.GetMonitorContrast(handle, min, current, max));
        for (const lv::GainType gain : {lv::GainType::Red, lv::GainType::Green, lv::GainType::Blue})
            EXPECT_FALSE(api.GetMonitorRedGreenOrBlueGain(handle, gain, min, current, max));
        EXPECT_EQ(min, 11u);
        EXPECT_EQ(current, 22u);
        EXPECT_EQ(max, 33u);

        EXPECT_FALSE(api.SetMonitorBrightness(handle, 50));
        EXPECT_FALSE(api.SetMonitorContrast(handle, 50));
        EXPECT_FALSE(api.SetMonitorRedGreenOrBlueGain(handle, lv::GainType::Green, 50));

        lv::VcpReply reply{44, 55};
        EXPECT_FALSE(api.GetVCPFeatureAndVCPFeatureReply(handle, 0x60, reply));
        EXPECT_EQ(reply.current, 44u);
        EXPECT_EQ(reply.maximum, 55u);
        EXPECT_FALSE(api.SetVCPFeature(handle, 0x14, 5));

        uint32_t length = 66;
        EXPECT_FALSE(api.GetCapabilitiesStringLength(handle, length));
        EXPECT_EQ(length, 66u);
        std::string text = "stale";
        EXPECT_FALSE(api.CapabilitiesRequestAndCapabilitiesReply(handle, 64, text));
        EXPECT_EQ(text, "");

        EXPECT_FALSE(api.SaveCurrentMonitorSettings(handle));
    }
}

}  // namespace
