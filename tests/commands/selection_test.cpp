// Monitor selection inside a line: by number, by name (list text, serial, capabilities
// model), refusals that stop the line, and what a selection leaves behind.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "command_test_support.h"
#include "commands/interpreter.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

// " d" is appended to each line: it runs only when the line goes on.
TEST(Selection, SelectsOrStops) {
    const std::tuple<int64_t, const char*, int64_t, bool> cases[] = {
        {1, "0", 0, true},    // 0 also means the first monitor
        {0, "3", 0, false},   // row shows "?"
        {0, "4", 0, false},   // beyond the list
        {1, "2 1", 0, true}, {0, "oRiOn243", 1, true},  // list text, any case
        {0, "uk0191", 1, true},   // serial number
        {0, "pl2779q", 1, true},  // capabilities model
        {1, "7mt", 0, true},      // a word starting with a digit is a name
        {0, "243", 1, true},      // so is a number of two digits
        {1, "19", 0, true},       // both serials hold it: the first row wins
        {0, "zeta", 0, false},    // matches a "?" row
        {0, "nova orion", 1, true},
        {0, "orion nosuch", 1, false},  // the selection made before the stop stays
        {0, "orion 3", 1, false}};
    for (const auto& [start, line, selected, goesOn] : cases) {
        SCOPED_TRACE(line);
        auto sim = Seeded();
        sim->core.selectedMonitor = start;
        sim->core.forceReselect = false;
        CommandInterpreter(sim->core, std::string(line) + " d");
        EXPECT_EQ(sim->core.selectedMonitor, selected);
        EXPECT_EQ(sim->core.queryFlag, goesOn);
        // Every selection made marks the list row and forces the popup to reselect; a refused
        // one does neither.
        const bool selectionMade = goesOn || selected != start;
        EXPECT_EQ(sim->core.forceReselect, selectionMade);
        EXPECT_EQ(sim->core.list.SelectedRow(), selectionMade ? selected : 0);
        EXPECT_EQ(sim->view.SelectedRow(), selectionMade ? selected : 0);
        EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
    }
}

// Row 0's text holds a 2, row 1's does not; rows 2 and 3 both hold "zeta", the first is silent.
TEST(Selection, LoneDigitsAtTheEndAndTheFirstMatchingRow) {
    auto sim = Seeded(
        "[display]\nfriendly = ALPHA 2\n[monitor]\n[display]\nfriendly = BETA\n[monitor]\n"
        "[display]\nfriendly = ZETA 24\n[monitor]\nddc = dead\n[display]\nfriendly = ZETA 27\n[monitor]\n");
    const std::tuple<int64_t, const char*, int64_t, bool> cases[] = {
        {1, "2", 0, true},        // a lone digit at the end of the line is a name
        {0, "2 ", 1, true},       // with a space behind it, a number
        {0, "8", 0, false},       // a name that matches nothing
        {1, "zeta d", 1, false},  // the first match decides, even when silent
        {0, "zeta27 d", 3, true}};
    for (const auto& [start, line, selected, selectionMade] : cases) {
        sim->core.selectedMonitor = start;
        sim->core.forceReselect = false;
        CommandInterpreter(sim->core, line);
        EXPECT_EQ(sim->core.selectedMonitor, selected) << line;
        EXPECT_EQ(sim->core.forceReselect, selectionMade) << line;
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
