#include "monitors/enumeration.h"

#include <algorithm>
#include <array>
#include <utility>

#include "common/text.h"
#include "core/core.h"
#include "monitors/capabilities.h"
#include "monitors/ddc_access.h"
#include "monitors/edid.h"
#include "monitors/laptop_panel.h"
#include "monitors/monitor_list.h"
#include "monitors/wmi_instance.h"

namespace lv {
namespace {

constexpr std::size_t kMaxRowText = 260;
constexpr std::size_t kMaxDescription = 127;
constexpr std::size_t kMaxInstanceId = 95;
constexpr std::size_t kMaxModelName = 63;
constexpr std::size_t kMaxCapabilitiesModel = 31;
constexpr std::size_t kMaxSerialElements = 31;
constexpr std::string_view kDevicePathPrefix = "\\\\?\\DISPLAY#";

constexpr std::pair<uint32_t, std::string_view> kConnections[] = {
    {0, "HD15(VGA)"},         {1, "S-Video"},          {2, "Composite Video"},       {3, "Component Video"},
    {4, "DVI"},               {5, "HDMI"},             {6, "LVDS"},                  {8, "Japanese D"},
    {9, "SDI"},               {10, "external DisplayPort"}, {11, "embedded DisplayPort"}, {12, "external UDI"},
    {13, "embedded UDI"},     {14, "SDTV"},            {15, "Miracast"},             {0x80000000u, "internal LCD"},
};

struct Manufacturer {
    std::string_view name;
    std::string_view ids;  // three-letter ids separated by blanks
};

constexpr Manufacturer kManufacturers[] = {
    {"Acer", "CHE ALI ANX ACR"},
    {"Dell", "DLL DEL"},
    {"D-Link", "AXE ABO DLK"},
    {"Eizo", "EGD ENC"},
    {"Fujitsu", "FDT FGL FUJ FML FPE FUS FJS FJC FTL"},
    {"Hewlett-Packard", "HWP HPD HPC HPQ"},
    {"Iiyama", "IVM"},
    {"Kensington", "KML"},
    {"Lenovo", "LNV LIN LEN"},
    {"Philips", "PCA PHS PHL PHE PSC"},
    {"Samsung", "SAM SKT SSE STN KYK SEM"},
    {"Sony", "SNY SON"},
    {"Terra", "TER"},
    {"ViewSonic", "VSC"},
    {"Yamaha", "YMH"},
    {"Denon", "DON"},
    {"Harman", "HII"},
    {"Onkyo", "ONK"},
    {"Pioneer", "PCI PIO"},
    {"Marantz", "MJI"},
};

std::string WithoutSpaces(std::string_view text) {
    std::string result;
    for (char c : text.substr(0, kMaxRowText))
        if (c != ' ') result += c;
    return result;
}

// The capabilities of a monitor that answered: the string (asked for once and kept),
// the model, the offered presets and inputs, and the current preset and input.
void ReadCapabilities(Core& core, PhysicalHandle monitor, MonitorEntry& entry) {
    MonitorApi& api = core.platform.monitors;
    EnumerationState& state = core.enumeration;
    if (entry.capabilitiesString.Empty()) {
        uint32_t length = 0;
        bool gotLength = false;
        for (int attempt = 0; attempt < state.capabilitiesAttemptLimit; ++attempt) {
            entry.capabilitiesAttempt = attempt;
            // A monitor that needs 50 tries is not worth 10 s on every pass.
            if (attempt == EnumerationState::kCapabilitiesAttempts - 1) state.capabilitiesAttemptLimit = 1;
            if (api.GetCapabilitiesStringLength(monitor, length)) {
                gotLength = true;
                break;
            }
            core.platform.clock.Sleep(kCapabilitiesPauseMs);
        }
        if (!gotLength) return;
        // The reply buffer is sized by this number: an absurd one must not cost an absurd
        // allocation (which would end the pass with the handles still open).
        length = std::min(length, kMaxCapabilitiesRequest);
        bool gotString = false;
        for (int attempt = 0; attempt < state.capabilitiesAttemptLimit && !gotString; ++attempt) {
            std::string text;
            if (api.CapabilitiesRequestAndCapabilitiesReply(monitor, length, text)) {
                entry.capabilitiesString = text;
                gotString = true;
            } else {
                core.platform.clock.Sleep(kCapabilitiesPauseMs);
            }
        }
        if (!gotString) return;
    }

    const Capabilities caps = ParseCapabilities(entry.capabilitiesString.View());
    if (caps.hasModel) entry.capabilitiesModel = std::string_view(caps.model).substr(0, kMaxCapabilitiesModel);
    // The current value is asked for only where the monitor lists the feature at all.
    if (caps.Find(kVcpColorPreset)) {
        const PresetSet offered = caps.OfferedPresets();
        for (int value = 1; value <= kMaxPreset; ++value)
            entry.presetNames[static_cast<std::size_t>(value)] = offered[static_cast<std::size_t>(value)] ? PresetName(value) : "";
        (void)ReadCurrentPreset(core, monitor, entry);
    }
    if (caps.Find(kVcpInputSource)) {
        const InputSet offered = caps.OfferedInputs();
        for (int value = 1; value <= kMaxInput; ++value)
            entry.inputNames[static_cast<std::size_t>(value)] = offered[static_cast<std::size_t>(value)] ? InputName(value) : "";
        (void)ReadCurrentInput(core, monitor, entry);
    }
}

// The model text from the monitor's EDID, through the management interface.
std::string EdidModel(Core& core, const MonitorEntry& entry) {
    std::vector<uint8_t> block;
    const auto match = [&](std::u16string_view name) {
        std::string segment;
        return WmiInstanceSegment(core.platform.codec.WideToAnsi(name), segment) && segment == entry.instanceId.View();
    };
    if (!core.platform.wmi.GetRawEdidBlock(match, block)) return {};
    return EdidModelText(block);
}

// Serial number and year of manufacture of the WMI monitor whose instance matches.
void ReadMonitorId(Core& core, MonitorEntry& entry) {
    std::vector<WmiMonitorIdRecord> records;
    if (!core.platform.wmi.QueryMonitorIds(records)) return;
    for (const WmiMonitorIdRecord& record : records) {
        if (!record.instanceName) continue;
        std::string segment;
        if (!WmiInstanceSegment(core.platform.codec.WideToAnsi(*record.instanceName), segment)) continue;
        entry.wmiInstanceId = segment;
        if (entry.wmiInstanceId.View() != entry.instanceId.View()) continue;
        if (record.serialNumberId) {
            std::string serial;
            for (uint32_t element : *record.serialNumberId) {
                if (serial.size() >= kMaxSerialElements) break;
                const char c = static_cast<char>(element & 0xFF);
                if (c == '\0') break;  // the list is padded with zeros
                serial += c;
            }
            if (serial.size() < 2) serial.clear();  // one character identifies nothing
            entry.serialNumber = serial;
        }
        if (record.yearOfManufacture) entry.yearOfManufacture = static_cast<int32_t>(*record.yearOfManufacture);
        return;
    }
}

// Identification through the display topology. `rowText` holds the device name and
// receives the model name when one is found.
void Identify(Core& core, MonitorEntry& entry, const std::string& gdiDeviceName, std::string& rowText) {
    DisplayConfigApi& config = core.platform.displayConfig;
    TextCodec& codec = core.platform.codec;
    uint32_t pathCount = 0, modeCount = 0;
    std::vector<DisplayPath> paths;
    if (!config.GetDisplayConfigBufferSizes(pathCount, modeCount) || !config.QueryDisplayConfig(pathCount, modeCount, paths))
        return;
    TargetDeviceName target;
    bool found = false;
    for (const DisplayPath& path : paths) {
        std::u16string source;
        if (!config.GetSourceDeviceName(path, source) || !EqualsNoCase(codec.WideToAnsi(source), gdiDeviceName)) continue;
        found = config.GetTargetDeviceName(path, target);
        break;
    }
    if (!found) return;

    entry.outputTechnology = target.outputTechnology;
    const std::string_view connection = ConnectionName(target.outputTechnology);
    if (!connection.empty()) entry.connectionName = connection;

    const std::string devicePath = codec.WideToAnsi(target.monitorDevicePath);
    const std::size_t prefix = devicePath.find(kDevicePathPrefix);
    if (prefix != std::string::npos) {
        // \\?\DISPLAY#DEL4220#5&1a2b3c4d&0&UID4352#{...}: the instance is the third field.
        const std::size_t second = devicePath.find('#', prefix + kDevicePathPrefix.size());
        if (second != std::string::npos) {
            std::string instance = devicePath.substr(second + 1);
            instance = instance.substr(0, instance.find('#'));
            instance = instance.substr(0, instance.find('_'));
            entry.instanceId = std::string_view(instance).substr(0, kMaxInstanceId);
        }
    }
    ReadMonitorId(core, entry);

    std::string candidate = codec.WideToAnsi(target.monitorFriendlyDeviceName);
    if (prefix != std::string::npos) {
        const std::string_view afterPrefix = std::string_view(devicePath).substr(prefix + kDevicePathPrefix.size());
        if (afterPrefix.find("Default") != std::string_view::npos) {
            entry.manufacturerId = afterPrefix.substr(0, 7);
        } else {
            entry.manufacturerId = afterPrefix.substr(0, 3);
            entry.productCode = afterPrefix.substr(std::min<std::size_t>(3, afterPrefix.size()), 4);
        }
        entry.manufacturerName = ManufacturerName(entry.manufacturerId.View());
    }
    if (candidate.empty()) candidate = EdidModel(core, entry);
    if (candidate.empty()) candidate = entry.manufacturerId.Str() + entry.productCode.Str();
    if (EqualsNoCase(candidate, "Default")) candidate = rowText;  // the default driver knows no model
    if (candidate.empty()) return;  // nothing better than the device name: keep that
    entry.modelName = std::string_view(candidate).substr(0, kMaxModelName);
    rowText = entry.modelName.Str();
}

// The ignore check: the slot that names this row's text, wherever the saved order left it,
// moves to this row (the slots travel with the monitors). Returns whether the monitor is
// ignored. It needs only the row text, so it comes before any DDC/CI: a slot left at
// another monitor's row must not silence that monitor.
bool TakeIgnoreSlot(Core& core, int index, const std::string& rowText) {
    MonitorEntry& entry = core.table[static_cast<std::size_t>(index)];
    for (MonitorEntry& slot : core.table) {
        if (slot.ignoreName.Empty() || slot.ignoreName.View() != rowText) continue;
        std::swap(slot.ignoreName, entry.ignoreName);
        return true;
    }
    return false;
}

// Reads and writes over DDC/CI for one monitor of the pass that is not ignored. `ddcOk`
// comes in true when an earlier pass read the monitor already and goes out telling
// whether DDC/CI answered. Returns false when a factory reset was sent: the program
// restarts and this display gets no row.
bool UpdateMonitor(Core& core, PhysicalHandle monitor, int index, bool& ddcOk) {
    MonitorEntry& entry = core.table[static_cast<std::size_t>(index)];
    const bool pending = entry.pendingPreset || entry.pendingInput || entry.factoryResetPending;
    if (entry.readMode != 2 && !pending) return true;
    if (!ddcOk) ddcOk = ReadBrightnessWithRetries(core, monitor, entry);
    if (entry.readMode == 2 && ddcOk) (void)ReadContrastWithRetries(core, monitor, entry);
    bool presetWritten = false;
    if (WritePendingValues(core, monitor, entry, presetWritten) == PendingWrites::FactoryReset) return false;
    if (entry.readMode == 2 && ddcOk) ReadCapabilities(core, monitor, entry);
    if ((entry.readMode == 2 || presetWritten) && ddcOk) ReadGains(core, monitor, entry);
    return true;
}

// Adds the row of a monitor: its values, or "?" when nothing answered or it is ignored,
// "." for a panel.
void AddRow(Core& core, int index, const std::string& rowText, bool ignored, bool ddcOk, bool wmiOk) {
    MonitorEntry& entry = core.table[static_cast<std::size_t>(index)];
    if (ignored) {
        const int row = AddListRow(core, "ignore_" + entry.ignoreName.Str());
        SetListCell(core, row, kColumnBrightness, "?");
        SetListCell(core, row, kColumnContrast, "?");
        return;
    }
    const int row = AddListRow(core, rowText);
    entry.brightness = std::min<uint32_t>(entry.brightness, 100);
    entry.contrast = std::min<uint32_t>(entry.contrast, 100);
    if (!ddcOk) {
        if (!wmiOk) SetListCell(core, row, kColumnBrightness, "?");
        SetListCell(core, row, kColumnContrast, wmiOk ? "." : "?");
    }
    ShowRowValues(core, row);
    if (index == core.selectedMonitor) FillChoices(core, entry);
}

bool IdentifyDisplay(Core& core, DisplayHandle display, const Rect& rect) {
    MonitorApi& api = core.platform.monitors;
    EnumerationState& state = core.enumeration;
    uint32_t count = 0;
    std::vector<PhysicalMonitor> monitors;

    if (state.closing) {
        if (api.GetNumberOfPhysicalMonitorsFromHMONITOR(display, count) &&
            api.GetPhysicalMonitorsFromHMONITOR(display, count, monitors)) {
            for (const PhysicalMonitor& monitor : monitors) (void)api.SaveCurrentMonitorSettings(monitor.handle);
            (void)api.DestroyPhysicalMonitors(monitors);
        }
        return true;
    }

    state.enumerationFailed = false;
    if (!api.GetNumberOfPhysicalMonitorsFromHMONITOR(display, count) ||
        !api.GetPhysicalMonitorsFromHMONITOR(display, count, monitors)) {
        state.enumerationFailed = true;
        return false;
    }

    for (const PhysicalMonitor& monitor : monitors) {
        ++core.enumCounter;
        if (monitors.size() > 1) state.severalPhysicalMonitors = true;
        const int index = core.list.Rows();
        if (index >= kMaxMonitors) break;
        MonitorEntry& entry = core.table[static_cast<std::size_t>(index)];

        entry.description = std::string_view(core.platform.codec.WideToAnsi(monitor.description)).substr(0, kMaxDescription);
        std::string rowText;
        MonitorInfo info;
        if (api.GetMonitorInfoA(display, info)) {
            const std::size_t name = info.deviceName.find("DISPLAY");
            entry.deviceName = name == std::string::npos ? std::string_view() : std::string_view(info.deviceName).substr(name);
            rowText = entry.deviceName.Str();
        }
        entry.monitorRect = rect;
        if (monitors.size() == 1) Identify(core, entry, info.deviceName, rowText);
        rowText = WithoutSpaces(rowText);
        const bool ignored = TakeIgnoreSlot(core, index, rowText);

        if (core.settings.rereadvalues) entry.contrastMax = 0;
        entry.readMode = entry.contrastMax == 0 ? 2 : 0;
        entry.isLaptopPanel = 0;
        bool ddcOk = entry.contrastMax != 0;
        if (!ignored && !UpdateMonitor(core, monitor.handle, index, ddcOk)) break;
        const bool wmiOk = !ddcOk && ReadLaptopBrightness(core, index);
        AddRow(core, index, rowText, ignored, ddcOk, wmiOk);
    }
    (void)api.DestroyPhysicalMonitors(monitors);
    return core.list.Rows() < kMaxMonitors;
}

}  // namespace

std::string_view ConnectionName(uint32_t outputTechnology) {
    for (const auto& [value, name] : kConnections)
        if (value == outputTechnology) return name;
    return {};
}

std::string_view ManufacturerName(std::string_view id) {
    if (id.size() != 3) return {};
    for (const Manufacturer& maker : kManufacturers)
        for (std::size_t i = 0; i + 3 <= maker.ids.size(); i += 4)
            if (maker.ids.substr(i, 3) == id) return maker.name;
    return {};
}

void RefreshMonitors(Core& core) {
    core.enumCounter = -1;
    core.platform.monitors.EnumDisplayMonitors(
        [&core](DisplayHandle display, const Rect& rect) { return IdentifyDisplay(core, display, rect); });
}

bool EnumerateUntilAnswered(Core& core) {
    bool answered = false;
    for (int pass = 0; pass < kRefreshPasses && !answered; ++pass) {
        if (pass > 0) core.platform.clock.Sleep(kRefreshPauseMs);
        ClearList(core);
        RefreshMonitors(core);
        for (int row = 0; row < core.list.Rows(); ++row)
            if (!core.list.IsSilent(row)) answered = true;
    }
    const int rows = core.list.Rows();
    if (rows > 0 && answered && core.selectedMonitor > rows - 1) {
        core.selectedMonitor = rows - 1;
        core.forceReselect = true;
    }
    return answered;
}

std::string MonitorFingerprint(const Core& core) {
    std::string fingerprint;
    for (int row = 0; row < core.list.Rows(); ++row) {
        const MonitorEntry& e = core.table[static_cast<std::size_t>(row)];
        for (std::string_view field : {e.description.View(), e.deviceName.View(), e.modelName.View(), e.instanceId.View(),
                                       e.connectionName.View(), e.manufacturerId.View(), e.productCode.View(),
                                       e.manufacturerName.View(), e.serialNumber.View()})
            fingerprint += field;
    }
    return fingerprint;
}

}  // namespace lv
