#include "commands/submission.h"

#include <array>
#include <cstring>
#include <vector>

#include "commands/interpreter.h"
#include "common/text.h"
#include "core/requests.h"

namespace lv {
namespace {

constexpr std::size_t kQuoteSearchLimit = 260;

bool IsQuote(char c) { return c == '"' || c == '\''; }

// Deletes the spaces inside quoted spans so that a quoted monitor name matches the
// space-free text of the monitor list.
void JoinQuotedSpans(std::string& text) {
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t limit = std::min(text.size(), kQuoteSearchLimit);
        std::size_t open = std::string::npos;
        for (char quote : {'"', '\''}) {
            for (std::size_t i = from; i < limit; ++i) {
                if (text[i] == quote) {
                    open = i;
                    break;
                }
            }
            if (open != std::string::npos) break;
        }
        if (open == std::string::npos) return;
        std::size_t close = open + 1;
        while (close < text.size() && !IsQuote(text[close])) ++close;
        if (close >= text.size()) {
            from = open + 1;  // a quote without a partner is passed over
            continue;
        }
        std::string inner = text.substr(open + 1, close - open - 1);
        std::erase(inner, ' ');
        text.replace(open + 1, close - open - 1, inner);
        from = open + 1 + inner.size() + 1;
    }
}

// The row a limit row's name selects: each word as a monitor word of a line would select
// it, and all of them must; the last one decides. No word is run: a name such as "q" or
// "x" would otherwise quit or switch the monitors off at every start, and "bl2420pt" or
// "e24" would be read as commands instead of names.
int RowNamedBy(const Core& core, std::string_view name) {
    int row = -1;
    std::size_t start = 0;
    while (start < name.size()) {
        const std::size_t end = std::min(name.find(' ', start), name.size());
        if (end > start) {
            row = RowSelectedBy(core, name.substr(start, end - start));
            if (row < 0) return -1;
        }
        start = end + 1;
    }
    return row;
}

bool IsKept(char c) { return IsAsciiLetter(c) || IsDigit(c) || c == '?' || c == '+' || c == '-'; }

void NormaliseCharacters(std::string& text) {
    for (char& c : text) c = IsKept(c) ? ToLowerAscii(c) : ' ';
}

}  // namespace

std::string NormaliseCommandLine(std::string_view text) {
    std::string line(text.substr(0, std::min(text.find('\0'), kMaxCommandLine)));
    JoinQuotedSpans(line);
    NormaliseCharacters(line);
    return line;
}

void SubmitCommandLine(Core& core, std::string_view text, uint32_t source) {
    if (text.empty() || text[0] == '\0') return;
    std::string line = NormaliseCommandLine(text);
    if (source == kSourceHook) {
        // Hot-key lines run with the rules of source 1.
        if (core.commandQueue.Push({std::move(line), kSourceInternal}))
            (void)core.platform.window.PostCommand(res::kRunCommandBuffer, kSourceInternal);
        return;
    }
    (void)core.platform.window.SendCopyData(source, CommandRecord(line));
}

std::array<char, kCommandBufferSize> CommandRecord(std::string_view line) {
    std::array<char, kCommandBufferSize> record{};
    std::memcpy(record.data(), line.data(), std::min(line.size(), kMaxCommandLine));
    return record;
}

std::optional<std::string> CommandLineFromCopyData(const void* data, std::size_t size) {
    if (data == nullptr || size == 0 || size > kCommandBufferSize) return std::nullopt;
    const auto* bytes = static_cast<const char*>(data);
    const std::size_t length = strnlen(bytes, std::min(size, kMaxCommandLine));
    return std::string(bytes, length);
}

bool OnCopyData(Core& core, uint32_t source, const void* data, std::size_t size) {
    // On the way out the exit command is queued ahead of the run command, or the window is
    // going: the line would never run. Refused, a forwarding start looks for the next
    // instance (a restart's successor) instead of waiting for an answer that never comes.
    const bool ending = core.restartflag || core.endingSession || core.enumeration.closing;
    if (ending && source > kSourceHook) return false;
    std::optional<std::string> text = CommandLineFromCopyData(data, size);
    if (!text) return false;
    // Another process may send anything: only the normalised characters go on.
    NormaliseCharacters(*text);
    if (!core.commandQueue.Push({std::move(*text), source})) return false;
    (void)core.platform.window.PostCommand(res::kRunCommandBuffer, static_cast<intptr_t>(source));
    return true;
}

void RunQueuedCommandLine(Core& core, uint32_t /*source*/) {
    std::optional<QueuedLine> line = core.commandQueue.Pop();
    if (!line) return;
    const uint32_t source = line->source;
    if (source == kSourceInternal && core.settings.rereadvalues) core.RefreshPopup(0);
    core.queryFlag = false;
    CommandInterpreter(core, line->text);
    if (core.queryFlag && source == kSourceStartup) {
        // A query on the program's own command line: answer through the exit code.
        RequestRestart(core, RestartView::AsStarted);
        return;
    }
    if (source > kSourceHook && source != core.mainThreadId)
        (void)core.platform.window.PostThreadAnswer(source, core.queryValue);
}

void ApplyMonitorLimits(Core& core) {
    for (MonitorEntry& entry : core.table) {
        entry.brightnessLow = 0;
        entry.brightnessHigh = 100;
        entry.contrastLow = 0;
        entry.contrastHigh = 100;
    }
    for (const MonitorLimitRow& row : core.settings.limits) {
        if (row.name.Empty() || row.name[0] == ' ') continue;
        const int target = RowNamedBy(core, row.name.View());
        if (target < 0) continue;
        const int64_t selected = core.selectedMonitor;
        core.selectedMonitor = target;
        core.forceReselect = true;  // as any selection by name or number
        // The numbers are read as the a command reads them, and it ends the line.
        CommandInterpreter(core, "a " + std::to_string(row.brightnessMin) + " " + std::to_string(row.brightnessMax) + " " +
                                     std::to_string(row.contrastMin) + " " + std::to_string(row.contrastMax));
        core.selectedMonitor = selected;
    }
}

}  // namespace lv
