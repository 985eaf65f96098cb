// The notification-area menu's user entries and the menu commands that hide the popup:
// the user entries 14..28, shutting the monitors off and Esc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/app_settings.h"
#include "core/core.h"
#include "platform/window_api.h"

namespace lv {

inline constexpr uint32_t kFirstUserEntryId = 14;
inline constexpr uint32_t kMonitorsOffDelayMs = 1500;
inline constexpr uint32_t kEscapeDelayMs = 100;

// The text an entry shows, before `&` is doubled: comment, space, command line; the comment
// alone when `hide` is set; the command line alone without comment. Empty when nothing but
// spaces would show, so the entry is left out.
std::string UserMenuEntryText(const MenuEntrySetting& entry);

// The user entries appended to the menu, id 14 + i, each `&` doubled so it shows as itself.
// Built from the current settings at every opening.
std::vector<MenuItem> UserMenuItems(const AppSettings& settings);

// Runs the commands of this file; false for every other id.
bool OnTrayMenuCommand(Core& core, uint32_t id);

}  // namespace lv
