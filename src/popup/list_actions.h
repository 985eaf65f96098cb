// What the monitor list does: a click selects, the right-click menu ignores, uses again or
// copies the diagnostic text, and hovering shows what the program knows of a monitor.
#pragma once

#include <string>

#include "core/core.h"

namespace lv {

inline constexpr std::size_t kDebugTextLimit = 12239;
inline constexpr std::string_view kIgnorePrefix = "ignore_";

// A click on the list: `listRow` is the control's selected row (-1: none). A silent row
// gives way to the first answering one.
void SelectFromList(Core& core, int listRow);

// The check marks of the monitor-list menu for the row it was opened on.
struct ListMenuChecks {
    bool ignore = false;
    bool utilize = false;
};
ListMenuChecks ListMenuChecksFor(const Core& core, int row);

// A right click: remembers the row the menu acts on (-1: none).
void RememberMenuRow(Core& core, int listRow);

// Menu commands 1292 and 1293.
void IgnoreMonitor(Core& core);
void UtilizeMonitor(Core& core);

// Every entry's diagnostic block, cut at kDebugTextLimit characters.
std::string DebugText(const Core& core);

// The hover tip of a hot row: its text (empty for no row) and its title (empty: keep the old one).
struct HoverTip {
    std::string text;
    std::string title;
};
HoverTip HoverTipFor(const Core& core, int hotItem);

// The list's notifications, with the control's selected row and the hot item as the
// Windows layer reads them (-1: none).
void OnListClick(Core& core, int selectedRow);
void OnListRightClick(Core& core, int selectedRow);
void OnListHotTrack(Core& core, int hotItem);
// Menu command 1223: the debug text onto the clipboard (a busy clipboard takes nothing).
void CopyDebugInfo(Core& core);
// Runs a command of the monitor-list menu; false for any other id.
bool OnListMenuCommand(Core& core, uint32_t id);

}  // namespace lv
