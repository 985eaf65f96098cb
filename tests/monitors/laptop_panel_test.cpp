#include "monitors/laptop_panel.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/simulator.h"

namespace lv {
namespace {

using sim::Simulator;

TEST(PanelLevels, ElevenLevelsMapPercentToTheNearestStep) {
    const PanelLevels data = MakePanelLevels({0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
    ASSERT_TRUE(data.Usable());
    EXPECT_EQ(data.percent[50], 50);  // largest i with round(i * 101 / 11) <= 50 is 5
    EXPECT_EQ(data.percent[0], 0);
    EXPECT_EQ(data.percent[8], 0);
    EXPECT_EQ(data.percent[9], 10);   // round(101 / 11) = 9: level 10 starts at 9
    EXPECT_EQ(data.percent[54], 50);
    EXPECT_EQ(data.percent[55], 60);  // round(606 / 11) = 55
    EXPECT_EQ(data.percent[100], 100);
    EXPECT_EQ(data.PercentOf(50, 0), 50u);
    EXPECT_EQ(data.PercentOf(30, 0), 30u);
}

TEST(PanelLevels, PercentTableEntriesFollowTheRoundedSteps) {
    // Four levels: steps start at round(0), round(25.25) = 25, round(50.5) = 51, round(75.75) = 76.
    const PanelLevels data = MakePanelLevels({5, 40, 70, 100});
    EXPECT_EQ(data.percent[24], 5);
    EXPECT_EQ(data.percent[25], 40);
    EXPECT_EQ(data.percent[50], 40);
    EXPECT_EQ(data.percent[51], 70);
    EXPECT_EQ(data.percent[76], 100);
    EXPECT_EQ(data.minLevel, 5);
    EXPECT_EQ(data.maxLevel, 100);
    EXPECT_EQ(data.PercentOf(5, 5), 0u) << "the minimum level reads as 0 % even above level 0";
    EXPECT_EQ(data.PercentOf(40, 40), 33u);
    EXPECT_EQ(data.PercentOf(55, 55), 55u) << "a level not in the list is shown as it is";
}

TEST(PanelLevels, ListThatIsNotAscendingIsUnusable) {
    const PanelLevels data = MakePanelLevels({50, 40, 60});
    EXPECT_FALSE(data.Usable());
    EXPECT_EQ(data.minLevel, 0);
    EXPECT_EQ(data.maxLevel, 100);
    EXPECT_EQ(data.PercentOf(40, 40), 40u);
}

TEST(PanelLevels, DegenerateLists) {
    EXPECT_FALSE(MakePanelLevels({}).Usable());
    EXPECT_FALSE(MakePanelLevels(std::vector<uint8_t>(102, 1)).Usable());
    const PanelLevels one = MakePanelLevels({70});  // a single step: no division by zero
    EXPECT_TRUE(one.Usable());
    EXPECT_EQ(one.percent[100], 70);
    EXPECT_EQ(one.PercentOf(70, 70), 100u);
}

constexpr const char* kLaptop = R"(
[display]
device = \\.\DISPLAY1
[monitor]
ddc = dead
[panel]
levels = 0 10 20 30 40 50 60 70 80 90 100
current = 40
)";

class LaptopPanel : public testing::Test {
protected:
    LaptopPanel() : sim(fake::ParseFleet(kLaptop).fleet) { ReadPanelLevels(sim.core); }
    Simulator sim;
};

TEST_F(LaptopPanel, ReadStoresPercentAndTheLevelForPowerChanges) {
    ReadLaptopBrightness(sim.core, 0);
    EXPECT_TRUE(sim.core.wmiOk);
    EXPECT_EQ(sim.core.table[0].brightness, 40u);
    EXPECT_EQ(sim.core.table[0].isLaptopPanel, 1);
    EXPECT_EQ(sim.core.savedPanelLevel, 40);

    sim.fleet.panel->current = 60;
    sim.system.SetBatterySaver(true);  // the saver dims the panel by itself: not worth keeping
    ReadLaptopBrightness(sim.core, 0);
    EXPECT_EQ(sim.core.table[0].brightness, 60u);
    EXPECT_EQ(sim.core.savedPanelLevel, 40);
}

TEST_F(LaptopPanel, SetSendsTheLevelAndStartsTheTimer) {
    SetLaptopBrightness(sim.core, 54);
    EXPECT_TRUE(sim.core.wmiOk);
    EXPECT_EQ(sim.fleet.panel->current, 50u);  // 54 % falls on the step of level 50
    EXPECT_EQ(sim.core.table[0].brightness, 50u);
    EXPECT_EQ(sim.core.savedPanelLevel, 50);
    EXPECT_EQ(sim.window.TimerPeriod(kPanelTimer), kPanelTimerMs);

    SetLaptopBrightness(sim.core, 100);
    EXPECT_EQ(sim.fleet.panel->current, 100u);
    EXPECT_EQ(sim.core.table[0].brightness, 100u);
}

TEST_F(LaptopPanel, FailuresLeaveTheEntryAlone) {
    sim.core.table[0].brightness = 33;
    sim.wmi.SetFailing(true);
    ReadLaptopBrightness(sim.core, 0);
    SetLaptopBrightness(sim.core, 80);
    EXPECT_FALSE(sim.core.wmiOk);
    EXPECT_EQ(sim.core.table[0].brightness, 33u);
    EXPECT_EQ(sim.core.table[0].isLaptopPanel, 0);
    EXPECT_FALSE(sim.window.HasTimer(kPanelTimer));
}

}  // namespace
}  // namespace lv
