// Monitor selection inside a line: by number, by name (list text, serial, capabilities
// model), refusals that stop the line, and what a selection leaves behind.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "command_test_support.h"
#include "commands/interpreter.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

// Rows: NOVAU27, ORION243, ZETA24 (silent: "?").
constexpr std::string_view kTrio = R"(
[display]
friendly = NOVA U27
path = \\?\DISPLAY#NOV0027#5&1a2b3c4d&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
serial = 7MT0193A1B2C
[monitor]
brightness = 0 70 100
capabilities = (prot(monitor)model(U2719D)vcp(10 12))

[display]
friendly = ORION 243
path = \\?\DISPLAY#ORI0243#5&1a2b3c4d&0&UID4357#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
serial = UK01919012345
[monitor]
brightness = 0 40 100
capabilities = (prot(monitor)model(PL2779Q)vcp(10 12))

[display]
friendly = ZETA 24
[monitor]
ddc = dead
)";

struct SelectCase {
    int64_t start;
    const char* line;  // " d" is appended: it runs only when the line goes on
    int64_t selected;
    bool goesOn;
};

void PrintTo(const SelectCase& c, std::ostream* os) { *os << "from " << c.start << ": \"" << c.line << "\""; }

class SelectionTest : public ::testing::TestWithParam<SelectCase> {};

TEST_P(SelectionTest, SelectsOrStops) {
    const SelectCase& c = GetParam();
    auto sim = Seeded(kTrio);
    sim->core.selectedMonitor = c.start;
    CommandInterpreter(sim->core, std::string(c.line) + " d");
    EXPECT_EQ(sim->core.selectedMonitor, c.selected);
    EXPECT_EQ(sim->core.queryFlag, c.goesOn);
    if (c.goesOn) {
        EXPECT_EQ(sim->core.queryValue, sim->core.table[static_cast<std::size_t>(c.selected)].brightness);
    }
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SelectionTest,
    ::testing::Values(SelectCase{0, "2", 1, true}, SelectCase{1, "1", 0, true},
                      SelectCase{1, "0", 0, true},    // 0 also means the first monitor
                      SelectCase{0, "3", 0, false},   // row shows "?"
                      SelectCase{0, "4", 0, false},   // beyond the list
                      SelectCase{0, "9", 0, false},
                      SelectCase{1, "2 1", 0, true},
                      SelectCase{0, "orion", 1, true},      // list text
                      SelectCase{0, "ORION", 1, true},      // any case
                      SelectCase{0, "oRiOn243", 1, true},
                      SelectCase{0, "uk0191", 1, true},     // serial number
                      SelectCase{0, "pl2779q", 1, true},    // capabilities model
                      SelectCase{1, "u2719d", 0, true},
                      SelectCase{1, "7mt", 0, true},        // a word starting with a digit is a name
                      SelectCase{0, "243", 1, true},        // so is a number of two digits
                      SelectCase{1, "19", 0, true},         // both serials hold it: the first row wins
                      SelectCase{0, "zeta", 0, false},      // matches a "?" row
                      SelectCase{0, "nosuch", 0, false},
                      SelectCase{0, "nova orion", 1, true},
                      SelectCase{0, "orion nosuch", 1, false},  // the selection made before the stop stays
                      SelectCase{0, "orion 3", 1, false}));

TEST(Selection, SelectingMarksTheListRowAndForcesReselection) {
    auto sim = Seeded(kTrio);
    sim->core.forceReselect = false;
    sim->Run("2 ");
    EXPECT_EQ(sim->core.list.SelectedRow(), 1);
    EXPECT_EQ(sim->view.SelectedRow(), 1);
    EXPECT_TRUE(sim->core.forceReselect);
}

TEST(Selection, WithoutListSyncTheListRowStays) {
    auto sim = Seeded(kTrio);
    sim->core.listSync = false;
    CommandInterpreter(sim->core, "orion");
    EXPECT_EQ(sim->core.selectedMonitor, 1);
    EXPECT_EQ(sim->core.list.SelectedRow(), 0);
    EXPECT_EQ(sim->view.SelectedRow(), 0);
}

TEST(Selection, RefusedSelectionForcesNothing) {
    auto sim = Seeded(kTrio);
    sim->core.forceReselect = false;
    sim->Run("3 b 10");
    sim->Run("zeta b 10");
    EXPECT_FALSE(sim->core.forceReselect);
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
}

TEST(Selection, PersistsToTheNextLine) {
    auto sim = Seeded(kTrio);
    sim->Run("2 ");
    sim->Run("b 30");
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 30u);
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 70u);
    sim->Run("nova");
    sim->Run("b 10");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 10u);
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 30u);
}

TEST(Selection, ValuesGoToTheMonitorSelectedMidLine) {
    auto sim = Seeded(kTrio);
    sim->Run("b 11 2 b 22 1 c 33");
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 11u);
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 22u);
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 33u);
    EXPECT_EQ(sim->core.selectedMonitor, 0);
}

// Row 0's text holds a 2, row 1's does not: a lone "2" at the end of the line is a name.
constexpr std::string_view kDigitNames = R"(
[display]
friendly = ALPHA 2
[monitor]
[display]
friendly = BETA
[monitor]
)";

TEST(Selection, SingleDigitAtTheEndOfTheLineIsAName) {
    auto sim = Seeded(kDigitNames);
    sim->core.selectedMonitor = 1;
    CommandInterpreter(sim->core, "2");
    EXPECT_EQ(sim->core.selectedMonitor, 0) << "found by name, not as monitor 2";

    CommandInterpreter(sim->core, "2 ");
    EXPECT_EQ(sim->core.selectedMonitor, 1) << "with a space behind it is a number";

    sim->core.selectedMonitor = 1;
    CommandInterpreter(sim->core, "b 20 2");
    EXPECT_EQ(sim->core.selectedMonitor, 0);
}

TEST(Selection, SingleDigitNameThatMatchesNothingStops) {
    auto sim = Seeded(kDigitNames);
    sim->core.forceReselect = false;
    CommandInterpreter(sim->core, "7");
    EXPECT_EQ(sim->core.selectedMonitor, 0);
    EXPECT_FALSE(sim->core.forceReselect);
}

TEST(Selection, FirstMatchingRowDecidesEvenWhenSilent) {
    // Both rows hold "zeta"; the first one shows "?", so the line stops there.
    auto sim = Seeded(R"(
[display]
friendly = ZETA 24
[monitor]
ddc = dead
[display]
friendly = ZETA 27
[monitor]
)");
    CommandInterpreter(sim->core, "zeta d");
    EXPECT_FALSE(sim->core.queryFlag);
    EXPECT_EQ(sim->core.selectedMonitor, 0);
    CommandInterpreter(sim->core, "zeta27 d");
    EXPECT_TRUE(sim->core.queryFlag);
    EXPECT_EQ(sim->core.selectedMonitor, 1);
}

TEST(Selection, EmptyListRefusesEveryNumber) {
    auto sim = Seeded(kTrio);
    sim->core.list.Clear();
    CommandInterpreter(sim->core, "1 d");
    EXPECT_FALSE(sim->core.queryFlag);
    CommandInterpreter(sim->core, "0 d");
    EXPECT_FALSE(sim->core.queryFlag);
    CommandInterpreter(sim->core, "orion d");
    EXPECT_FALSE(sim->core.queryFlag);
}

}  // namespace
}  // namespace lv
