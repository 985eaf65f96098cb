// The one binding of the core's actions: the lower floors refresh the popup, update the
// icons, place the popup and show balloons only through it.
#pragma once

#include "core/core.h"

namespace lv {

// Binds every action of `core` to the program's own implementation. The entry point, the
// simulator and the tests all bind through here; a test that watches one action replaces
// that member afterwards.
void BindProgramActions(Core& core);

}  // namespace lv
