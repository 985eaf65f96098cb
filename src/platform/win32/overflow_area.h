// The warning about hidden icons reports its check box and its closing to the core.
#pragma once

#include "core/core.h"

namespace lv {

// Set at start-up, before the check can open the warning; cleared before the core goes.
// While none is set the warning only shows its text.
void SetHiddenWarningCore(Core* core);

}  // namespace lv
