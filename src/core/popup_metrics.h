// The popup's layout metrics, measured once at start-up from the template as created.
// Every event that could change them restarts the program, so they stay valid.
#pragma once

#include <cstdint>

namespace lv {

struct PopupMetrics {
    bool measured = false;  // false: a measurement failed, no layout runs
    int32_t rowHeight = 0;
    int32_t listHeight = 0;
    int32_t fullWidth = 0;
    int32_t widthNoVolume = 0;
    int32_t widthNoColour = 0;
    int32_t widthNeither = 0;
    int32_t colourShift = 0;  // label 1002's left edge while the colour area is shown
    int32_t margin = 0;       // the list's left edge
    int32_t listTop = 0;
    int32_t frameWidth = 0;
    int32_t checkTop = 0;
    int32_t checkHeight = 0;
    bool operator==(const PopupMetrics&) const = default;
};

}  // namespace lv
