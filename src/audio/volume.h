// Master volume changes requested by the command language.
#pragma once

#include "core/core.h"

namespace lv {

// Sets the master volume (1.0 = 100 %). Before Windows 8 the change is announced by the
// program's own notification; later systems show their own indicator.
void SetVolume(Core& core, float level);
void SetMute(Core& core, bool muted);
// Makes the system show its volume indicator: two opposite steps that cancel out.
void ShowVolumeIndicator(Core& core, bool upFirst);

}  // namespace lv
