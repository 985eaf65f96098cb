// Capabilities strings come from the monitor's firmware: anything may arrive, cut
// anywhere. Besides not crashing, a string cut short must give no more than the whole.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "monitors/capabilities.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const lv::Capabilities whole = lv::ParseCapabilities(text);
    Check(whole.model.size() <= size);
    Check(!whole.hasModel || whole.model.find_first_of("\r\n") == std::string_view::npos);
    for (std::size_t i = 0; i < whole.vcp.size(); ++i) {
        const lv::VcpCode& code = whole.vcp[i];
        Check(code.values.size() <= 256 && code.values.size() <= size);
        for (std::size_t j = i + 1; j < whole.vcp.size(); ++j) Check(whole.vcp[j].code != code.code);
    }

    // The first byte picks where to cut.
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    const lv::Capabilities part = lv::ParseCapabilities(text.substr(0, cut));
    if (part.hasModel) Check(whole.hasModel && part.model == whole.model);
    for (const lv::VcpCode& code : part.vcp) {
        const lv::VcpCode* full = whole.Find(code.code);
        Check(full != nullptr);
        for (uint8_t value : code.values)
            Check(std::find(full->values.begin(), full->values.end(), value) != full->values.end());
    }
    Check((part.OfferedPresets() & ~whole.OfferedPresets()).none());
    Check((part.OfferedInputs() & ~whole.OfferedInputs()).none());
    return 0;
}
