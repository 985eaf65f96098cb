// Any bytes as a copy-data record from another process: the receiver must read only what
// the record holds, queue at most one normalised line of at most 2047 characters, and run it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "commands/submission.h"
#include "tools/simulator.h"

namespace {

constexpr std::string_view kFleet = R"(
[display]
friendly = NOVA U27
[monitor]
brightness = 0 70 100
capabilities = (prot(monitor)model(U2719D)vcp(10 12 14(01 05) 60(0F 11)))
[display]
friendly = ORION 243
[monitor]
brightness = 20 50 80
ddc = flaky 1
)";

const lv::sim::Fleet& BaseFleet() {
    static const lv::sim::Fleet fleet = [] {
        lv::sim::FleetParseResult parsed = lv::sim::ParseFleet(kFleet);
        if (!parsed.ok) std::abort();
        return parsed.fleet;
    }();
    return fleet;
}

void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

bool Allowed(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '?' || c == '+' || c == '-' || c == ' ';
}

// The line a record of `size` bytes must give: up to the first zero, at most 2047
// characters, every character outside the command alphabet a space, lower case.
std::string Expected(const uint8_t* data, std::size_t size) {
    std::string line;
    for (std::size_t i = 0; i < std::min<std::size_t>(size, lv::kMaxCommandLine) && data[i] != 0; ++i) {
        char c = static_cast<char>(data[i]);
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        line += Allowed(c) ? c : ' ';
    }
    return line;
}

// `seeded`: the monitors are read first, so the line can act on them (slower).
void Deliver(const uint8_t* data, std::size_t size, uint32_t source, bool nullData, bool seeded) {
    lv::sim::Simulator sim(BaseFleet());
    if (seeded) sim.Seed();
    sim.core.mainThreadId = 4242;
    lv::OnCopyData(sim.core, source, nullData ? nullptr : data, size);

    const bool accepted = !nullData && size > 0 && size <= lv::kCommandBufferSize;
    if (sim.core.commandQueue.Size() != (accepted ? 1u : 0u)) Fail("queued lines");
    if (sim.window.Commands().size() != (accepted ? 1u : 0u)) Fail("posted run commands");
    if (accepted) {
        std::optional<lv::QueuedLine> line = sim.core.commandQueue.Pop();
        if (!line) Fail("queue empty");
        if (line->text.size() > lv::kMaxCommandLine) Fail("line longer than 2047 characters");
        if (line->text != Expected(data, size)) Fail("line differs from the record's text");
        if (line->source != source) Fail("source lost");
        if (!sim.core.commandQueue.Push(std::move(*line))) Fail("push refused");
    }
    sim.Pump();
    if (sim.core.commandQueue.Size() != 0) Fail("queue not drained");
    if (!sim.window.Commands().empty()) Fail("commands left");
    if (sim.monitors.OpenHandleCount() != 0) Fail("physical-monitor handle left open");
    if (seeded && (sim.core.selectedMonitor < 0 || sim.core.selectedMonitor >= sim.core.list.Rows())) Fail("selection");
    const bool answered = accepted && source > lv::kSourceHook && source != sim.core.mainThreadId &&
                          !(sim.core.queryFlag && source == lv::kSourceStartup);
    if (answered != (sim.window.ThreadAnswers().size() == 1)) Fail("thread answer");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte picks the source; the whole input is the record.
    static constexpr uint32_t kSources[] = {lv::kSourceStartup, lv::kSourceInternal, 2, lv::kSourceHook,
                                            4, 4242, 77777};
    const uint32_t source = size > 0 ? kSources[data[0] % std::size(kSources)] : lv::kSourceInternal;
    Deliver(data, size, source, false, true);
    Deliver(data, size, source, true, false);
    Deliver(data, size / 2, source, false, false);
    Deliver(data, std::min<std::size_t>(size, lv::kCommandBufferSize), source, false, false);
    Deliver(data, std::min<std::size_t>(size, 1), source, false, false);
    return 0;
}
