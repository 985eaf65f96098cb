#include "popup/popup_placement.h"

#include "popup/popup_proc.h"
#include "popup/tray_menu.h"

namespace lv {
namespace {

int32_t SignedWord(uintptr_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF)); }

}  // namespace

void ShowPopupNearIcon(Core& core) {
    if (core.enumeration.enumerationFailed) return;
    TrayState& tray = core.trayState;
    WindowApi& window = core.platform.window;
    const Guid& icon = core.openedFromIcon ? tray.clickedIconGuid : tray.defaultIconGuid;
    const uint32_t iconId = icon.data4[4];  // the identity byte
    Rect popup;
    if (!window.GetPopupRect(popup)) return;
    const Point size{popup.right - popup.left, popup.bottom - popup.top};
    Rect iconRect;
    switch (core.platform.tray.GetIconRect(icon, iconId, iconRect)) {
        case IconRectResult::Ok: {
            const Point anchor{(iconRect.left + iconRect.right) / 2, (iconRect.top + iconRect.bottom) / 2};
            Rect placed;
            if (window.CalculatePopupPosition(anchor, size, kPopupPositionFlags, iconRect, placed))
                (void)window.ShowPopupTopmostAt({placed.left, placed.top + kPopupOffset});
            break;
        }
        case IconRectResult::NotImplemented: {
            // The notification area sits in the work area's bottom right corner.
            Rect work;
            if (!window.GetWorkArea(work)) return;
            (void)window.ShowPopupTopmostAt({work.right - size.x, work.bottom - size.y - kPopupOffset});
            break;
        }
        case IconRectResult::Failed:
            return;  // the next click tries again
    }
    (void)window.BringToForeground();
    (void)window.SetTimer(timer::kForeground, timer::kForegroundMs);
    window.PostFocusControl(res::kMonitorList);
}

void ShowTrayMenu(Core& core, Point point) {
    core.platform.window.ShowTrayMenu(point, core.German(), UserMenuItems(core.settings));
}

void OnIconCallback(Core& core, uint32_t message, uint32_t event, uintptr_t anchor) {
    if (message < kIconCallbackBase || message >= kIconCallbackBase + kIconCount) return;
    if (event == win::kWmContextMenu) {
        ShowTrayMenu(core, {SignedWord(anchor), SignedWord(anchor >> 16)});
        return;
    }
    if (event != win::kNinSelect && event != win::kNinKeySelect) return;
    core.trayState.clickedIconGuid = core.trayState.guids[message - kIconCallbackBase];
    core.openedFromIcon = true;
    core.RefreshPopup(1);
    core.openedFromIcon = false;
}

}  // namespace lv
