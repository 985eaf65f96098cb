// Any bytes as a command line, once through the submission path and once straight to the
// interpreter: nothing may crash, loop, leak a monitor handle or leave the state out of range.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "commands/interpreter.h"
#include "tools/simulator.h"

namespace {

// Display 0 holds two physical monitors, the second of them flaky; display 1 has a raw
// range that does not start at 0, limits, presets and inputs to pick from.
constexpr std::string_view kFleet = R"(
[display]
friendly = TWIN 27
path = \\?\DISPLAY#TWN0027#5&1a2b3c4d&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
serial = 7MT0193A1B2C
[monitor]
brightness = 0 70 100
contrast = 0 75 100
red = 0 128 255
green = 0 128 255
blue = 0 200 255
capabilities = (prot(monitor)model(U2719D)vcp(10 12 14(01 05 0B) 16 18 1A 60(0F 11 12)))
preset = 5
input = 0x0F
[monitor]
brightness = 0 40 100
ddc = flaky 2

[display]
friendly = ORION 243
path = \\?\DISPLAY#ORI0243#5&1a2b3c4d&0&UID4357#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}
serial = UK01919012345
[monitor]
brightness = 20 50 80
contrast = 0 50 100
capabilities = (prot(monitor)model(PL2779Q)vcp(10 12 14(05 08 0C) 60(01 03 11)))
preset = 0x0C
input = 0x11
)";

const lv::sim::Fleet& BaseFleet() {
    static const lv::sim::Fleet fleet = [] {
        lv::sim::FleetParseResult parsed = lv::sim::ParseFleet(kFleet);
        if (!parsed.ok) {
            std::fprintf(stderr, "fleet line %d: %s\n", parsed.error.line, parsed.error.message.c_str());
            std::abort();
        }
        return parsed.fleet;
    }();
    return fleet;
}

void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void CheckInvariants(lv::sim::Simulator& sim) {
    const lv::Core& core = sim.core;
    const int rows = core.list.Rows();
    if (rows > lv::kMaxMonitors) Fail("more than ten list rows");
    if (core.selectedMonitor < 0 || core.selectedMonitor > rows - 1) Fail("selectedMonitor outside the list");
    if (sim.monitors.OpenHandleCount() != 0) Fail("physical-monitor handle left open");
    if (core.commandQueue.Size() != 0) Fail("queue not drained");
    if (!core.listSync) Fail("list sync left off");
    for (const lv::MonitorEntry& entry : core.table) {
        if (entry.pendingPreset < 0 || entry.pendingPreset > lv::kMaxPreset) Fail("pendingPreset out of range");
        if (entry.pendingInput < 0 || entry.pendingInput > lv::kMaxInput) Fail("pendingInput out of range");
    }
    for (int row = 0; row < rows; ++row) {
        const lv::MonitorEntry& entry = core.table[static_cast<std::size_t>(row)];
        // The fleet reports sane values, so whatever was written and read back stays in range.
        if (entry.brightness > 100 || entry.contrast > 100) Fail("brightness or contrast above 100");
        if (entry.red > 255 || entry.green > 255 || entry.blue > 255) Fail("gain above 255");
    }
    // Each setter gives up after ten attempts; a line of 2047 characters holds at most
    // about a thousand commands, so the virtual time spent stays bounded.
    if (sim.clock.TotalPaused() > 2048ull * 10 * 1000) Fail("too much time paused");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    {
        lv::sim::Simulator sim(BaseFleet());
        sim.Seed();
        sim.Run(text, lv::kSourceInternal);
        CheckInvariants(sim);
    }
    {
        // Without normalisation: upper case, punctuation and control bytes reach the scan.
        lv::sim::Simulator sim(BaseFleet());
        sim.Seed();
        sim.core.settings.samevalues = size > 0 && (data[0] & 1) != 0;
        lv::CommandInterpreter(sim.core, text);
        sim.Pump();  // a toggle hands its half over as a new line
        CheckInvariants(sim);
    }
    return 0;
}
