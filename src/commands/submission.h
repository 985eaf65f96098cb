// The one path by which every producer hands a command line to the main thread, the
// execution of a queued line, and the monitor limits of the settings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/core.h"

namespace lv {

// Where a line comes from; a value above 3 is the thread id of a forwarding start.
inline constexpr uint32_t kSourceStartup = 0;
inline constexpr uint32_t kSourceInternal = 1;  // toggles, menu entries, timed auto-run
inline constexpr uint32_t kSourceHook = 3;      // hot keys and wheel combinations

// Quoted spans lose their spaces ("Dell U2720Q" -> dellu2720q), then the text is
// lower-cased and every character but letters, digits, '?', '+' and '-' becomes a space.
// At most 2047 characters are kept.
std::string NormaliseCommandLine(std::string_view text);

// The copy-data record of a normalised line: the text, zero-filled to a command buffer.
std::array<char, kCommandBufferSize> CommandRecord(std::string_view line);

// Normalises and delivers a line. The hook thread calls it with kSourceHook only: that
// queues the line and posts the run command without waiting for it.
void SubmitCommandLine(Core& core, std::string_view text, uint32_t source);

// The text of a copy-data record, or nothing when the record is not a command line
// (no data, no bytes, or more than a command buffer). The text ends at the first zero
// byte within the record and is cut at 2047 characters.
std::optional<std::string> CommandLineFromCopyData(const void* data, std::size_t size);

// A copy-data record sent to the main window: queue the line and post the run command.
// Returns whether the line was taken; on its way out the instance takes none from another
// start.
bool OnCopyData(Core& core, uint32_t source, const void* data, std::size_t size);

// The run command: executes the oldest queued line and answers queries.
void RunQueuedCommandLine(Core& core, uint32_t source);

// Resets every monitor's limits and applies the eight limit rows of the settings. A row's
// name selects a monitor as the monitor words of a line do, but no word of it runs.
void ApplyMonitorLimits(Core& core);

}  // namespace lv
