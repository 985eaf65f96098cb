// Capabilities strings come from the monitor's firmware: anything may arrive.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "monitors/capabilities.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const lv::Capabilities caps = lv::ParseCapabilities(text);
    if (caps.model.size() > size) std::abort();
    for (const lv::VcpCode& code : caps.vcp)
        if (code.values.size() > size) std::abort();
    return 0;
}
