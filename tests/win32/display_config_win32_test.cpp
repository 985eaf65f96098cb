// Runs against the system's display configuration. Wine 8 implements it: one active
// path whose source is \\.\DISPLAY1 and whose target is an internal panel named
// "Display1" with a \\?\DISPLAY#Default_Monitor#... device path. The checks below hold
// there and on Windows alike.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_wmi.h"
#include "win32/win32_test_support.h"

namespace {

std::vector<lv::DisplayPath> ActivePaths(lv::Win32DisplayConfigApi& config) {
    uint32_t pathCount = 0, modeCount = 0;
    EXPECT_TRUE(config.GetDisplayConfigBufferSizes(pathCount, modeCount));
    std::vector<lv::DisplayPath> paths;
    EXPECT_TRUE(config.QueryDisplayConfig(pathCount, modeCount, paths));
    EXPECT_LE(paths.size(), pathCount);
    return paths;
}

std::vector<std::u16string> GdiDisplayNames() {
    lv::Win32MonitorApi monitors;
    std::vector<std::u16string> names;
    monitors.EnumDisplayMonitors([&](lv::DisplayHandle display, const lv::Rect&) {
        lv::MonitorInfo info;
        if (monitors.GetMonitorInfoA(display, info)) names.emplace_back(info.deviceName.begin(), info.deviceName.end());
        return true;
    });
    return names;
}

TEST(DisplayConfigWin32, ActivePathsLeadFromTheGdiDisplaysToTheirMonitors) {
    lv::Win32DisplayConfigApi config;
    const std::vector<lv::DisplayPath> paths = ActivePaths(config);
    ASSERT_FALSE(paths.empty());
    const std::vector<std::u16string> gdiNames = GdiDisplayNames();
    ASSERT_FALSE(gdiNames.empty());

    std::vector<std::u16string> sources;
    for (const lv::DisplayPath& path : paths) {
        std::u16string source;
        ASSERT_TRUE(config.GetSourceDeviceName(path, source));
        EXPECT_NE(std::find(gdiNames.begin(), gdiNames.end(), source), gdiNames.end());
        sources.push_back(source);

        lv::TargetDeviceName target;
        ASSERT_TRUE(config.GetTargetDeviceName(path, target));
        // What the monitor's instance id is cut from.
        const std::u16string& device = target.monitorDevicePath;
        EXPECT_EQ(device.rfind(uR"(\\?\DISPLAY#)", 0), 0u);
        EXPECT_NE(device.find(u'#', 12), std::u16string::npos);
        EXPECT_EQ(device.find(u'\0'), std::u16string::npos);
        EXPECT_EQ(target.monitorFriendlyDeviceName.find(u'\0'), std::u16string::npos);
    }
    for (const std::u16string& name : gdiNames) {
        EXPECT_NE(std::find(sources.begin(), sources.end(), name), sources.end());
    }
    if (lv::test::RunningUnderWine()) {
        EXPECT_EQ(sources.front(), uR"(\\.\DISPLAY1)");
    }
}

TEST(DisplayConfigWin32, PathsThatNameNothingHaveNoNames) {
    lv::Win32DisplayConfigApi config;
    const std::vector<lv::DisplayPath> paths = ActivePaths(config);
    ASSERT_FALSE(paths.empty());
    const lv::DisplayPath real = paths.front();
    // The adapter id must reach Windows whole: another high half names another adapter.
    const uint64_t otherAdapterId = real.adapterId ^ (uint64_t{0x5A5A} << 32);
    const lv::DisplayPath otherAdapter{otherAdapterId, real.sourceId, real.targetId, otherAdapterId};
    const lv::DisplayPath noSuchIds{real.adapterId, 0x7777, 0x7777, real.targetAdapterId};
    for (const lv::DisplayPath& path : {otherAdapter, noSuchIds}) {
        std::u16string source = u"kept";
        lv::TargetDeviceName target;
        target.monitorDevicePath = u"kept";
        EXPECT_FALSE(config.GetSourceDeviceName(path, source));
        EXPECT_FALSE(config.GetTargetDeviceName(path, target));
        EXPECT_EQ(source, u"kept");
        EXPECT_EQ(target.monitorDevicePath, u"kept");
    }
}

}  // namespace
