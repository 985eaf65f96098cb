// The only place where monitor values travel over DDC/CI. Every operation enumerates the
// display monitors afresh and opens the physical monitor it needs; no handle is kept.
#pragma once

#include <cstdint>
#include <functional>

#include "core/core.h"

namespace lv {

inline constexpr uint8_t kVcpFactoryReset = 0x04;
inline constexpr uint8_t kVcpColorPreset = 0x14;
inline constexpr uint8_t kVcpInputSource = 0x60;

inline constexpr int kSetterAttempts = 10;
inline constexpr uint32_t kSetterPauseMs = 100;
inline constexpr int kReadAttempts = 3;
inline constexpr uint32_t kReadPauseMs = 50;
inline constexpr int kVcpAttempts = 10;
inline constexpr uint32_t kVcpPauseMs = 100;
inline constexpr uint32_t kPresetSettleMs = 1000;
inline constexpr uint32_t kInputSettleMs = 2000;

// Runs `operation` on the physical monitor numbered `Core::SelectedIndex()` in enumeration
// order, then releases the handles. Returns whether that monitor was reached; a display
// whose physical monitors cannot be had ends the search, as it ends the enumeration pass.
bool WithSelectedMonitor(Core& core, const std::function<void(PhysicalHandle)>& operation);

// Command-side setters: clamp, write with retries, and mark in `ddc.changedRows` the rows
// whose values the popup is to show again (it formats them; the setters touch no control).
void SetBrightness(Core& core, uint32_t value);
void SetContrast(Core& core, uint32_t value);
void SetColorGain(Core& core, uint32_t value, int channel);

// Reads the selected monitor's brightness once (the laptop panel when DDC/CI fails).
bool ReadBrightness(Core& core);
// Selects the first entry that belongs to `display`; false when no such display exists.
bool FindEntryOfDisplay(Core& core, DisplayHandle display);

// Reads and writes of the enumeration pass, on one open physical monitor.
bool ReadBrightnessWithRetries(Core& core, PhysicalHandle monitor, MonitorEntry& entry);
bool ReadContrastWithRetries(Core& core, PhysicalHandle monitor, MonitorEntry& entry);
bool ReadCurrentPreset(Core& core, PhysicalHandle monitor, MonitorEntry& entry);
bool ReadCurrentInput(Core& core, PhysicalHandle monitor, MonitorEntry& entry);
void ReadGains(Core& core, PhysicalHandle monitor, MonitorEntry& entry);

enum class PendingWrites { Done, FactoryReset };
// Factory reset, preset and input, in that order. A factory reset ends the work on this
// display monitor: the program restarts. `presetWritten` tells the caller to read the gains.
PendingWrites WritePendingValues(Core& core, PhysicalHandle monitor, MonitorEntry& entry, bool& presetWritten);

}  // namespace lv
