// The INI file is whatever an old version, another program or a damaged disk left behind:
// any bytes, any length. Nothing may read outside them, and the result must keep its bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/legacy_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const lv::LegacyIniValues values = lv::ParseLegacyIni(bytes);

    if (size == 0 && !(values == lv::LegacyIniValues{})) std::abort();
    if (size > 0 && (!values.autostart || !values.samevalues)) std::abort();

    const bool tail = size > 100 && bytes.back() != '.';
    if (values.showvolume.has_value() != tail) std::abort();
    if (values.showvolumeicon && !tail) std::abort();
    if (size <= 100 && !values.hotKeys.empty()) std::abort();

    if (values.hotKeys.size() > lv::kLegacyHotKeySlots) std::abort();
    for (const lv::LegacyHotKey& entry : values.hotKeys) {
        if (entry.editbuffer.size() > 254) std::abort();
        if (entry.editbuffer.find_first_of(std::string_view(",.\0", 3)) != std::string_view::npos) std::abort();
        if (bytes.find(entry.editbuffer) == std::string_view::npos) std::abort();
    }
    return 0;
}
