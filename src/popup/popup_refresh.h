// Reloads the popup from the monitors and the audio endpoint.
#pragma once

#include "core/core.h"

namespace lv {

// Enumerates the monitors afresh, fits the controls to the selected monitor's kind (laptop
// mode, gain area), loads its values and the volume into the controls and the icons,
// restarts the program when the set of monitors changed, and with `show` 1 shows the
// popup beside its icon unless it is visible already.
void RefreshPopup(Core& core, int show);

// The one place that formats a monitor's values for the eye: the selected monitor's list
// cells, labels and sliders, and the cells of the other rows a setter marked. Clears the
// marks.
void ShowSelectedValues(Core& core);

// What follows a command line: when setters marked rows, their values shown, the popup
// redrawn and the icons updated.
void ShowChangedValues(Core& core);

// Label 1004, slider 1040 and the mute button from the endpoint; both controls are
// usable only while it answers.
void LoadVolumeControls(Core& core);

}  // namespace lv
