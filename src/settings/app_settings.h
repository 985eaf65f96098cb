// The settings record. Every persistent field bears the name of its key in the settings
// file. The fields here are those the monitor and command logic read.
#pragma once

#include <array>
#include <cstdint>

#include "common/fixed_text.h"

namespace lv {

inline constexpr int kLimitRows = 8;
inline constexpr uint16_t kLanguageGerman = 7;  // primary language id

struct MonitorLimitRow {
    FixedText<64> name;  // IDC_1M .. IDC_8M
    int32_t brightnessMin = 0;    // m1_B_MIN
    int32_t brightnessMax = 100;  // m1_B_MAX
    int32_t contrastMin = 0;      // m1_C_MIN
    int32_t contrastMax = 100;    // m1_C_MAX
};

struct AppSettings {
    bool rereadvalues = false;  // read the monitors afresh before every command
    bool samevalues = false;    // a value command goes to every monitor
    bool showRGB = false;       // the popup shows the colour gain area
    uint16_t language = 9;      // primary language id of the interface
    std::array<MonitorLimitRow, kLimitRows> limits{};

    bool German() const { return language == kLanguageGerman; }
};

}  // namespace lv
