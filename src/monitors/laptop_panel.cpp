#include "monitors/laptop_panel.h"

#include <algorithm>

#include "core/core.h"
#include "core/timers.h"

namespace lv {
namespace {

bool BatterySaverOff(Core& core) {
    PowerStatus status;
    return core.platform.system.GetSystemPowerStatus(status) && status.systemStatusFlag == 0;
}

}  // namespace

void ReadPanelLevels(Core& core) {
    std::vector<WmiBrightnessRecord> records;
    core.panel = PanelLevels{};
    if (!core.platform.wmi.QueryBrightness(records) || records.empty() || !records.front().levels) return;
    core.panel = MakePanelLevels(*records.front().levels);
}

bool ReadLaptopBrightness(Core& core, int index) {
    if (index < 0 || index >= kMaxMonitors) return false;
    std::vector<WmiBrightnessRecord> records;
    if (!core.platform.wmi.QueryBrightness(records)) return false;
    MonitorEntry& entry = core.table[static_cast<std::size_t>(index)];
    bool read = false;
    for (const WmiBrightnessRecord& record : records) {
        if (!record.currentBrightness) continue;
        const uint8_t current = *record.currentBrightness;
        read = true;
        entry.isLaptopPanel = 1;
        entry.brightnessMin = core.panel.minLevel;
        entry.brightnessMax = core.panel.maxLevel;
        if (BatterySaverOff(core)) core.savedPanelLevel = current;
        entry.brightness = core.panel.PercentOf(current, current);
    }
    return read;
}

bool SetLaptopBrightness(Core& core, uint32_t percent) {
    percent = std::min<uint32_t>(percent, 100);
    const PanelLevels& panel = core.panel;
    uint32_t level = panel.Usable() ? panel.percent[percent] : percent;
    if (percent == 0) level = panel.minLevel;
    if (percent == 100) level = panel.maxLevel;
    if (!core.platform.wmi.SetBrightness(level)) return false;

    MonitorEntry& entry = core.Selected();
    entry.isLaptopPanel = 1;
    entry.brightnessMin = panel.minLevel;
    entry.brightnessMax = panel.maxLevel;
    entry.brightness = percent;
    if (percent != 0 && percent != 100 && panel.Usable())
        entry.brightness = panel.PercentOf(static_cast<uint8_t>(level), percent);
    if (BatterySaverOff(core)) core.savedPanelLevel = static_cast<uint8_t>(level);
    (void)core.platform.window.SetTimer(timer::kPanel, timer::kPanelMs);
    return true;
}

}  // namespace lv
