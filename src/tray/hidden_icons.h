// The check for icons the task bar keeps in its overflow area, and the warning about them.
#pragma once

#include <string_view>

#include "core/core.h"

namespace lv {

// Timer 7: one check; shows the warning when an icon of the program is hidden; slows down
// and finally stops after checks that find nothing.
void OnHiddenIconTimer(Core& core);
// Timer 11: closes the warning once the icons are no longer hidden.
void OnHiddenWarningTimer(Core& core);

// The warning dialog's text in the interface language, and what its controls do.
std::string_view HiddenWarningText(bool german);
void OnHiddenWarningCheckBox(Core& core, bool checked);
// OK, Cancel or close: the settings are saved.
void OnHiddenWarningClosed(Core& core);

}  // namespace lv
