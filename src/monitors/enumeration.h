// One enumeration pass over every monitor the system reports: a list row and a table
// entry per physical monitor, pending writes carried out, values read where needed,
// each monitor identified (model, connection, manufacturer, serial number, year).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lv {

struct Core;

inline constexpr int kRefreshPasses = 10;
inline constexpr uint32_t kRefreshPauseMs = 100;
inline constexpr uint32_t kCapabilitiesPauseMs = 200;
// The largest capabilities reply buffer asked for, terminator included. DDC/CI carries the
// string in fragments with 16-bit offsets, so no monitor can send more; a driver that
// reports a larger length is not believed.
inline constexpr uint32_t kMaxCapabilitiesRequest = 0x10000;

// One pass. The caller empties the monitor list first.
void RefreshMonitors(Core& core);

// Passes 100 ms apart, at most ten, until some monitor answers; then keeps the selection
// within the rows. Returns whether some monitor answered.
bool EnumerateUntilAnswered(Core& core);

// The identity of every monitor in the list, in order: a different text means the set
// of monitors changed.
std::string MonitorFingerprint(const Core& core);

// Name of a display-configuration output technology; empty for one not in the table.
std::string_view ConnectionName(uint32_t outputTechnology);
// Manufacturer of a three-letter EDID id (exact match); empty for an unknown id.
std::string_view ManufacturerName(std::string_view id);

}  // namespace lv
