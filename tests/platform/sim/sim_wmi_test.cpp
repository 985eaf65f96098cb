#include "platform/sim/sim_wmi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lv::sim {
namespace {

constexpr std::string_view kFleet = R"(
[display]
path = \\?\DISPLAY#DEL4220#5&1a2b3c4d&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
serial = 7MT0193A1B2C
year = 2019
edid = 00ffffffffffff0010ac
[display]
path =
[display]
path = \\?\DISPLAY#PHL08C5#5&1a2b3c4d&0&UID4357#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
edid = 00ffffffffffff0041 0c
[panel]
levels = 5 20 40 60 80 100
current = 40
)";

TEST(SimWmi, MonitorIdsAndEdidComeFromDisplaysWithAPath) {
    Fleet fleet = ParseFleet(kFleet).fleet;
    SimWmiApi wmi(fleet);
    std::vector<WmiMonitorIdRecord> records;
    ASSERT_TRUE(wmi.QueryMonitorIds(records));
    ASSERT_EQ(records.size(), 2u);
    std::vector<uint32_t> serial{'7', 'M', 'T', '0', '1', '9', '3', 'A', '1', 'B', '2', 'C'};
    serial.resize(std::max(serial.size(), kSerialNumberIdLength), 0);
    EXPECT_EQ(records[0].serialNumberId, serial);
    EXPECT_EQ(records[0].yearOfManufacture, 2019u);
    EXPECT_FALSE(records[1].serialNumberId.has_value());

    std::vector<uint8_t> block;
    std::vector<std::u16string> asked;
    ASSERT_TRUE(wmi.GetRawEdidBlock(
        [&](std::u16string_view name) { asked.emplace_back(name); return name.find(u"PHL08C5") != name.npos; }, block));
    EXPECT_EQ(asked.back(), uR"(DISPLAY\PHL08C5\5&1a2b3c4d&0&UID4357_0)");  // the monitor's instance name
    EXPECT_EQ(block, (std::vector<uint8_t>{0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00, 0x41, 0x0c}));
    EXPECT_FALSE(wmi.GetRawEdidBlock([](std::u16string_view) { return false; }, block));
    EXPECT_TRUE(block.empty());
}

TEST(SimWmi, PanelBrightnessAndItsFailures) {
    Fleet fleet = ParseFleet(kFleet).fleet;
    SimWmiApi wmi(fleet);
    std::vector<WmiBrightnessRecord> records;
    ASSERT_TRUE(wmi.QueryBrightness(records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].levels, (std::vector<uint8_t>{5, 20, 40, 60, 80, 100}));
    EXPECT_EQ(records[0].currentBrightness, 40u);
    EXPECT_EQ(records[0].instanceName, uR"(DISPLAY\DEL4220\5&1a2b3c4d&0&UID4352_0)") << "the panel is display 1";
    fleet.panel->display = 2;  // a display without a path names no instance
    ASSERT_TRUE(wmi.QueryBrightness(records));
    EXPECT_FALSE(records[0].instanceName.has_value());
    EXPECT_TRUE(wmi.SetBrightness(33));  // not one of the levels: kept as sent
    EXPECT_FALSE(wmi.SetBrightness(256));
    EXPECT_EQ(fleet.panel->current, 33u);

    // No panel, a panel without WMI, every request failing: nothing read, nothing stored.
    for (int c = 0; c < 3; ++c) {
        Fleet other = ParseFleet(kFleet).fleet;
        SimWmiApi failing(other);
        if (c == 0) other.panel.reset();
        if (c == 1) other.panel->wmiOk = false;
        failing.SetFailing(c == 2);
        const Fleet before = other;
        std::vector<WmiBrightnessRecord> none(2);
        EXPECT_FALSE(failing.QueryBrightness(none)) << c;
        EXPECT_TRUE(none.empty()) << c;
        EXPECT_FALSE(failing.SetBrightness(60)) << c;
        EXPECT_EQ(other, before) << c;
    }
}

}  // namespace
}  // namespace lv::sim
