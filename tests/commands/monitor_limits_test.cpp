// The eight limit rows of the settings, applied as "name a low high low high" lines.
#include <gtest/gtest.h>

#include <string>

#include "command_test_support.h"
#include "commands/submission.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

// Row 1 is found as pl2779q only through its capabilities model; row 2 is silent.
constexpr std::string_view kDesk = R"(
[display]
friendly = NOVA U27
[monitor]
brightness = 0 70 100
contrast = 0 75 100
capabilities = (prot(monitor)model(U2719D)vcp(10 12))

[display]
friendly = ORION 243
[monitor]
brightness = 0 95 100
contrast = 0 10 100
capabilities = (prot(monitor)model(PL2779Q)vcp(10 12))

[display]
friendly = ZETA 24
[monitor]
ddc = dead
)";

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

TEST(MonitorLimits, RowStoresTheLimitsAndPullsTheValuesIn) {
    auto sim = Seeded(kDesk);
    SetRow(sim->core, 0, "pl2779q", 10, 80, 20, 90);
    ApplyMonitorLimits(sim->core);
    ExpectLimits(sim->core.table[1], 10, 80, 20, 90);
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 80u);
    EXPECT_EQ(Hw(*sim, 1).contrast.current, 20u);
    ExpectLimits(sim->core.table[0], 0, 100, 0, 100);
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 70u);
    // The selection and the list are as before; the flag is back on.
    EXPECT_EQ(sim->core.selectedMonitor, 0);
    EXPECT_TRUE(sim->core.listSync);
    EXPECT_EQ(sim->core.list.SelectedRow(), 0);
    EXPECT_EQ(sim->view.SelectedRow(), 0);
    // Run at once, not through the window.
    EXPECT_TRUE(sim->window.CopyDataSent().empty());
    EXPECT_TRUE(sim->window.Commands().empty());
}

TEST(MonitorLimits, NameIsLowerCasedAndMatchedAnyCase) {
    auto sim = Seeded(kDesk);
    SetRow(sim->core, 3, "PL2779Q", 10, 80, 20, 90);
    ApplyMonitorLimits(sim->core);
    ExpectLimits(sim->core.table[1], 10, 80, 20, 90);
}

TEST(MonitorLimits, AllTenEntriesAreResetFirst) {
    auto sim = Seeded(kDesk);
    for (MonitorEntry& e : sim->core.table) {
        e.brightnessLow = 33;
        e.brightnessHigh = 44;
        e.contrastLow = 55;
        e.contrastHigh = 66;
    }
    ApplyMonitorLimits(sim->core);
    for (const MonitorEntry& e : sim->core.table) ExpectLimits(e, 0, 100, 0, 100);
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
}

TEST(MonitorLimits, RowsThatApplyNothing) {
    struct Case {
        const char* name;
    };
    // A name that reads as a command would run it at every start ("q" quits, "x" switches
    // the monitors off): such rows are refused whole.
    for (const Case& c : {Case{" pl2779q"}, Case{""}, Case{"zeta"}, Case{"nosuch"}, Case{"nosuch pl2779q"}, Case{"q"},
                          Case{"X"}, Case{"z"}, Case{"pl2779q b20"}, Case{"blue"}}) {
        auto sim = Seeded(kDesk);
        SetRow(sim->core, 0, c.name, 10, 80, 20, 90);
        ApplyMonitorLimits(sim->core);
        for (const MonitorEntry& e : sim->core.table) ExpectLimits(e, 0, 100, 0, 100);
        EXPECT_EQ(sim->monitors.DdcCallCount(), 0u) << "'" << c.name << "'";
        EXPECT_EQ(sim->core.selectedMonitor, 0);
        EXPECT_TRUE(sim->core.listSync);
        sim->Pump();
        EXPECT_TRUE(sim->otherCommands.empty()) << "'" << c.name << "'";
        EXPECT_FALSE(sim->core.restartflag);
    }
}

TEST(MonitorLimits, EveryRowIsAppliedAndTheLastWordOfANameDecides) {
    auto sim = Seeded(kDesk);
    sim->core.selectedMonitor = 1;
    SetRow(sim->core, 0, "nova", 5, 60, 0, 100);
    SetRow(sim->core, 1, "nosuch", 1, 2, 3, 4);  // no effect, the next rows still apply
    SetRow(sim->core, 7, "nova orion", 0, 100, 30, 50);
    ApplyMonitorLimits(sim->core);
    ExpectLimits(sim->core.table[0], 5, 60, 0, 100);
    ExpectLimits(sim->core.table[1], 0, 100, 30, 50);
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 60u);
    EXPECT_EQ(Hw(*sim, 1).contrast.current, 30u);
    EXPECT_EQ(sim->core.selectedMonitor, 1);
}

TEST(MonitorLimits, LaterRowForTheSameMonitorWins) {
    auto sim = Seeded(kDesk);
    SetRow(sim->core, 0, "orion", 10, 80, 20, 90);
    SetRow(sim->core, 1, "pl2779q", 0, 50, 0, 100);
    ApplyMonitorLimits(sim->core);
    ExpectLimits(sim->core.table[1], 0, 50, 0, 100);
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 50u);
}

TEST(MonitorLimits, LimitsThenClampCommands) {
    auto sim = Seeded(kDesk);
    SetRow(sim->core, 0, "nova", 20, 60, 0, 100);
    ApplyMonitorLimits(sim->core);
    sim->Run("b 100");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 60u);
    sim->Run("b 0");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u);
}

TEST(MonitorLimits, ApplyingAgainStartsFromTheDefaults) {
    auto sim = Seeded(kDesk);
    SetRow(sim->core, 0, "nova", 20, 60, 0, 100);
    ApplyMonitorLimits(sim->core);
    SetRow(sim->core, 0, "", 0, 0, 0, 0);
    ApplyMonitorLimits(sim->core);
    ExpectLimits(sim->core.table[0], 0, 100, 0, 100);
}

}  // namespace
}  // namespace lv
