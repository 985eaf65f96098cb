// The notification icons' state: the four icons, their identities, the balloon markers
// and the hidden-icon check.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/fixed_text.h"
#include "platform/tray_api.h"
#include "platform/types.h"

namespace lv {

// The icons by their identity byte; the callback message of icon k is 0x80AA + k.
enum IconKind : uint8_t { kVolumeIcon = 0, kContrastIcon = 1, kBrightnessIcon = 2, kCombinedIcon = 3 };
inline constexpr int kIconCount = 4;
inline constexpr uint32_t kIconCallbackBase = 0x80AA;
// The order in which the icons are updated.
inline constexpr IconKind kIconUpdateOrder[kIconCount] = {kCombinedIcon, kBrightnessIcon, kContrastIcon, kVolumeIcon};

struct IconSlot {
    IconHandle icon = 0;          // shown now; 0 while the icon is not in the notification area
    IconHandle previousIcon = 0;  // replaced by the last rendering, destroyed once the shell has the new one
    FixedText<128> tip;
    bool added = false;  // the shell took the icon; a failed drawing does not make it absent
};

struct HiddenIconCheck {
    bool hiddenIconFound = false;  // the last completed check found an icon of the program
    uint64_t hiddenCheckMisses = 0;  // two for every completed check that found nothing
    bool warningShown = false;       // once per run: the check ends when the warning closes
    bool warningOpen = false;        // checks re-entered from the warning's loop only look
    uint8_t powerChangeSeen = 0;
    bool powerChangeSeenSet = false;
};

struct TrayState {
    std::array<IconSlot, kIconCount> slots{};  // by IconKind
    std::array<Guid, kIconCount> guids{};      // by IconKind; a refused add raises the counter
    NotifyIconRecord iconRecord;     // the shared icon record
    NotifyIconRecord balloonRecord;  // the balloon record
    bool balloonBlocked = false;
    Guid balloonIcon;
    bool wheelOverIcon = false;  // the wheel was used over an icon: no tooltips from then on
    bool valueIs100 = false;     // the number being drawn reads 100: a narrow font
    Guid clickedIconGuid;
    Guid defaultIconGuid;
    bool settingsDialogOpen = false;
    HiddenIconCheck hidden;
};

}  // namespace lv
