// The notification icons: in step with their switches and the current values, each known
// to the shell by a GUID of its own; and the balloon that tells of a changed value.
#pragma once

#include <cstdint>

#include "app/core.h"

namespace lv {

enum class IconAction { Add = 0, Modify = 1, Remove = 2 };

inline constexpr int kMaxGuidRetries = 200;  // a refused add is retried with new GUIDs
inline constexpr uint32_t kBalloonBlockMs = 3000;
inline constexpr uint32_t kAfterBalloonMs = 5000;

// Notification kinds besides the lastChangedKind values.
inline constexpr uint8_t kNotifyNothing = 3;
inline constexpr uint8_t kNotifyBlock = 4;

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
void ShowValueNotification(Core& core, uint8_t kind);
void CopyBalloonTooltip(Core& core);

}  // namespace lv
