// The sliders' channels drawn as bars: the value's share of the channel, from the bottom,
// in the slider's colour.
#pragma once

#include <cstdint>

#include "core/core.h"

namespace lv {

struct ChannelFill {
    Rect empty;   // above the bar: light gray
    Rect filled;  // the bar: the slider's colour
    bool operator==(const ChannelFill&) const = default;
};

// `channel` as the trackbar gives it; `maximum` is 100 or 255 (position = maximum − value).
ChannelFill SliderChannelFill(Rect channel, int position, int maximum);

// The colour (0x00BBGGRR) of a slider's bar; `gray` when the system's gray brush paints it.
struct SliderColour {
    bool gray = false;
    uint32_t rgb = 0;
    bool operator==(const SliderColour&) const = default;
};
SliderColour SliderColourOf(const Core& core, int id);
int SliderMaximum(int id);

// The custom-draw answer for one of the six sliders: item drawing asked for at the
// pre-paint stage, the channel's default skipped once painted, 0 otherwise.
bool PaintsChannel(uint32_t stage, uintptr_t item);
intptr_t SliderCustomDrawResult(uint32_t stage, uintptr_t item);

}  // namespace lv
