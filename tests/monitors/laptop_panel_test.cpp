#include "monitors/laptop_panel.h"

#include <vector>

#include <gtest/gtest.h>

#include "core/timers.h"
#include "tools/simulator.h"

namespace lv {
namespace {

using sim::Simulator;

TEST(PanelLevels, PercentTableEntriesFollowTheRoundedSteps) {
    // Four levels: steps start at round(0), round(25.25) = 25, round(50.5) = 51, round(75.75) = 76.
    const PanelLevels data = MakePanelLevels({5, 40, 70, 100});
    EXPECT_EQ(data.percent[24], 5);
    EXPECT_EQ(data.percent[25], 40);
    EXPECT_EQ(data.percent[50], 40);
    EXPECT_EQ(data.percent[51], 70);
    EXPECT_EQ(data.percent[76], 100);
    EXPECT_EQ(data.PercentOf(5, 5), 0u) << "the minimum level reads as 0 % even above level 0";
    EXPECT_EQ(data.PercentOf(40, 40), 33u);
    EXPECT_EQ(data.PercentOf(55, 55), 55u) << "a level not in the list is shown as it is";
    // Unusable lists: not ascending, empty, too long; a single step divides by nothing.
    EXPECT_FALSE(MakePanelLevels({50, 40, 60}).Usable());
    EXPECT_EQ(MakePanelLevels({50, 40, 60}).PercentOf(40, 40), 40u);
    EXPECT_FALSE(MakePanelLevels({}).Usable());
    EXPECT_FALSE(MakePanelLevels(std::vector<uint8_t>(102, 1)).Usable());
    EXPECT_EQ(MakePanelLevels({70}).PercentOf(70, 70), 100u);
}

constexpr const char* kLaptop = R"(
[display]
[monitor]
ddc = dead
[panel]
levels = 0 10 20 30 40 50 60 70 80 90 100
current = 40
)";

TEST(LaptopPanel, ReadKeepsTheLevelForPowerChangesOnlyWithoutBatterySaver) {
    Simulator sim(sim::ParseFleet(kLaptop).fleet);
    ReadPanelLevels(sim.core);
    EXPECT_TRUE(ReadLaptopBrightness(sim.core, 0));
    EXPECT_EQ(sim.core.table[0].brightness, 40u);
    EXPECT_EQ(sim.core.table[0].isLaptopPanel, 1);
    EXPECT_EQ(sim.core.savedPanelLevel, 40);

    sim.fleet.panel->current = 60;
    sim.system.SetBatterySaver(true);  // the saver dims the panel by itself: not worth keeping
    ReadLaptopBrightness(sim.core, 0);
    EXPECT_EQ(sim.core.table[0].brightness, 60u);
    EXPECT_EQ(sim.core.savedPanelLevel, 40);
}

TEST(LaptopPanel, SetSendsTheLevelAndStartsTimer33) {
    Simulator sim(sim::ParseFleet(kLaptop).fleet);
    ReadPanelLevels(sim.core);
    EXPECT_TRUE(SetLaptopBrightness(sim.core, 54));
    EXPECT_EQ(sim.fleet.panel->current, 50u);  // 54 % falls on the step of level 50
    EXPECT_EQ(sim.core.table[0].brightness, 50u);
    EXPECT_EQ(sim.core.savedPanelLevel, 50);
    EXPECT_EQ(sim.window.TimerPeriod(timer::kPanel), timer::kPanelMs);

    Simulator failing(sim::ParseFleet(kLaptop).fleet);
    ReadPanelLevels(failing.core);
    failing.core.table[0].brightness = 33;
    failing.wmi.SetFailing(true);
    EXPECT_FALSE(SetLaptopBrightness(failing.core, 80));
    EXPECT_EQ(failing.core.table[0].brightness, 33u);
    EXPECT_FALSE(failing.window.HasTimer(timer::kPanel));
}

// A laptop with an external monitor whose DDC/CI is off: the panel answers only for its
// own row, found by its instance (whatever the output technology says) or, where no
// instance is known, by an internal output technology.
TEST(LaptopPanel, ServesOnlyTheMonitorItBelongsTo) {
    struct Case {
        const char* name;
        const char* fleet;
        int panelRow, externalRow;
    };
    const Case cases[] = {
        {"by instance", R"(
[display]
path = \\?\DISPLAY#LGD05E5#4&2c3b1a0f&0&UID8388688#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
[monitor]
ddc = dead
[display]
friendly = EXT 27
path = \\?\DISPLAY#EXT0027#5&1a2b3c4d&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
[monitor]
ddc = dead
[panel]
current = 40
)",
         0, 1},
        {"by technology", R"(
[display]
friendly = EXT 27
technology = 5
[monitor]
ddc = dead
[display]
technology = 0x80000000
[monitor]
ddc = dead
[panel]
current = 40
)",
         1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Simulator sim(sim::ParseFleet(c.fleet).fleet);
        sim.Seed();
        EXPECT_EQ(sim.core.list.Cell(c.panelRow, kColumnContrast), ".");
        EXPECT_EQ(sim.core.list.Cell(c.externalRow, kColumnBrightness), "?");
        EXPECT_EQ(sim.core.table[static_cast<std::size_t>(c.externalRow)].isLaptopPanel, 0);

        sim.core.selectedMonitor = c.externalRow;
        sim.Run("b 10");
        EXPECT_EQ(sim.fleet.panel->current, 40u);
        EXPECT_EQ(sim.wmi.RequestCount("SetBrightness"), 0u);

        sim.core.selectedMonitor = c.panelRow;
        sim.Run("b 10");
        EXPECT_EQ(sim.fleet.panel->current, 10u);
    }
}

}  // namespace
}  // namespace lv
