// Reloads the popup from the monitors.
#pragma once

#include "app/core.h"

namespace lv {

// Enumerates the monitors afresh, marks the selected row and, with `show` 1, shows the
// popup beside its icon unless it is visible already (never before start-up is done).
void RefreshPopup(Core& core, int show);

}  // namespace lv
