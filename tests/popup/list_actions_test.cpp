#include "popup/list_actions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/command_test_support.h"
#include "monitors/monitor_list.h"
#include "popup/popup_proc.h"

namespace lv {
namespace {

using test::Seeded;

// Rewrites the seeded desk's list: one name per row, and "?" in column 1 for a silent row.
void ShowRows(sim::Simulator& s, const std::vector<std::pair<std::string, bool>>& rows) {
    ClearList(s.core);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        AddListRow(s.core, rows[row].first);
        SetListCell(s.core, static_cast<int>(row), kColumnBrightness, rows[row].second ? "?" : "50");
    }
}

// Whether `action` asked for a restart.
bool Restarts(sim::Simulator& s, void (*action)(Core&)) {
    const auto exits = [&] { return std::ranges::count(s.window.Commands(), res::kExit, &sim::PostedCommand::id); };
    const auto before = exits();
    action(s.core);
    return exits() > before;
}

TEST(ListActions, AClickSelectsTheRowOrTheFirstAnsweringOne) {
    struct Case {
        const char* name;
        std::vector<bool> silent;
        int clicked;
        int64_t expected;
    };
    const Case cases[] = {
        {"answering row", {false, false, false}, 2, 2},
        {"silent row gives way", {true, false, true}, 2, 1},
        {"no row", {true, true, false}, -1, 2},
        {"row beyond the list", {true, false}, 5, 1},
        {"all silent keeps the click", {true, true, true}, 1, 1},
        {"all silent, no row", {true, true}, -1, 0},
    };
    for (const Case& c : cases) {
        auto s = Seeded();
        std::vector<std::pair<std::string, bool>> rows;
        for (std::size_t i = 0; i < c.silent.size(); ++i) rows.push_back({"DISPLAY" + std::to_string(i + 1), c.silent[i]});
        ShowRows(*s, rows);
        s->core.selectedMonitor = 7;
        s->core.forceReselect = false;
        SelectFromList(s->core, c.clicked);
        EXPECT_EQ(s->core.selectedMonitor, c.expected) << c.name;
        EXPECT_EQ(s->core.list.SelectedRow(), c.expected) << c.name;
        EXPECT_TRUE(s->core.forceReselect) << c.name;
    }
}

TEST(ListActions, IgnoreMarksTheRowAndRestartsUnlessItIsTheLastWorkingOneOrItsNameIsShared) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, bool>> rows;
        int menuRow;
        bool ignores;
    };
    const Case cases[] = {
        {"silent row", {{"DISPLAY1", false}, {"DISPLAY2", true}, {"DISPLAY3", false}}, 1, true},
        {"other row silent", {{"DISPLAY1", false}, {"DISPLAY2", true}}, 0, false},
        {"other row ignored", {{"DISPLAY1", false}, {"ignore_DISPLAY2", false}}, 0, false},
        {"name shared", {{"DISPLAY1", false}, {"DISPLAY1", false}}, 1, false},
        {"name shared by a silent row", {{"DISPLAY1", true}, {"DISPLAY1", false}, {"DISPLAY2", false}}, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto s = Seeded();
        ShowRows(*s, c.rows);
        RememberMenuRow(s->core, c.menuRow);
        EXPECT_EQ(Restarts(*s, IgnoreMonitor), c.ignores);
        const std::string& name = c.rows[static_cast<std::size_t>(c.menuRow)].first;
        EXPECT_EQ(s->core.list.Cell(c.menuRow, kColumnName), c.ignores ? "ignore_" + name : name);
        EXPECT_EQ(s->core.table[static_cast<std::size_t>(c.menuRow)].ignoreName.View(), c.ignores ? name : "");
        EXPECT_EQ(std::ranges::count_if(s->core.table, [](const MonitorEntry& e) { return !e.ignoreName.Empty(); }),
                  c.ignores ? 1 : 0);
    }
}

TEST(ListActions, AMenuRowOutsideTheListOnlyRestarts) {
    for (int row : {-1, 2, 9}) {
        auto s = Seeded();
        ShowRows(*s, {{"ignore_DISPLAY1", false}, {"DISPLAY2", false}});
        s->core.table[0].ignoreName.Assign("DISPLAY1");
        s->core.menuRow = row;  // the list changed, or the command came without a right click
        EXPECT_TRUE(Restarts(*s, IgnoreMonitor)) << row;
        EXPECT_TRUE(Restarts(*s, UtilizeMonitor)) << row;
        EXPECT_EQ(s->core.list.Cell(0, kColumnName), "ignore_DISPLAY1") << row;
        EXPECT_EQ(s->core.list.Cell(1, kColumnName), "DISPLAY2") << row;
        EXPECT_EQ(s->core.table[0].ignoreName.View(), "DISPLAY1") << row;
    }
}

TEST(ListActions, UtilizeClearsEverySlotOfThatName) {
    auto s = Seeded();
    ShowRows(*s, {{"ignore_DISPLAY1", true}, {"DISPLAY2", false}});
    s->core.table[0].ignoreName.Assign("DISPLAY1");
    s->core.table[4].ignoreName.Assign("DISPLAY1");
    s->core.table[5].ignoreName.Assign("DISPLAY7");
    RememberMenuRow(s->core, 0);
    EXPECT_TRUE(Restarts(*s, UtilizeMonitor));
    EXPECT_EQ(s->core.list.Cell(0, kColumnName), "DISPLAY1");
    EXPECT_TRUE(s->core.table[0].ignoreName.Empty());
    EXPECT_TRUE(s->core.table[4].ignoreName.Empty());
    EXPECT_EQ(s->core.table[5].ignoreName.View(), "DISPLAY7");
}

TEST(ListActions, DebugTextHoldsEveryEntryAndPanelLevels) {
    auto s = Seeded();
    s->core.table = {};
    MonitorEntry& entry = s->core.table[0];
    entry.modelName.Assign("NOVA U27");
    entry.serialNumber.Assign("7MT0193A1B2C");
    entry.capabilitiesAttempt = 1;
    entry.brightnessMax = 100;
    entry.isLaptopPanel = 1;
    s->core.panel.levels = {0, 50, 100};
    std::string zeros;
    for (int i = 0; i < 9; ++i) zeros += "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n----------\r\n";
    EXPECT_EQ(DebugText(s->core),
              "NOVA U27\r\n7MT0193A1B2C\r\n1\r\n0\r\n100\r\n0\r\n0\r\n0\r\n0\r\n0 50 100\r\n----------\r\n" + zeros);
}

TEST(ListActions, DebugTextIsCutAtItsLimit) {
    auto s = Seeded();
    for (MonitorEntry& entry : s->core.table) {
        entry.capabilitiesString.Assign(std::string(1023, 'c'));
        entry.isLaptopPanel = 1;
    }
    s->core.panel.levels.assign(101, 100);
    EXPECT_EQ(DebugText(s->core).size(), kDebugTextLimit);
}

TEST(ListActions, HoverTipListsTheKnownFieldsUnderATitle) {
    auto s = Seeded();
    MonitorEntry& entry = s->core.table[1];
    entry = {};
    entry.deviceName.Assign("\\\\.\\DISPLAY2");
    entry.monitorRect = {1920, 0, 4480, 1440};
    entry.modelName.Assign("ORION 243");
    entry.serialNumber.Assign("UK01919012345");
    entry.yearOfManufacture = 2021;
    const HoverTip tip = HoverTipFor(s->core, 1);
    EXPECT_EQ(tip.title, "\\\\.\\DISPLAY2        2560,1440");
    EXPECT_EQ(tip.text,
              "Monitorname             ORION 243\nSerialnumber          UK01919012345\n"
              "Year of manufacture    2021\n\nRight click -> ignore or check unresponsive monitor");

    entry.yearOfManufacture = 0;
    s->core.settings.languageId = win::kLangGerman;
    EXPECT_EQ(HoverTipFor(s->core, 1).text,
              "Monitorname             ORION 243\nSerialnumber          UK01919012345\n"
              "\nRechtsklick -> reaktionslosen Monitor ignorieren");

    for (int bad : {-1, 3, 10}) EXPECT_EQ(HoverTipFor(s->core, bad).text + HoverTipFor(s->core, bad).title, "") << bad;
}

// The menu's checks are the row's; a row outside the list checks nothing.
TEST(ListActions, ARightClickOpensTheMenuOnTheRowThenSelects) {
    struct Case {
        int row;
        bool ignore, utilize;
        int menuRow;
    };
    for (const Case& c : {Case{0, false, true, 0}, Case{1, true, false, 1}, Case{2, false, false, -1},
                          Case{-1, false, false, -1}}) {
        auto s = Seeded();
        ShowRows(*s, {{"DISPLAY1", false}, {"ignore_DISPLAY2", true}});
        s->core.cursorPos = {300, 400};
        s->core.settings.languageId = win::kLangGerman;
        OnListRightClick(s->core, c.row);
        EXPECT_EQ(s->window.ListMenus(),
                  (std::vector<sim::SimWindowApi::ListMenu>{{{300, 400}, true, c.ignore, c.utilize}})) << c.row;
        EXPECT_EQ(s->core.menuRow, c.menuRow) << c.row;
        EXPECT_EQ(s->core.selectedMonitor, 0) << c.row;  // the ignored row gives way after the menu
    }
}

TEST(ListActions, MenuCommandsArriveThroughTheCommandHandler) {
    auto s = Seeded();
    ShowRows(*s, {{"DISPLAY1", false}, {"DISPLAY2", false}});
    s->core.menuRow = 1;
    OnCommand(s->core, res::kIgnoreMonitor, 0, 0);
    EXPECT_EQ(s->core.table[1].ignoreName.View(), "DISPLAY2");

    s->view.SetClipboardBusy(true);
    OnCommand(s->core, res::kCopyDebugInfo, 0, 0);
    EXPECT_TRUE(s->view.Clipboard().empty());
    s->view.SetClipboardBusy(false);
    OnCommand(s->core, res::kCopyDebugInfo, 0, 0);
    EXPECT_EQ(s->view.Clipboard(), DebugText(s->core));
}

TEST(ListActions, HotTrackingFillsTheTipAndKeepsTheTitleWithoutARow) {
    auto s = Seeded();
    OnListHotTrack(s->core, 0);
    const std::string title = s->view.InfoTipTitle();
    EXPECT_FALSE(title.empty());
    EXPECT_EQ(s->view.InfoTips().back(), s->core.infoTipText);
    OnListHotTrack(s->core, 42);
    EXPECT_EQ(s->view.InfoTipTitle(), title);
    EXPECT_TRUE(s->core.infoTipText.empty());
    EXPECT_TRUE(s->view.InfoTips().back().empty());
}

}  // namespace
}  // namespace lv
