// EDID blocks come from the monitor (or a driver's registry copy): any bytes, any length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "monitors/edid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string model = lv::EdidModelText(std::span<const uint8_t>(data, size));
    if (model.empty()) return 0;
    if (size != 128 || model.size() < 6 || model.size() > 15) std::abort();
    if (model.find_first_of(std::string(" \r\n\0", 4)) != std::string::npos) std::abort();
    return 0;
}
