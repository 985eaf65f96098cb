// The notification icons: in step with their switches and the current values, each known
// to the shell by a GUID of its own; and the balloon that tells of a changed value.
#pragma once

#include <cstdint>

#include "core/core.h"

namespace lv {

enum class IconAction { Add = 0, Modify = 1, Remove = 2 };

inline constexpr int kMaxGuidRetries = 200;  // a refused add is retried with new GUIDs

// The GUID of an icon: "LumivaneIcon", the icon's identity byte, 0, and a 16-bit counter.
Guid IconGuid(IconKind kind, uint16_t counter);
uint16_t GuidCounter(const Guid& guid);

// Start-up: the four GUIDs and the two notification records.
void InitialiseNotifyIcons(Core& core);

// Removes the icons switched off, refreshes the ones shown, adds the ones switched on.
void UpdateIcons(Core& core);
void IconOperation(Core& core, IconKind kind, IconAction action);

// A balloon for a changed value (kinds 0, 1, 2, 5, 6, 7; 8 a summary), 4 blocks balloons
// for 3 s, 3 shows nothing.
void ShowValueNotification(Core& core, ChangeKind kind);
void CopyBalloonTooltip(Core& core);

}  // namespace lv
