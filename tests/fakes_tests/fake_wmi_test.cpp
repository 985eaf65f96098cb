#include "fakes/fake_wmi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_display_config.h"

namespace lv::fake {
namespace {

constexpr std::string_view kFleet = R"(
[display]
device = \\.\DISPLAY1
friendly = DELL U2719D
path = \\?\DISPLAY#DEL4220#5&1a2b3c4d&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
serial = 7MT0193A1B2C
year = 2019
edid = 00ffffffffffff0010ac
[monitor]
[display]
device = \\.\DISPLAY2
path =
serial = NOPATH
[monitor]
[display]
device = \\.\DISPLAY3
technology = 0x80000000
path = \\?\DISPLAY#LGD05E5#4&2c3b1a0f&0&UID8388688#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
[monitor]
[display]
device = \\.\DISPLAY4
path = \\?\DISPLAY#PHL08C5#5&1a2b3c4d&0&UID4357#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
serial = 0
year = 2021
edid = 00ffffffffffff0041 0c
[monitor]
[panel]
levels = 5 20 40 60 80 100
current = 40
)";

std::vector<uint32_t> Padded(std::string_view text) {
    std::vector<uint32_t> out(text.begin(), text.end());
    out.resize(std::max(out.size(), kSerialNumberIdLength), 0);
    return out;
}

TEST(InstanceNameFromDevicePath, FollowsWindowsMonitorInstanceNames) {
    const std::pair<const char*, const char16_t*> cases[] = {
        {R"(\\?\DISPLAY#DEL4220#5&1a2b3c4d&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7})",
         uR"(DISPLAY\DEL4220\5&1a2b3c4d&0&UID4352_0)"},
        {R"(\\?\DISPLAY#Default_Monitor#4&1e5e9b3&0&UID0#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7})",
         uR"(DISPLAY\Default_Monitor\4&1e5e9b3&0&UID0_0)"},
        // Without prefix or interface class nothing else is cut off.
        {R"(DISPLAY#ABC1234#1&2&0&UID7)", uR"(DISPLAY\ABC1234\1&2&0&UID7_0)"},
        {R"(\\?\DISPLAY#ABC1234#1&2#notaclass)", uR"(DISPLAY\ABC1234\1&2\notaclass_0)"},
    };
    for (const auto& [path, instance] : cases) EXPECT_EQ(InstanceNameFromDevicePath(path), instance) << path;
}

class FakeWmiTest : public ::testing::Test {
protected:
    Fleet fleet_ = ParseFleet(kFleet).fleet;
    FakeWmiApi wmi_{fleet_};
};

TEST_F(FakeWmiTest, MonitorIdsCoverDisplaysWithAPathAndOmitEmptyValues) {
    std::vector<WmiMonitorIdRecord> records(5);  // replaced, not appended to
    ASSERT_TRUE(wmi_.QueryMonitorIds(records));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].instanceName, uR"(DISPLAY\DEL4220\5&1a2b3c4d&0&UID4352_0)");
    EXPECT_EQ(records[0].serialNumberId, Padded("7MT0193A1B2C"));
    EXPECT_EQ(records[0].yearOfManufacture, 2019u);
    EXPECT_EQ(records[1].instanceName, uR"(DISPLAY\LGD05E5\4&2c3b1a0f&0&UID8388688_0)");
    EXPECT_FALSE(records[1].serialNumberId.has_value());
    EXPECT_FALSE(records[1].yearOfManufacture.has_value());
    EXPECT_EQ(records[2].serialNumberId, Padded("0"));  // padded like every other

    fleet_.displays[0].serial = "ABCDEFGHIJKLMNOPQRST";  // longer than the padding: kept whole
    ASSERT_TRUE(wmi_.QueryMonitorIds(records));
    EXPECT_EQ(records[0].serialNumberId, Padded("ABCDEFGHIJKLMNOPQRST"));
}

TEST_F(FakeWmiTest, RawEdidComesFromTheFirstMatchingDisplay) {
    std::vector<std::u16string> asked;
    std::vector<uint8_t> block{1, 2, 3};
    ASSERT_TRUE(wmi_.GetRawEdidBlock(
        [&](std::u16string_view name) {
            asked.emplace_back(name);
            return name.find(u"PHL08C5") != std::u16string_view::npos;
        },
        block));
    EXPECT_EQ(block, (std::vector<uint8_t>{0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00, 0x41, 0x0c}));
    ASSERT_EQ(asked.size(), 3u);  // walked in order, the path-less display not among them
    EXPECT_EQ(asked[2], uR"(DISPLAY\PHL08C5\5&1a2b3c4d&0&UID4357_0)");
    ASSERT_TRUE(wmi_.GetRawEdidBlock([](std::u16string_view) { return true; }, block));
    EXPECT_EQ(block[8], 0x10);  // the first display's
    EXPECT_EQ(wmi_.RequestLog()[0], R"(GetRawEdidBlock instance=DISPLAY\PHL08C5\5&1a2b3c4d&0&UID4357_0 -> ok)");
}

TEST_F(FakeWmiTest, RawEdidFailsWithoutMatchOrWithoutEdid) {
    std::vector<uint8_t> block{1};
    EXPECT_FALSE(wmi_.GetRawEdidBlock([](std::u16string_view) { return false; }, block));
    EXPECT_TRUE(block.empty());
    block = {1};
    // The panel display matches but has no EDID; later displays are not tried.
    EXPECT_FALSE(wmi_.GetRawEdidBlock(
        [](std::u16string_view name) { return name.find(u"UID") != std::u16string_view::npos && name[8] == u'L'; },
        block));
    EXPECT_TRUE(block.empty());
    EXPECT_FALSE(wmi_.GetRawEdidBlock(WmiApi::InstanceMatch(), block));
    EXPECT_EQ(wmi_.RequestLog()[1], R"(GetRawEdidBlock instance=DISPLAY\LGD05E5\4&2c3b1a0f&0&UID8388688_0 -> fail)");
}

TEST_F(FakeWmiTest, PanelBrightnessReadsAndStoresTheLevelSent) {
    std::vector<WmiBrightnessRecord> records;
    ASSERT_TRUE(wmi_.QueryBrightness(records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].levels, (std::vector<uint8_t>{5, 20, 40, 60, 80, 100}));
    EXPECT_EQ(records[0].currentBrightness, 40u);

    EXPECT_TRUE(wmi_.SetBrightness(33));  // not one of the levels: kept as sent
    EXPECT_EQ(fleet_.panel->current, 33u);
    EXPECT_TRUE(wmi_.SetBrightness(255));
    EXPECT_FALSE(wmi_.SetBrightness(256));
    ASSERT_TRUE(wmi_.QueryBrightness(records));
    EXPECT_EQ(records[0].currentBrightness, 255u);
    EXPECT_EQ(wmi_.RequestCount("SetBrightness"), 3u);
    EXPECT_EQ(wmi_.RequestLog()[3], "SetBrightness level=256 -> fail");
}

TEST_F(FakeWmiTest, PanelValuesThatAreNoBytesAreAbsent) {
    const struct {
        std::vector<uint32_t> levels;
        uint32_t current;
        bool levelsPresent;
        bool currentPresent;
    } cases[] = {
        {{0, 50, 100}, 50, true, true},
        {{}, 50, false, true},
        {std::vector<uint32_t>(101, 7), 7, true, true},
        {std::vector<uint32_t>(102, 7), 7, false, true},
        {{0, 256}, 255, false, true},
        {{0, 100}, 256, true, false},
    };
    for (const auto& c : cases) {
        fleet_.panel->levels = c.levels;
        fleet_.panel->current = c.current;
        std::vector<WmiBrightnessRecord> records;
        ASSERT_TRUE(wmi_.QueryBrightness(records));
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].levels.has_value(), c.levelsPresent) << c.levels.size() << " levels";
        EXPECT_EQ(records[0].currentBrightness.has_value(), c.currentPresent) << c.current;
    }
}

TEST_F(FakeWmiTest, PanelRequestsFailWithoutAnAnsweringPanel) {
    enum Failing { kNone, kAll, kBrightness };
    const struct {
        bool panel, panelWmi, emptyWithoutPanel;
        Failing failing;
        bool queries;  // with no records
        bool subscribes;
    } cases[] = {
        {false, true, false, kNone, false, true},  // the event class exists; no events come
        {false, true, true, kNone, true, true},    {true, false, false, kNone, false, false},
        {true, false, true, kNone, false, false},  {true, true, false, kAll, false, false},
        {true, true, false, kBrightness, false, true},
    };
    for (const auto& c : cases) {
        Fleet fleet = ParseFleet(kFleet).fleet;
        FakeWmiApi wmi(fleet);
        if (!c.panel) fleet.panel.reset();
        if (!c.panelWmi) fleet.panel->wmiOk = false;
        wmi.SetEmptyWithoutPanel(c.emptyWithoutPanel);
        wmi.SetFailing(c.failing == kAll);
        wmi.SetFailing(WmiRequest::Brightness, c.failing != kNone);
        wmi.SetFailing(WmiRequest::SetBrightness, c.failing != kNone);
        const Fleet before = fleet;
        std::vector<WmiBrightnessRecord> records(2);
        const std::string name = std::to_string(&c - cases);
        EXPECT_EQ(wmi.QueryBrightness(records), c.queries) << name;
        EXPECT_TRUE(records.empty()) << name;
        EXPECT_FALSE(wmi.SetBrightness(60)) << name;
        EXPECT_EQ(fleet, before) << name;
        EXPECT_EQ(wmi.SubscribeBrightnessEvents([](uint8_t) {}), c.subscribes) << name;
    }
}

TEST_F(FakeWmiTest, FailuresEmptyTheAnswersOfTheRequestsTheyName) {
    wmi_.SetFailing(true);
    std::vector<WmiMonitorIdRecord> ids(1);
    std::vector<uint8_t> block{1};
    EXPECT_FALSE(wmi_.QueryMonitorIds(ids));
    EXPECT_FALSE(wmi_.GetRawEdidBlock([](std::u16string_view) { return true; }, block));
    EXPECT_TRUE(ids.empty());
    EXPECT_TRUE(block.empty());
    wmi_.SetFailing(false);
    wmi_.SetFailing(WmiRequest::MonitorIds, true);
    EXPECT_FALSE(wmi_.QueryMonitorIds(ids));
    EXPECT_TRUE(wmi_.GetRawEdidBlock([](std::u16string_view) { return true; }, block));
}

TEST_F(FakeWmiTest, SubscriptionDeliversFiredEventsUntilCancelled) {
    EXPECT_FALSE(wmi_.FireBrightnessEvent(10));  // nobody listens yet
    std::vector<int> first, second;
    ASSERT_TRUE(wmi_.SubscribeBrightnessEvents([&](uint8_t level) { first.push_back(level); }));
    EXPECT_FALSE(wmi_.SubscribeBrightnessEvents([&](uint8_t level) { second.push_back(level); }));
    EXPECT_TRUE(wmi_.FireBrightnessEvent(30));
    EXPECT_TRUE(wmi_.FireBrightnessEvent(30));
    EXPECT_EQ(first, (std::vector<int>{30, 30}));
    EXPECT_TRUE(second.empty());
    EXPECT_EQ(fleet_.panel->current, 40u);  // an event is news, not a change of the fleet

    wmi_.CancelBrightnessEvents();
    EXPECT_FALSE(wmi_.FireBrightnessEvent(50));
    // A handler may end its own subscription.
    ASSERT_TRUE(wmi_.SubscribeBrightnessEvents([&](uint8_t level) {
        second.push_back(level);
        wmi_.CancelBrightnessEvents();
    }));
    EXPECT_TRUE(wmi_.FireBrightnessEvent(70));
    EXPECT_FALSE(wmi_.FireBrightnessEvent(80));
    EXPECT_EQ(second, (std::vector<int>{70}));
    EXPECT_EQ(wmi_.RequestCount("SubscribeBrightnessEvents"), 3u);
}

class FakeDisplayConfigTest : public ::testing::Test {
protected:
    Fleet fleet_ = ParseFleet(kFleet).fleet;
    FakeDisplayConfigApi config_{fleet_};
};

TEST_F(FakeDisplayConfigTest, OneActivePathPerDisplayWithItsNames) {
    uint32_t pathCount = 0, modeCount = 0;
    ASSERT_TRUE(config_.GetDisplayConfigBufferSizes(pathCount, modeCount));
    EXPECT_EQ(pathCount, 4u);
    EXPECT_EQ(modeCount, 8u);
    std::vector<DisplayPath> paths;
    ASSERT_TRUE(config_.QueryDisplayConfig(pathCount, modeCount, paths));
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_EQ(paths[3].adapterId, kFakeAdapterId);
    EXPECT_EQ(paths[3].sourceId, 3u);
    EXPECT_EQ(paths[3].targetId, 0x103u);

    std::u16string source;
    ASSERT_TRUE(config_.GetSourceDeviceName(paths[2], source));
    EXPECT_EQ(source, uR"(\\.\DISPLAY3)");
    TargetDeviceName target;
    ASSERT_TRUE(config_.GetTargetDeviceName(paths[0], target));
    EXPECT_EQ(target.monitorFriendlyDeviceName, u"DELL U2719D");
    EXPECT_EQ(target.monitorDevicePath,
              uR"(\\?\DISPLAY#DEL4220#5&1a2b3c4d&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7})");
    EXPECT_EQ(target.outputTechnology, 10u);
    ASSERT_TRUE(config_.GetTargetDeviceName(paths[2], target));
    EXPECT_EQ(target.monitorFriendlyDeviceName, u"");
    EXPECT_EQ(target.outputTechnology, 0x80000000u);

    // Names are cut to the fixed arrays and decoded from UTF-8.
    fleet_.displays[0].friendly = "\xC3\x89" "cran " + std::string(70, 'x');
    ASSERT_TRUE(config_.GetTargetDeviceName(paths[0], target));
    EXPECT_EQ(target.monitorFriendlyDeviceName.size(), 63u);
    EXPECT_EQ(target.monitorFriendlyDeviceName.substr(0, 6), u"\u00C9cran ");
}

TEST_F(FakeDisplayConfigTest, PathsThatNameNoDisplayHaveNoNames) {
    std::u16string source = u"kept";
    TargetDeviceName target;
    target.monitorDevicePath = u"kept";
    const DisplayPath lostHighHalf{kFakeAdapterId & 0xFFFFFFFFu, 0, 0x100};
    const DisplayPath beyondTheFleet{kFakeAdapterId, 4, 0x104};
    for (const DisplayPath& path : {lostHighHalf, beyondTheFleet}) {
        EXPECT_FALSE(config_.GetSourceDeviceName(path, source));
        EXPECT_FALSE(config_.GetTargetDeviceName(path, target));
    }
    // Target ids are not source ids.
    EXPECT_FALSE(config_.GetTargetDeviceName(DisplayPath{kFakeAdapterId, 0, 0, kFakeAdapterId}, target));
    EXPECT_EQ(source, u"kept");
    EXPECT_EQ(target.monitorDevicePath, u"kept");
}

TEST_F(FakeDisplayConfigTest, QueryFailsWhenTheTopologyOutgrewTheBuffers) {
    uint32_t pathCount = 0, modeCount = 0;
    ASSERT_TRUE(config_.GetDisplayConfigBufferSizes(pathCount, modeCount));
    fleet_.displays.push_back(fleet_.displays[0]);  // plugged in between the two calls
    std::vector<DisplayPath> paths(1);
    EXPECT_FALSE(config_.QueryDisplayConfig(pathCount, modeCount, paths));
    EXPECT_TRUE(paths.empty());
    EXPECT_FALSE(config_.QueryDisplayConfig(pathCount + 1, modeCount, paths));
    EXPECT_TRUE(config_.QueryDisplayConfig(pathCount + 1, modeCount + 2, paths));
    EXPECT_EQ(paths.size(), 5u);
    EXPECT_EQ(config_.CallLog()[1], "QueryDisplayConfig paths=4 modes=8 -> fail");
}

TEST_F(FakeDisplayConfigTest, InjectedFailuresLeaveOutputsAlone) {
    for (const DisplayConfigCall failing : {DisplayConfigCall::BufferSizes, DisplayConfigCall::Query,
                                            DisplayConfigCall::SourceName, DisplayConfigCall::TargetName}) {
        FakeDisplayConfigApi config(fleet_);
        config.SetFailing(failing, true);
        uint32_t pathCount = 99, modeCount = 99;
        std::vector<DisplayPath> paths;
        std::u16string source = u"kept";
        TargetDeviceName target;
        EXPECT_EQ(config.GetDisplayConfigBufferSizes(pathCount, modeCount), failing != DisplayConfigCall::BufferSizes);
        EXPECT_EQ(config.QueryDisplayConfig(4, 8, paths), failing != DisplayConfigCall::Query);
        EXPECT_EQ(config.GetSourceDeviceName(FakeDisplayConfigApi::PathOf(0), source),
                  failing != DisplayConfigCall::SourceName);
        EXPECT_EQ(config.GetTargetDeviceName(FakeDisplayConfigApi::PathOf(0), target),
                  failing != DisplayConfigCall::TargetName);
        EXPECT_EQ(pathCount, failing == DisplayConfigCall::BufferSizes ? 99u : 4u);
        EXPECT_EQ(source, failing == DisplayConfigCall::SourceName ? u"kept" : uR"(\\.\DISPLAY1)");
        EXPECT_EQ(target.monitorDevicePath.empty(), failing == DisplayConfigCall::TargetName);
    }
    config_.SetFailing(true);
    uint32_t pathCount = 0, modeCount = 0;
    EXPECT_FALSE(config_.GetDisplayConfigBufferSizes(pathCount, modeCount));
    config_.SetFailing(false);
    EXPECT_TRUE(config_.GetDisplayConfigBufferSizes(pathCount, modeCount));
}

}  // namespace
}  // namespace lv::fake
