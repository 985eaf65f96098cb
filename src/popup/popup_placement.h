// Where the popup appears, the notification-area menu, and the icons' clicks.
#pragma once

#include <cstdint>

#include "core/core.h"
#include "platform/windows_codes.h"

namespace lv {

// Centred on the icon, above or below it, within the work area.
inline constexpr uint32_t kPopupPositionFlags = win::kTpmCenterAlign | win::kTpmVCenterAlign | win::kTpmVertical |
                                                win::kTpmWorkArea;
inline constexpr int32_t kPopupOffset = 6;

// Shows the popup next to the icon that was clicked (or, opened otherwise, the icon
// operated on last), in front. Without a known icon rectangle the popup stays hidden;
// where the system has no icon-rectangle service at all, it goes above the notification
// area's corner of the work area.
void ShowPopupNearIcon(Core& core);

// The notification-area menu at a screen point.
void ShowTrayMenu(Core& core, Point point);

// A notification icon's callback: `message` names the icon (0x80AA..0x80AD), `event` is
// the low word of lParam, `anchor` the point packed in wParam.
void OnIconCallback(Core& core, uint32_t message, uint32_t event, uintptr_t anchor);

}  // namespace lv
