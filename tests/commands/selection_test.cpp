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
    auto sim = Seeded();
    sim->core.selectedMonitor = c.start;
    sim->core.forceReselect = false;
    CommandInterpreter(sim->core, std::string(c.line) + " d");
    EXPECT_EQ(sim->core.selectedMonitor, c.selected);
    EXPECT_EQ(sim->core.queryFlag, c.goesOn);
    if (c.goesOn) {
        EXPECT_EQ(sim->core.queryValue, sim->core.table[static_cast<std::size_t>(c.selected)].brightness);
    }
    // Every selection made marks the list row and forces the popup to reselect; a refused
    // one does neither.
    const bool selectionMade = c.goesOn || c.selected != c.start;
    EXPECT_EQ(sim->core.forceReselect, selectionMade);
    EXPECT_EQ(sim->core.list.SelectedRow(), selectionMade ? c.selected : 0);
    EXPECT_EQ(sim->view.SelectedRow(), selectionMade ? c.selected : 0);
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

// Row 0's text holds a 2, row 1's does not; rows 2 and 3 both hold "zeta", the first is silent.
TEST(Selection, LoneDigitsAtTheEndAndTheFirstMatchingRow) {
    auto sim = Seeded(R"(
[display]
friendly = ALPHA 2
[monitor]
[display]
friendly = BETA
[monitor]
[display]
friendly = ZETA 24
[monitor]
ddc = dead
[display]
friendly = ZETA 27
[monitor]
)");
    struct Case {
        int64_t start;
        const char* line;
        int64_t selected;
        bool selectionMade;
    };
    for (const Case& c : {Case{1, "2", 0, true},        // a lone digit at the end of the line is a name
                          Case{0, "2 ", 1, true},       // with a space behind it, a number
                          Case{1, "b 20 2", 0, true},
                          Case{0, "8", 0, false},       // a name that matches nothing
                          Case{1, "zeta d", 1, false},  // the first match decides, even when silent
                          Case{0, "zeta27 d", 3, true}}) {
        sim->core.selectedMonitor = c.start;
        sim->core.forceReselect = false;
        CommandInterpreter(sim->core, c.line);
        EXPECT_EQ(sim->core.selectedMonitor, c.selected) << c.line;
        EXPECT_EQ(sim->core.forceReselect, c.selectionMade) << c.line;
    }
}

TEST(Selection, PersistsToTheNextLineAndChangesMidLine) {
    auto sim = Seeded();
    sim->Run("2 ");
    sim->Run("b 30");
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 38u);  // 20 + MulDiv(30, 60, 100)
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 70u);
    sim->Run("b 11 1 b 22 2 c 33");
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 27u);
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 22u);
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 75u);
    EXPECT_EQ(Hw(*sim, 1).contrast.current, 33u);
    EXPECT_EQ(sim->core.selectedMonitor, 1);
}

TEST(Selection, EmptyListRefusesEveryNumber) {
    auto sim = Seeded();
    sim->core.list.Clear();
    for (const char* line : {"1 d", "0 d", "orion d"}) {
        CommandInterpreter(sim->core, line);
        EXPECT_FALSE(sim->core.queryFlag) << line;
    }
}

}  // namespace
}  // namespace lv
