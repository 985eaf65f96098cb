// Any bytes: the fleet parser must not crash, and whatever it accepts must survive
// being written and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/sim/fleet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const lv::sim::FleetParseResult parsed = lv::sim::ParseFleet(text);
    if (!parsed.ok) {
        if (parsed.error.line < 1 || parsed.error.message.empty()) std::abort();
        return 0;
    }
    const std::string written = lv::sim::WriteFleet(parsed.fleet);
    const lv::sim::FleetParseResult reparsed = lv::sim::ParseFleet(written);
    if (!reparsed.ok) {
        std::fprintf(stderr, "re-parse failed at line %d: %s\n", reparsed.error.line, reparsed.error.message.c_str());
        std::abort();
    }
    if (!(reparsed.fleet == parsed.fleet)) {
        std::fprintf(stderr, "re-parse differs:\n%s\n", written.c_str());
        std::abort();
    }
    if (lv::sim::WriteFleet(reparsed.fleet) != written) std::abort();
    return 0;
}
