// Actions of the main window that other parts of the program request.
#pragma once

#include "app/core.h"

namespace lv {

// Ends the program and starts it again; the restart stays hidden when the popup is.
void RestartProgram(Core& core);

}  // namespace lv
