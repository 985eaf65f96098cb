// The settings file of earlier versions, Lumivane.ini: fixed-position 8-bit text that is
// imported once at start and never written. The parser only reports what the file holds;
// the caller applies the fields that are present, before the XML file overrides them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

inline constexpr std::size_t kLegacyHotKeySlots = 10;  // hotkey0..9 / editbuffer0..9

// Entry k of the hot-key list sets hotkey<k> and editbuffer<k>.
struct LegacyHotKey {
    std::optional<int32_t> hotkey;  // absent when the code field holds no hex digit
    std::string editbuffer;         // at most 254 bytes; never ',', '.' or a zero byte

    bool operator==(const LegacyHotKey&) const = default;
};

// Members bear the names of the settings keys; an absent member leaves that field alone.
struct LegacyIniValues {
    std::optional<uint32_t> ColorAreaBrightness;
    std::optional<uint32_t> ColorAreaContrast;
    std::optional<bool> autostart;
    std::optional<bool> samevalues;

    std::optional<uint32_t> ColorSliderBrightness;
    std::optional<uint32_t> ColorSliderContrast;
    std::optional<uint32_t> ColorSliderVolume;
    std::optional<bool> showvolume;

    // Only in the layout with icon switches.
    std::optional<uint32_t> ColorBrightness;
    std::optional<uint32_t> ColorContrast;
    std::optional<uint32_t> ColorVolume;
    std::optional<bool> showcombinedicon;
    std::optional<bool> showbrightnessicon;
    std::optional<bool> showcontrasticon;
    std::optional<bool> showvolumeicon;

    std::vector<LegacyHotKey> hotKeys;  // index k is slot k; at most kLegacyHotKeySlots

    bool operator==(const LegacyIniValues&) const = default;
};

// Reads the whole file content. Never fails: whatever cannot be read stays absent.
LegacyIniValues ParseLegacyIni(std::string_view bytes);

struct AppSettings;
struct Core;

// Takes over what the file holds; absent values leave their fields alone.
void ApplyLegacyIni(const LegacyIniValues& values, AppSettings& settings);
// Start-up, before the XML file is loaded: the older "\Lumivane\Lumivane.ini" of the
// roaming folder, if there is one. The file is never written; the next save deletes it.
void ImportLegacyIni(Core& core);

}  // namespace lv
