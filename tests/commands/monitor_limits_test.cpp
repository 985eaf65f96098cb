// The eight limit rows of the settings, applied as "name a low high low high" lines.
#include <gtest/gtest.h>

#include <string>

#include "command_test_support.h"
#include "commands/submission.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

void SetRow(Core& core, int k, std::string_view name, int32_t bMin, int32_t bMax, int32_t cMin, int32_t cMax) {
    MonitorLimitRow& row = core.settings.limits[static_cast<std::size_t>(k)];
    row.name = name;
    row.brightnessMin = bMin;
    row.brightnessMax = bMax;
    row.contrastMin = cMin;
    row.contrastMax = cMax;
}

void ExpectLimits(const MonitorEntry& e, uint32_t bLow, uint32_t bHigh, uint32_t cLow, uint32_t cHigh) {
    EXPECT_EQ(e.brightnessLow, bLow);
    EXPECT_EQ(e.brightnessHigh, bHigh);
    EXPECT_EQ(e.contrastLow, cLow);
    EXPECT_EQ(e.contrastHigh, cHigh);
}

// All ten entries are reset first; every row applies in order, the later row for the same
// monitor wins, and the selection and list stay as they were.
TEST(MonitorLimits, RowsApplyInOrderAndPullTheValuesIn) {
    auto sim = Seeded();
    for (MonitorEntry& e : sim->core.table) e.contrastHigh = 66;
    sim->core.selectedMonitor = 1;
    SetRow(sim->core, 0, "nova", 5, 60, 0, 100);
    SetRow(sim->core, 1, "nosuch", 1, 2, 3, 4);           // no effect, the next rows still apply
    SetRow(sim->core, 3, "PL2779Q", 60, 80, 20, 90);      // found through the capabilities model only
    SetRow(sim->core, 7, "nova pl2779q", 0, 100, 45, 50);  // the last word of a name decides
    ApplyMonitorLimits(sim->core);
    ExpectLimits(sim->core.table[0], 5, 60, 0, 100);
    ExpectLimits(sim->core.table[1], 0, 100, 45, 50);
    for (std::size_t i = 2; i < sim->core.table.size(); ++i) ExpectLimits(sim->core.table[i], 0, 100, 0, 100);
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 60u);
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 56u);  // 50 pulled up to 60: 20 + MulDiv(60, 60, 100)
    EXPECT_EQ(Hw(*sim, 1).contrast.current, 45u);
    EXPECT_EQ(sim->core.selectedMonitor, 1);
    EXPECT_TRUE(sim->core.listSync);
    EXPECT_TRUE(sim->window.CopyDataSent().empty()) << "run at once, not through the window";
}

TEST(MonitorLimits, RowsThatApplyNothing) {
    // A name that reads as a command would run it at every start ("q" quits, "x" switches
    // the monitors off): such rows are refused whole.
    for (const char* name : {" pl2779q", "", "zeta", "nosuch pl2779q", "q", "X", "z", "pl2779q b20", "blue"}) {
        auto sim = Seeded();
        SetRow(sim->core, 0, name, 10, 80, 20, 90);
        ApplyMonitorLimits(sim->core);
        for (const MonitorEntry& e : sim->core.table) ExpectLimits(e, 0, 100, 0, 100);
        EXPECT_EQ(sim->monitors.DdcCallCount(), 0u) << "'" << name << "'";
        sim->Pump();
        EXPECT_TRUE(sim->otherCommands.empty()) << "'" << name << "'";
        EXPECT_FALSE(sim->core.restartflag);
    }
}

}  // namespace
}  // namespace lv
