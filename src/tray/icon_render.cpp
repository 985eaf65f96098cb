#include "tray/icon_render.h"

namespace lv {

IconPicture PlanIconPicture(Core&, IconKind, int32_t size) {
    IconPicture picture;
    picture.size = size;
    return picture;
}

IconTooltip BuildIconTooltip(Core&, IconKind) { return {}; }

void ApplyAlphaRule(std::span<uint32_t> pixels) {
    for (uint32_t& pixel : pixels)
        if (pixel != 0) pixel |= 0xFF000000u;
}

void RenderIcon(Core& core, IconKind kind) {
    IconSlot& slot = core.trayState.slots[kind];
    const IconPicture picture = PlanIconPicture(core, kind, core.platform.system.SmallIconHeight());
    slot.previousIcon = slot.icon;
    slot.icon = core.platform.tray.RenderIcon(picture);
    const IconTooltip tip = BuildIconTooltip(core, kind);
    slot.tip = tip.slotTip;
    core.trayState.iconRecord.tip = tip.recordTip;
}

}  // namespace lv
