// The settings record: everything the user can configure and the little run-time state
// that survives a restart. Every persistent field bears the name of its key in the
// settings file, so the record and the file speak one language.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/fixed_text.h"
#include "platform/system_api.h"
#include "platform/windows_codes.h"

namespace lv {

inline constexpr int kLimitRows = 8;
inline constexpr int kHotKeys = 15;
inline constexpr int kMenuEntries = 15;
inline constexpr int kWheelCombos = 8;
inline constexpr int kAutoRunSlots = 8;
inline constexpr int kIconIdentifiers = 4;
inline constexpr std::size_t kMaxLanguageText = 31;

struct MonitorLimitRow {
    FixedText<64> name;           // IDC_1M .. IDC_8M: a monitor by number, name or serial number
    int32_t brightnessMin = 0;    // m1_B_MIN
    int32_t brightnessMax = 100;  // m1_B_MAX
    int32_t contrastMin = 0;      // m1_C_MIN
    int32_t contrastMax = 100;    // m1_C_MAX
};

struct HotKeySetting {
    int32_t code = 0;           // hotkeyN: virtual-key code, modifier flags in the next byte
    FixedText<260> commandLine;  // editbufferN
};

struct MenuEntrySetting {
    FixedText<260> commandLine;  // m_editbufferN
    FixedText<260> comment;      // m_editbuffer(N+15)
    bool hide = false;           // hideN: the menu shows only the comment
};

// A mouse-wheel combination (key combination, direction, command line).
struct WheelCombo {
    FixedText<32> keys;          // wheelkeysN
    FixedText<32> direction;     // directionN
    FixedText<260> commandLine;  // wheelbufferN
};
using WheelComboTable = std::array<WheelCombo, kWheelCombos>;

// A time-of-day auto-run slot: day, night, night2 .. night7.
struct AutoRunSlot {
    bool enabled = true;         // daytimeflag ...
    SystemTime time;             // the hour and minute come from daytimeHour, daytimeMinute ...
    FixedText<260> commandLine;  // dayeditbuffer ...
};

struct AppSettings {
    uint32_t ColorBrightness = 0x008000FF;
    uint32_t ColorContrast = 0x0011D21B;
    uint32_t ColorVolume = 0x00FF8080;
    uint32_t ColorAreaBrightness = 0x008000FF;
    uint32_t ColorAreaContrast = 0x0011D21B;
    uint32_t ColorSliderBrightness = 0x008000FF;
    uint32_t ColorSliderContrast = 0x0011D21B;
    uint32_t ColorSliderVolume = 0x00FF8080;

    bool showbrightnessicon = true;
    bool showcontrasticon = true;
    bool showvolumeicon = true;
    bool showcombinedicon = false;
    int32_t aliasing = 0;  // 0 none, 1 grey pixels, 2 ClearType
    bool tooltips = true;
    bool notifications = true;

    bool autostart = true;
    bool autoselect = false;
    bool samebrightness = false;
    bool samevalues = false;    // a value command goes to every monitor
    bool rereadvalues = false;  // read the monitors afresh before every command
    bool showRGB = false;       // the popup shows the colour gain area
    bool showvolume = true;
    bool nocheckhidden = false;
    bool nocheckmonitor = false;
    bool transferbrightness = false;

    bool additional = true;  // keep a copy in the roaming application-data folder
    bool cdbackup = true;    // keep a copy in the program's own folder

    std::u16string language;               // as the file holds it, at most 31 characters
    uint16_t languageId = win::kLangEnglish;  // resolved primary language: German, anything else English

    std::array<HotKeySetting, kHotKeys> hotkeys{};
    std::array<MenuEntrySetting, kMenuEntries> menuEntries{};
    int32_t wheel_B = 10;
    int32_t wheel_C = 10;
    int32_t wheel_V = 10;
    WheelComboTable wheelCombos{};
    std::array<AutoRunSlot, kAutoRunSlots> autoRun{};

    FixedText<64> source_brightness;
    FixedText<64> destination_brightness;
    int32_t offset_brightness = 0;
    std::array<float, 4> div{1.0f, 1.0f, 1.0f, 1.0f};

    std::array<MonitorLimitRow, kLimitRows> limits{};
    int32_t lastsettings = 0;
    // The last two bytes of the four notification icons' identifiers (volume, contrast,
    // brightness, combined): written for the record, never read back.
    std::array<uint16_t, kIconIdentifiers> iconIdentifierTails{};

    // While false a save writes only the restart flags: restoring the defaults makes the
    // next instance start from nothing.
    bool fullSave = true;

    bool German() const { return languageId == win::kLangGerman; }
};

// Start-up's defaults that depend on the system: digit smoothing and the auto-run times.
void ApplyComputedDefaults(AppSettings& settings, SystemApi& system);
// The interface language: the file's "German" or "English", else the user's own.
uint16_t ResolveLanguage(const AppSettings& settings, uint16_t userUiLanguage);
// At least one icon is always shown: with all four off, the combined one comes back.
void EnsureSomeIcon(AppSettings& settings);

}  // namespace lv
