#include "monitors/laptop_panel.h"

#include <algorithm>

#include "core/core.h"
#include "core/timers.h"
#include "monitors/wmi_instance.h"
#include "platform/windows_codes.h"

namespace lv {
namespace {

bool BatterySaverOff(Core& core) {
    PowerStatus status;
    return core.platform.system.GetSystemPowerStatus(status) && status.systemStatusFlag == 0;
}

// Whether the panel behind `record` may be the monitor of `entry`. Its WMI instance names
// the monitor, as it names the monitor's serial number; without instances to compare, an
// output technology that wires a built-in panel decides. A monitor nothing is known of
// keeps the panel: it cannot be told apart.
bool PanelMayBelongTo(Core& core, const MonitorEntry& entry, const WmiBrightnessRecord& record) {
    std::string segment;
    if (record.instanceName && !entry.instanceId.Empty() &&
        WmiInstanceSegment(core.platform.codec.WideToAnsi(*record.instanceName), segment))
        return segment == entry.instanceId.View();
    if (!entry.outputTechnology) return true;
    switch (*entry.outputTechnology) {
        case win::kOutputTechnologyLvds:
        case win::kOutputTechnologyDisplayPortEmbedded:
        case win::kOutputTechnologyUdiEmbedded:
        case win::kOutputTechnologyInternal: return true;
        default: return false;
    }
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
        if (!record.currentBrightness || !PanelMayBelongTo(core, entry, record)) continue;
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
