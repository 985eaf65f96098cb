// The popup's controls that depend on the selected monitor's kind: laptop mode and gains.
#pragma once

#include "core/core.h"

namespace lv {

// A laptop panel has no contrast and no colour controls.
void SetLaptopMode(Core& core, bool isLaptop);
// The colour gains work only in a user preset: the sliders or the note that says so.
void ShowGainControlsOrHint(Core& core);
// The colour area follows showRGB; the hints are left to the refresh.
void ShowColourArea(Core& core);
// Start-up's set-up of the controls: slider ranges, the list's columns, the colour area.
void SetUpPopupControls(Core& core);

}  // namespace lv
