// The monitor list and the preset and input choices: the core's models and the controls
// that mirror them change together.
#pragma once

#include <string_view>

#include "core/core.h"

namespace lv {

// The monitor list model and the list control change together.
void ClearList(Core& core);
int AddListRow(Core& core, std::string_view text);  // the new row's index, -1 when full
void SetListCell(Core& core, int row, int column, std::string_view text);

// A value of an entry as the popup shows it, by list column: brightness and contrast at
// most 100, gains at most 255.
uint32_t ShownValue(const MonitorEntry& entry, int column);
// Writes the numbers of row `row` from its entry. The enumeration's markers stay: a silent
// row keeps its "?" cells, a laptop panel its "." and its empty gain cells.
void ShowRowValues(Core& core, int row);

// Marks the row `selectedMonitor` (and only that row) in the monitor list.
void SelectListRow(Core& core);

// Refills the preset (1113) and input (1115) choices from an entry's offered values and
// selects its current ones.
void FillChoices(Core& core, const MonitorEntry& entry);

// Makes `index` the current item of a choice, as a user's pick would.
void SetChoiceCurrent(Core& core, int controlId, int index);

// Selection changes of the choices: the handlers a user's pick and the command
// language both reach.
void OnPresetChoiceChanged(Core& core);
void OnInputChoiceChanged(Core& core);

}  // namespace lv
