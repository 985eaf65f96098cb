#include "tools/simulator.h"

#include <string>

#include "monitors/capabilities.h"
#include "popup/popup_controls.h"

namespace lv::sim {
namespace {

constexpr std::size_t kMaxCapabilitiesModel = 31;

void FillFromCapabilities(MonitorEntry& entry, std::string_view text) {
    entry.capabilitiesString = text;
    const Capabilities caps = ParseCapabilities(entry.capabilitiesString.View());
    if (caps.hasModel) entry.capabilitiesModel = std::string_view(caps.model).substr(0, kMaxCapabilitiesModel);
    if (const VcpCode* presets = caps.Find(0x14))
        for (uint8_t value : presets->values)
            if (value >= 1 && value <= kMaxPreset) entry.presetNames[value] = PresetName(value);
    if (const VcpCode* inputs = caps.Find(0x60))
        for (uint8_t value : inputs->values)
            if (value >= 1 && value <= kMaxInput) entry.inputNames[value] = InputName(value);
}

// A reading as the program stores it: the raw range and the normalised value.
void Store(const fake::FleetRange& range, uint32_t& min, uint32_t& value, uint32_t& max, int32_t scale) {
    min = range.min;
    max = range.max;
    value = NormaliseValue(range.current, range.min, range.max, scale);
}

std::string WithoutSpaces(std::string_view text) {
    std::string result;
    for (char c : text)
        if (c != ' ') result += c;
    return result;
}

}  // namespace

Simulator::Simulator(fake::Fleet initial)
    : fleet(std::move(initial)),
      monitors(fleet, clock),
      window(clock),
      core(Platform{monitors, clock, codec, window, audio, system, view}) {
    window.SetCopyDataHandler(
        [this](uint32_t source, std::span<const char> data) { OnCopyData(core, source, data.data(), data.size()); });
    core.refreshPopup = [this](int) { ++refreshRequests; };
    monitors.CaptureFactoryDefaults();
}

void Simulator::Seed() {
    core.list.Clear();
    bool panelUsed = false;
    for (const fake::FleetDisplay& display : fleet.displays) {
        for (const fake::FleetMonitor& monitor : display.monitors) {
            const int row = core.list.Rows();
            if (row >= kMaxMonitors) break;
            MonitorEntry& entry = core.table[static_cast<std::size_t>(row)];
            entry.description = monitor.description;
            const std::size_t display_pos = display.device.find("DISPLAY");
            entry.deviceName = display_pos == std::string::npos ? std::string_view() : std::string_view(display.device).substr(display_pos);
            entry.monitorRect = display.rect;
            entry.modelName = display.friendly.empty() ? entry.deviceName.View() : std::string_view(display.friendly);
            if (display.serial.size() >= 2) entry.serialNumber = display.serial;
            entry.yearOfManufacture = static_cast<int32_t>(display.year);
            FillFromCapabilities(entry, monitor.capabilities);
            if (monitor.preset >= 1 && monitor.preset <= kMaxPreset) {
                entry.presetNames[0] = PresetName(static_cast<int>(monitor.preset));
                entry.userPresetActive = entry.presetNames[0].View().starts_with("User") ? 1 : 0;
            }
            if (monitor.input >= 1 && monitor.input <= kMaxInput) entry.inputNames[0] = InputName(static_cast<int>(monitor.input));

            core.list.AddRow(WithoutSpaces(entry.modelName.View()));
            const bool answers = monitor.ddc != fake::DdcMode::Dead;
            if (answers) {
                Store(monitor.brightness, entry.brightnessMin, entry.brightness, entry.brightnessMax, 100);
                Store(monitor.contrast, entry.contrastMin, entry.contrast, entry.contrastMax, 100);
                Store(monitor.red, entry.redMin, entry.red, entry.redMax, 255);
                Store(monitor.green, entry.greenMin, entry.green, entry.greenMax, 255);
                Store(monitor.blue, entry.blueMin, entry.blue, entry.blueMax, 255);
                core.list.SetCell(row, kColumnBrightness, std::to_string(std::min<uint32_t>(entry.brightness, 100)));
                core.list.SetCell(row, kColumnContrast, std::to_string(std::min<uint32_t>(entry.contrast, 100)));
                core.list.SetCell(row, kColumnRed, std::to_string(entry.red));
                core.list.SetCell(row, kColumnGreen, std::to_string(entry.green));
                core.list.SetCell(row, kColumnBlue, std::to_string(entry.blue));
            } else if (fleet.panel && fleet.panel->wmiOk && !panelUsed) {
                // A monitor without DDC/CI whose brightness the laptop panel gives.
                panelUsed = true;
                entry.isLaptopPanel = 1;
                entry.brightness = std::min<uint32_t>(fleet.panel->current, 100);
                core.list.SetCell(row, kColumnBrightness, std::to_string(entry.brightness));
                core.list.SetCell(row, kColumnContrast, ".");
            } else {
                core.list.SetCell(row, kColumnBrightness, "?");
                core.list.SetCell(row, kColumnContrast, "?");
            }
        }
    }
    view.SetListRowCount(core.list.Rows());
    for (int row = 0; row < core.list.Rows(); ++row)
        for (int column = 0; column < kListColumns; ++column) view.SetListCell(row, column, core.list.Cell(row, column));
    core.selectedMonitor = 0;
    SelectListRow(core);
    FillChoices(core, core.Selected());
}

void Simulator::Run(std::string_view line, uint32_t source) {
    SubmitCommandLine(core, line, source);
    Pump();
}

void Simulator::Pump() {
    while (auto command = window.PopCommand()) {
        if (command->id == id::kCmdRunCommandLine)
            RunQueuedCommandLine(core, static_cast<uint32_t>(command->lparam));
        else
            otherCommands.push_back(*command);
    }
}

}  // namespace lv::sim
