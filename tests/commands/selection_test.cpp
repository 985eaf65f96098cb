// Monitor selection inside a line: by number, by name (list text, serial, capabilities
// model), refusals that stop the line, and what a selection leaves behind.
#include <gtest/gtest.h>

#include <string>

#include "command_test_support.h"
#include "commands/interpreter.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

TEST(Selection, SelectsOrStops) {
    struct Case {
        int64_t start;
        const char* line;  // " d" is appended: it runs only when the line goes on
        int64_t selected;
        bool goesOn;
    };
    for (const Case& c : {Case{1, "0", 0, true},    // 0 also means the first monitor
                          Case{0, "3", 0, false},   // row shows "?"
                          Case{0, "4", 0, false},   // beyond the list
                          Case{1, "2 1", 0, true}, Case{0, "oRiOn243", 1, true},  // list text, any case
                          Case{0, "uk0191", 1, true},   // serial number
                          Case{0, "pl2779q", 1, true},  // capabilities model
                          Case{1, "7mt", 0, true},      // a word starting with a digit is a name
                          Case{0, "243", 1, true},      // so is a number of two digits
                          Case{1, "19", 0, true},       // both serials hold it: the first row wins
                          Case{0, "zeta", 0, false},    // matches a "?" row
                          Case{0, "nova orion", 1, true},
                          Case{0, "orion nosuch", 1, false},  // the selection made before the stop stays
                          Case{0, "orion 3", 1, false}}) {
        auto sim = Seeded();
        sim->core.selectedMonitor = c.start;
        sim->core.forceReselect = false;
        CommandInterpreter(sim->core, std::string(c.line) + " d");
        EXPECT_EQ(sim->core.selectedMonitor, c.selected) << c.line;
        EXPECT_EQ(sim->core.queryFlag, c.goesOn) << c.line;
        // Every selection made marks the list row and forces the popup to reselect; a refused
        // one does neither.
        const bool selectionMade = c.goesOn || c.selected != c.start;
        EXPECT_EQ(sim->core.forceReselect, selectionMade) << c.line;
        EXPECT_EQ(sim->core.list.SelectedRow(), selectionMade ? c.selected : 0) << c.line;
        EXPECT_EQ(sim->view.SelectedRow(), selectionMade ? c.selected : 0) << c.line;
        EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    }
}

// Row 0's text holds a 2, row 1's does not; rows 2 and 3 both hold "zeta", the first is silent.
TEST(Selection, LoneDigitsAtTheEndAndTheFirstMatchingRow) {
    auto sim = Seeded(
        "[display]\nfriendly = ALPHA 2\n[monitor]\n[display]\nfriendly = BETA\n[monitor]\n"
        "[display]\nfriendly = ZETA 24\n[monitor]\nddc = dead\n[display]\nfriendly = ZETA 27\n[monitor]\n");
    struct Case {
        int64_t start;
        const char* line;
        int64_t selected;
        bool selectionMade;
    };
    for (const Case& c : {Case{1, "2", 0, true},        // a lone digit at the end of the line is a name
                          Case{0, "2 ", 1, true},       // with a space behind it, a number
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
    sim->Run("b 11 1 b 22 2 c 33");
    EXPECT_EQ(Hw(*sim, 1).brightness.current, 27u);  // 20 + MulDiv(11, 60, 100)
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 22u);
    EXPECT_EQ(Hw(*sim, 0).contrast.current, 75u);
    EXPECT_EQ(Hw(*sim, 1).contrast.current, 33u);
    EXPECT_EQ(sim->core.selectedMonitor, 1);
    sim->core.list.Clear();  // an empty list refuses every number
    CommandInterpreter(sim->core, "0 d");
    EXPECT_FALSE(sim->core.queryFlag);
}

}  // namespace
}  // namespace lv
