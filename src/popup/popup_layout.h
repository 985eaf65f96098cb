// The popup's size and the places of its controls: the window grows with the number of
// monitors and narrows to the areas switched on. The arithmetic is pure; the two layout
// functions measure and move through the view.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "core/core.h"

namespace lv {

// What start-up measures; controls in the popup's client coordinates, the popup on the screen.
struct PopupMeasurements {
    WindowGeometry popup;
    WindowGeometry list;
    int32_t headerHeight = 0;
    Rect row0;             // the bounding rectangle of list row 0
    Rect showVolumeCheck;  // check box 1064
    Rect brightnessLabel;  // label 1002
};

PopupMetrics ComputePopupMetrics(const PopupMeasurements& measured, int rows);
// The window width for the areas shown.
int32_t PopupWidth(const PopupMetrics& metrics, bool showRgb, bool showVolume);
// The list's six column widths, shares of its inner width.
std::array<int32_t, 6> ListColumnWidths(int32_t innerWidth, bool showRgb, bool showVolume);
// How far the value columns move, judged by where label 1002 stands now.
int32_t ValueColumnShift(const PopupMetrics& metrics, int32_t brightnessLabelLeft, bool showRgb);
Rect Offset(Rect rect, int32_t dx, int32_t dy);

// The value area's controls (they follow the colour area's switch) and the controls that
// start below the list's top in the template (they follow the list's height).
std::span<const int> ValueAreaControls();
std::span<const int> ControlsBelowList();

// Measures, lays out, moves the controls below the list and fixes the height. A failed
// measurement leaves the template as it is and expectedPopupHeight 0.
void LayoutPopupAtStartup(Core& core);
// Width, list, close button, check boxes, value columns and list columns for the current areas.
void LayoutPopup(Core& core);

}  // namespace lv
