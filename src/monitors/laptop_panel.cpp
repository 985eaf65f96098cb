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

void ReadLaptopBrightness(Core& core, int index) {
    core.wmiOk = false;
    if (index < 0 || index >= kMaxMonitors) return;
    std::vector<WmiBrightnessRecord> records;
    if (!core.platform.wmi.QueryBrightness(records)) return;
    MonitorEntry& entry = core.table[static_cast<std::size_t>(index)];
    for (const WmiBrightnessRecord& record : records) {
        if (!record.currentBrightness) continue;
        const uint8_t current = *record.currentBrightness;
        core.wmiOk = true;
        entry.isLaptopPanel = 1;
        entry.brightnessMin = core.panel.minLevel;
        entry.brightnessMax = core.panel.maxLevel;
        if (BatterySaverOff(core)) core.savedPanelLevel = current;
        entry.brightness = core.panel.PercentOf(current, current);
    }
}

void SetLaptopBrightness(Core& core, uint32_t percent) {
    core.wmiOk = false;
    percent = std::min<uint32_t>(percent, 100);
    const PanelLevels& panel = core.panel;
    uint32_t level = panel.Usable() ? panel.percent[percent] : percent;
    if (percent == 0) level = panel.minLevel;
    if (percent == 100) level = panel.maxLevel;
    if (!core.platform.wmi.SetBrightness(level)) return;

    core.wmiOk = true;
    MonitorEntry& entry = core.Selected();
    entry.isLaptopPanel = 1;
    entry.brightnessMin = panel.minLevel;
    entry.brightnessMax = panel.maxLevel;
    entry.brightness = percent;
    if (percent != 0 && percent != 100 && panel.Usable())
        entry.brightness = panel.PercentOf(static_cast<uint8_t>(level), percent);
    if (BatterySaverOff(core)) core.savedPanelLevel = static_cast<uint8_t>(level);
    (void)core.platform.window.SetTimer(timer::kPanel, timer::kPanelMs);
}

}  // namespace lv
