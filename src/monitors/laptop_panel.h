// A laptop's own panel: its backlight is read and set through the management interface,
// and it behaves as a monitor with brightness only.
#pragma once

#include <cstdint>

#include "core/panel_levels.h"

namespace lv {

struct Core;

void ReadPanelLevels(Core& core);
// Reads the panel into entry `index`; sets `wmiOk` when a value was read.
void ReadLaptopBrightness(Core& core, int index);
// Sets the panel to `percent` for the selected entry; sets `wmiOk` when it took the level.
void SetLaptopBrightness(Core& core, uint32_t percent);

}  // namespace lv
