// A laptop's own panel: its backlight is read and set through the management interface,
// and it behaves as a monitor with brightness only.
#pragma once

#include <cstdint>

#include "core/panel_levels.h"

namespace lv {

struct Core;

void ReadPanelLevels(Core& core);
// Reads the panel into entry `index`; true when a value was read. A panel that is not the
// monitor of that entry (another instance, or an external connection) is not read.
bool ReadLaptopBrightness(Core& core, int index);
// Sets the panel to `percent` for the selected entry; true when it took the level.
bool SetLaptopBrightness(Core& core, uint32_t percent);

}  // namespace lv
