#include "platform/sim/sim_monitor_api.h"

#include <cstdio>

#include "platform/windows_codes.h"

namespace lv::sim {

namespace {

constexpr std::size_t kDescriptionCapacity = 127;  // szPhysicalMonitorDescription without terminator
constexpr std::size_t kDeviceNameCapacity = 31;    // szDevice without terminator

std::string Hex2(uint8_t code) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(code));
    return text;
}

const char* GainName(GainType gain) {
    switch (gain) {
        case GainType::Red: return "red";
        case GainType::Green: return "green";
        case GainType::Blue: return "blue";
    }
    return "invalid";
}

std::string Value(uint32_t value) { return " value=" + std::to_string(value); }

}  // namespace

SimMonitorApi::SimMonitorApi(Fleet& fleet, SimClock& clock) : fleet_(fleet), clock_(clock) {
    CaptureFactoryDefaults();
}

void SimMonitorApi::CaptureFactoryDefaults() {
    factoryDefaults_.clear();
    for (std::size_t i = 0; i < MonitorCount(fleet_); ++i) factoryDefaults_[PhysicalHandleAt(i)] = *MonitorAt(fleet_, i);
}

std::size_t SimMonitorApi::CallCount(std::string_view callName) const {
    const auto it = callCounts_.find(callName);
    return it == callCounts_.end() ? 0 : it->second;
}

void SimMonitorApi::ClearCallLog() {
    log_.clear();
    callCounts_.clear();
    ddcCalls_ = 0;
    closedHandleCalls_ = 0;
}

std::size_t SimMonitorApi::OpenHandleCount() const {
    std::size_t count = 0;
    for (const auto& [handle, opens] : openHandles_) count += opens;
    return count;
}

std::ptrdiff_t SimMonitorApi::DisplayIndex(DisplayHandle display) const {
    if (display < kDisplayHandleBase || display - kDisplayHandleBase >= fleet_.displays.size()) return -1;
    return static_cast<std::ptrdiff_t>(display - kDisplayHandleBase);
}

std::string SimMonitorApi::DisplayName(DisplayHandle display) const {
    const std::ptrdiff_t index = DisplayIndex(display);
    return index < 0 ? "display=invalid:" + std::to_string(display) : "display=" + std::to_string(index);
}

SimMonitorApi::Target SimMonitorApi::Resolve(PhysicalHandle handle) const {
    Target target;
    if (handle >= kPhysicalHandleBase && handle - kPhysicalHandleBase < MonitorCount(fleet_)) {
        const std::size_t index = handle - kPhysicalHandleBase;
        target.name = "mon=" + std::to_string(index);
        const auto open = openHandles_.find(handle);
        if (open != openHandles_.end() && open->second > 0) target.monitor = MonitorAt(fleet_, index);
    } else {
        target.name = "mon=invalid:" + std::to_string(handle);
    }
    return target;
}

bool SimMonitorApi::BeginDdcCall(PhysicalHandle handle, const Target& target) {
    if (target.monitor == nullptr) {
        ++closedHandleCalls_;
        return false;
    }
    ++ddcCalls_;
    clock_.Advance(ddcCallCost_);
    switch (target.monitor->ddc) {
        case DdcMode::Ok: return true;
        case DdcMode::Dead: return false;
        case DdcMode::Flaky: {
            const uint64_t call = flakyCalls_[handle]++;
            const uint64_t cycle = uint64_t{target.monitor->flakyFailures} + 1;
            return call % cycle == cycle - 1;
        }
    }
    return false;
}

bool SimMonitorApi::Log(std::string_view call, std::string_view arguments, bool ok) {
    std::string line = "t=" + std::to_string(callTime_) + " ";
    line += call;
    if (!arguments.empty()) {
        line += ' ';
        line += arguments;
    }
    line += ok ? " -> ok" : " -> fail";
    log_.push_back(std::move(line));
    auto it = callCounts_.find(call);
    if (it == callCounts_.end()) it = callCounts_.emplace(std::string(call), 0).first;
    ++it->second;
    return ok;
}

bool SimMonitorApi::SetRange(FleetRange& range, uint32_t value) {
    if (value < range.min || value > range.max) return false;
    range.current = value;
    return true;
}

FleetRange* SimMonitorApi::GainRange(FleetMonitor& monitor, GainType gain) {
    switch (gain) {
        case GainType::Red: return &monitor.red;
        case GainType::Green: return &monitor.green;
        case GainType::Blue: return &monitor.blue;
    }
    return nullptr;
}

void SimMonitorApi::RestoreFactoryDefaults(PhysicalHandle handle, FleetMonitor& monitor) {
    const auto it = factoryDefaults_.find(handle);
    if (it == factoryDefaults_.end()) return;
    const FleetMonitor& factory = it->second;
    monitor.brightness.current = factory.brightness.current;
    monitor.contrast.current = factory.contrast.current;
    monitor.red.current = factory.red.current;
    monitor.green.current = factory.green.current;
    monitor.blue.current = factory.blue.current;
    monitor.preset = factory.preset;
}

bool SimMonitorApi::EnumDisplayMonitors(const DisplayCallback& callback) {
    callTime_ = clock_.Now();
    // Logged first: the callback's own calls follow it in the log, as they happen during it.
    Log("EnumDisplayMonitors", {}, true);
    // Indexed, so a callback that changes the fleet cannot invalidate the walk.
    for (std::size_t i = 0; i < fleet_.displays.size(); ++i) {
        const Rect rect = fleet_.displays[i].rect;
        if (!callback(DisplayHandleAt(i), rect)) break;
    }
    return true;
}

bool SimMonitorApi::GetMonitorInfoA(DisplayHandle display, MonitorInfo& info) {
    callTime_ = clock_.Now();
    const std::ptrdiff_t index = DisplayIndex(display);
    if (index >= 0) {
        const FleetDisplay& d = fleet_.displays[static_cast<std::size_t>(index)];
        info.monitor = d.rect;
        info.work = d.rect;
        info.flags = index == 0 ? win::kMonitorInfoFPrimary : 0;
        info.deviceName = d.device.substr(0, kDeviceNameCapacity);
    }
    return Log("GetMonitorInfoA", DisplayName(display), index >= 0);
}

DisplayHandle SimMonitorApi::MonitorFromPoint(Point point) {
    callTime_ = clock_.Now();
    DisplayHandle found = 0;
    for (std::size_t i = 0; i < fleet_.displays.size(); ++i) {
        const Rect& r = fleet_.displays[i].rect;
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) {
            found = DisplayHandleAt(i);
            break;
        }
    }
    Log("MonitorFromPoint", "x=" + std::to_string(point.x) + " y=" + std::to_string(point.y), found != 0);
    return found;
}

bool SimMonitorApi::GetNumberOfPhysicalMonitorsFromHMONITOR(DisplayHandle display, uint32_t& count) {
    callTime_ = clock_.Now();
    const std::ptrdiff_t index = DisplayIndex(display);
    if (index >= 0) count = static_cast<uint32_t>(fleet_.displays[static_cast<std::size_t>(index)].monitors.size());
    return Log("GetNumberOfPhysicalMonitorsFromHMONITOR", DisplayName(display), index >= 0);
}

bool SimMonitorApi::GetPhysicalMonitorsFromHMONITOR(DisplayHandle display, uint32_t count,
                                                     std::vector<PhysicalMonitor>& monitors) {
    callTime_ = clock_.Now();
    const std::ptrdiff_t index = DisplayIndex(display);
    bool ok = index >= 0;
    if (ok) {
        const auto d = static_cast<std::size_t>(index);
        const FleetDisplay& fleetDisplay = fleet_.displays[d];
        ok = fleetDisplay.physicalOk && count == fleetDisplay.monitors.size();
        if (ok) {
            std::size_t first = 0;
            for (std::size_t i = 0; i < d; ++i) first += fleet_.displays[i].monitors.size();
            monitors.clear();
            for (std::size_t m = 0; m < fleetDisplay.monitors.size(); ++m) {
                PhysicalMonitor physical;
                physical.handle = PhysicalHandleAt(first + m);
                physical.description = FleetTextToUtf16(fleetDisplay.monitors[m].description).substr(0, kDescriptionCapacity);
                ++openHandles_[physical.handle];
                monitors.push_back(std::move(physical));
            }
        }
    }
    return Log("GetPhysicalMonitorsFromHMONITOR", DisplayName(display) + " count=" + std::to_string(count), ok);
}

bool SimMonitorApi::DestroyPhysicalMonitors(const std::vector<PhysicalMonitor>& monitors) {
    callTime_ = clock_.Now();
    std::map<PhysicalHandle, std::size_t> closing;
    std::string arguments = "mons=";
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        ++closing[monitors[i].handle];
        const Target target = Resolve(monitors[i].handle);
        if (i) arguments += ',';
        arguments += target.name.substr(4);
    }
    bool ok = true;
    for (const auto& [handle, times] : closing) {
        const auto open = openHandles_.find(handle);
        if (open == openHandles_.end() || open->second < times) ok = false;
    }
    if (ok) {
        for (const auto& [handle, times] : closing) {
            auto open = openHandles_.find(handle);
            open->second -= times;
            if (open->second == 0) openHandles_.erase(open);
        }
    }
    return Log("DestroyPhysicalMonitors", arguments, ok);
}

bool SimMonitorApi::ReadRange(std::string_view call, PhysicalHandle handle,
                               const std::function<FleetRange*(FleetMonitor&)>& pick, const std::string& arguments,
                               uint32_t& min, uint32_t& current, uint32_t& max) {
    callTime_ = clock_.Now();
    const Target target = Resolve(handle);
    const FleetRange* range = BeginDdcCall(handle, target) ? pick(*target.monitor) : nullptr;
    if (range) {
        min = range->min;
        current = range->current;
        max = range->max;
    }
    return Log(call, target.name + arguments, range != nullptr);
}

bool SimMonitorApi::GetMonitorBrightness(PhysicalHandle handle, uint32_t& min, uint32_t& current, uint32_t& max) {
    return ReadRange("GetMonitorBrightness", handle, [](FleetMonitor& m) { return &m.brightness; }, "", min, current, max);
}

bool SimMonitorApi::SetMonitorBrightness(PhysicalHandle handle, uint32_t value) {
    callTime_ = clock_.Now();
    const Target target = Resolve(handle);
    const bool ok = BeginDdcCall(handle, target) && SetRange(target.monitor->brightness, value);
    return Log("SetMonitorBrightness", target.name + Value(value), ok);
}

bool SimMonitorApi::GetMonitorContrast(PhysicalHandle handle, uint32_t& min, uint32_t& current, uint32_t& max) {
    return ReadRange("GetMonitorContrast", handle, [](FleetMonitor& m) { return &m.contrast; }, "", min, current, max);
}

bool SimMonitorApi::SetMonitorContrast(PhysicalHandle handle, uint32_t value) {
    callTime_ = clock_.Now();
    const Target target = Resolve(handle);
    const bool ok = BeginDdcCall(handle, target) && SetRange(target.monitor->contrast, value);
    return Log("SetMonitorContrast", target.name + Value(value), ok);
}

bool SimMonitorApi::GetMonitorRedGreenOrBlueGain(PhysicalHandle handle, GainType gain, uint32_t& min,
                                                  uint32_t& current, uint32_t& max) {
    return ReadRange("GetMonitorRedGreenOrBlueGain", handle, [&](FleetMonitor& m) { return GainRange(m, gain); },
                     std::string(" gain=") + GainName(gain), min, current, max);
}

bool SimMonitorApi::SetMonitorRedGreenOrBlueGain(PhysicalHandle handle, GainType gain, uint32_t value) {
    callTime_ = clock_.Now();
    const Target target = Resolve(handle);
    FleetRange* range = BeginDdcCall(handle, target) ? GainRange(*target.monitor, gain) : nullptr;
    const bool ok = range != nullptr && SetRange(*range, value);
    return Log("SetMonitorRedGreenOrBlueGain", target.name + " gain=" + GainName(gain) + Value(value), ok);
}

bool SimMonitorApi::GetVCPFeatureAndVCPFeatureReply(PhysicalHandle handle, uint8_t code, VcpReply& reply) {
    callTime_ = clock_.Now();
    const Target target = Resolve(handle);
    bool ok = BeginDdcCall(handle, target);
    if (ok) {
        FleetMonitor& m = *target.monitor;
        const FleetRange* range = nullptr;
        switch (code) {
            case 0x10: range = &m.brightness; break;
            case 0x12: range = &m.contrast; break;
            case 0x16: range = &m.red; break;
            case 0x18: range = &m.green; break;
            case 0x1A: range = &m.blue; break;
            case 0x14: reply = {m.preset, kVcpListMaximum}; break;
            case 0x60: reply = {m.input, kVcpListMaximum}; break;
            default: ok = false; break;
        }
        if (range) reply = {range->current, range->max};
    }
    return Log("GetVCPFeatureAndVCPFeatureReply", target.name + " code=" + Hex2(code), ok);
}

bool SimMonitorApi::SetVCPFeature(PhysicalHandle handle, uint8_t code, uint32_t value) {
    callTime_ = clock_.Now();
    const Target target = Resolve(handle);
    bool ok = BeginDdcCall(handle, target);
    if (ok) {
        FleetMonitor& m = *target.monitor;
        switch (code) {
            case 0x10: ok = SetRange(m.brightness, value); break;
            case 0x12: ok = SetRange(m.contrast, value); break;
            case 0x16: ok = SetRange(m.red, value); break;
            case 0x18: ok = SetRange(m.green, value); break;
            case 0x1A: ok = SetRange(m.blue, value); break;
            case 0x14: m.preset = value; break;
            case 0x60: m.input = value; break;
            case 0x04:
                // MCCS: any non-zero value starts the restore; zero is a reserved value.
                ok = value != 0;
                if (ok) RestoreFactoryDefaults(handle, m);
                break;
            default: ok = false; break;
        }
    }
    return Log("SetVCPFeature", target.name + " code=" + Hex2(code) + Value(value), ok);
}

bool SimMonitorApi::GetCapabilitiesStringLength(PhysicalHandle handle, uint32_t& length) {
    callTime_ = clock_.Now();
    const Target target = Resolve(handle);
    const bool ok = BeginDdcCall(handle, target) && !target.monitor->capabilities.empty();
    if (ok) {
        const uint32_t own = static_cast<uint32_t>(target.monitor->capabilities.size() + 1);
        length = target.monitor->capabilitiesLength != 0 ? target.monitor->capabilitiesLength : own;
    }
    return Log("GetCapabilitiesStringLength", target.name, ok);
}

bool SimMonitorApi::CapabilitiesRequestAndCapabilitiesReply(PhysicalHandle handle, uint32_t length,
                                                             std::string& text) {
    callTime_ = clock_.Now();
    const Target target = Resolve(handle);
    const bool ok = BeginDdcCall(handle, target) && !target.monitor->capabilities.empty() &&
                    length >= target.monitor->capabilities.size() + 1;
    if (ok) text = target.monitor->capabilities;
    return Log("CapabilitiesRequestAndCapabilitiesReply", target.name + " length=" + std::to_string(length), ok);
}

bool SimMonitorApi::SaveCurrentMonitorSettings(PhysicalHandle handle) {
    callTime_ = clock_.Now();
    const Target target = Resolve(handle);
    const bool ok = BeginDdcCall(handle, target);
    return Log("SaveCurrentMonitorSettings", target.name, ok);
}

}  // namespace lv::sim
