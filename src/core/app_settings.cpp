#include "core/app_settings.h"

#include "common/text.h"

namespace lv {

void ApplyComputedDefaults(AppSettings& settings, SystemApi& system) {
    for (MonitorLimitRow& row : settings.limits) {
        row.brightnessMax = 100;
        row.contrastMax = 100;
    }
    settings.wheel_B = settings.wheel_C = settings.wheel_V = 10;
    settings.aliasing = 0;
    uint32_t smoothing = 0;
    // 16-pixel icons are too small for smoothed digits.
    if (system.SmallIconHeight() != 16 && system.GetFontSmoothingType(smoothing) &&
        (smoothing == win::kFeFontSmoothingStandard || smoothing == win::kFeFontSmoothingClearType))
        settings.aliasing = static_cast<int32_t>(smoothing);
    const SystemTime now = system.LocalTime();
    for (AutoRunSlot& slot : settings.autoRun) slot.time = now;
}

uint16_t ResolveLanguage(const AppSettings& settings, uint16_t userUiLanguage) {
    std::string text;
    for (char16_t c : settings.language.substr(0, 32)) text += c < 0x80 ? static_cast<char>(c) : '?';
    if (EqualsNoCase(text, "German")) return win::kLangGerman;
    if (EqualsNoCase(text, "English")) return win::kLangEnglish;
    return static_cast<uint16_t>(userUiLanguage & win::kPrimaryLangIdMask);
}

void EnsureSomeIcon(AppSettings& settings) {
    if (!settings.showcombinedicon && !settings.showbrightnessicon && !settings.showcontrasticon &&
        !settings.showvolumeicon)
        settings.showcombinedicon = true;
}

}  // namespace lv
