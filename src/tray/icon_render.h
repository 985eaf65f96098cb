// What an icon shows: the number drawn into it (texts, rectangles, font, colours) and its
// tooltip. The values are the popup's own texts: the monitor list's cells, the labels and
// the preset choice, exactly as the popup shows them.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/core.h"
#include "platform/tray_api.h"

namespace lv {

// The picture of one icon at `size` pixels. Sets `trayState.valueIs100` when a number
// drawn reads 100 (a narrow font then fits three digits).
IconPicture PlanIconPicture(Core& core, IconKind kind, int32_t size);

struct IconTooltip {
    std::string slotTip;    // the icon's own tooltip, at most 127 characters
    std::string recordTip;  // what goes to the notification area (the laptop note differs)
};
// The tooltip texts of one icon; both empty when tooltips are off or the wheel was used
// over an icon.
IconTooltip BuildIconTooltip(Core& core, IconKind kind);

// Every pixel that is not 0 becomes fully opaque; pixels of 0 stay transparent.
void ApplyAlphaRule(std::span<uint32_t> pixels);

// Draws a new icon for the slot (the old one becomes `previousIcon`) and puts the
// tooltip into the slot and the shared icon record; with tooltips off, every tooltip
// (the four slots', the icon record's and the balloon record's) is emptied. When the
// drawing fails the slot keeps the icon it shows.
void RenderIcon(Core& core, IconKind kind);

}  // namespace lv
