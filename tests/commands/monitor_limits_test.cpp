// The eight limit rows of the settings: the monitor a row's name selects receives the
// row's four numbers as the a command would store them.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "command_test_support.h"
#include "commands/submission.h"

namespace lv {
namespace {

using test::ExpectLimits;
using test::Hw;
using test::Seeded;

MonitorLimitRow Row(std::string_view name, int32_t bMin, int32_t bMax, int32_t cMin, int32_t cMax) {
    return {name, bMin, bMax, cMin, cMax};
}

// All ten entries are reset first; every row applies in order, the later row for the same
// monitor wins, and the selection and list stay as they were.
TEST(MonitorLimits, RowsApplyInOrderAndPullTheValuesIn) {
    auto sim = Seeded();
    for (MonitorEntry& e : sim->core.table) e.contrastHigh = 66;
    sim->core.selectedMonitor = 1;
    sim->core.settings.limits[0] = Row("nova", 5, 60, 0, 100);
    sim->core.settings.limits[1] = Row("nosuch", 1, 2, 3, 4);           // no effect, the next rows still apply
    sim->core.settings.limits[3] = Row("PL2779Q", 60, 80, 20, 90);      // found through the capabilities model only
    sim->core.settings.limits[7] = Row("nova pl2779q", 0, 100, 45, 50);  // the last word of a name decides
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
    for (const char* name : {" pl2779q", "", "zeta", "nosuch pl2779q", "pl2779q b20", "blue"}) {
        auto sim = Seeded();
        sim->core.settings.limits[0] = Row(name, 10, 80, 20, 90);
        ApplyMonitorLimits(sim->core);
        for (const MonitorEntry& e : sim->core.table) ExpectLimits(e, 0, 100, 0, 100);
        EXPECT_EQ(sim->monitors.DdcCallCount(), 0u) << "'" << name << "'";
        sim->Pump();
        EXPECT_TRUE(sim->otherCommands.empty()) << "'" << name << "'";
        EXPECT_FALSE(sim->core.restartflag);
    }
}

// Names that read as commands ("bl2420pt" as blue, "e24" as a query, "x" as monitors off):
// every word of a row's name only selects, by number, name or serial number, and all of
// them must select a monitor; nothing in the name ever runs.
constexpr std::string_view kNamesThatReadAsCommands = R"(
[display]
friendly = HP E24
[monitor]
brightness = 0 70 100
[display]
friendly = BL2420PT
path = \\?\DISPLAY#BNQ7F55#5&1a2b3c4d&0&UID4357#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
serial = ET5A0123456SL0
[monitor]
brightness = 0 70 100
[display]
friendly = ZOWIE XL2411
[monitor]
brightness = 0 70 100
)";

TEST(MonitorLimits, NameWordsOnlySelectMonitors) {
    constexpr int kNone = -1;
    const std::pair<const char*, int> cases[] = {
        {"BL2420PT", 1}, {"HP E24", 0}, {"2", 1}, {"et5a0123456sl0", 1}, {"x z", 2},
        {"q", kNone}, {"HP nosuch", kNone}, {"4", kNone},
    };
    for (const auto& [name, limited] : cases) {
        SCOPED_TRACE(name);
        auto sim = Seeded(kNamesThatReadAsCommands);
        sim->core.settings.limits[2] = Row(name, 10, 40, 0, 100);
        ApplyMonitorLimits(sim->core);
        sim->Pump();
        EXPECT_TRUE(sim->otherCommands.empty());
        EXPECT_FALSE(sim->core.restartflag);
        EXPECT_FALSE(sim->core.queryFlag);
        for (int row = 0; row < 3; ++row) {
            sim->Run(std::to_string(row + 1) + " b 90");
            EXPECT_EQ(Hw(*sim, static_cast<std::size_t>(row)).brightness.current, row == limited ? 40u : 90u) << "row " << row;
        }
    }
}

}  // namespace
}  // namespace lv
