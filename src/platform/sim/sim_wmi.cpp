#include "platform/sim/sim_wmi.h"

#include "platform/sim/sim_display_config.h"

namespace lv::sim {

namespace {

constexpr std::size_t kMaxLevels = 101;

// Instance names are ASCII in practice; anything else is shown as '?' in the log.
std::string LogText(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace

std::u16string InstanceNameFromDevicePath(std::string_view path) {
    constexpr std::string_view kPrefix = "\\\\?\\";
    if (path.starts_with(kPrefix)) path.remove_prefix(kPrefix.size());
    const std::size_t last = path.rfind('#');
    if (last != std::string_view::npos && path.substr(last + 1).starts_with('{')) path = path.substr(0, last);
    std::string name(path);
    for (char& c : name) {
        if (c == '#') c = '\\';
    }
    return FleetTextToUtf16(name + "_0");
}

bool SimWmiApi::Log(std::string line, bool ok) {
    log_.push_back(std::move(line) + (ok ? " -> ok" : " -> fail"));
    return ok;
}

std::size_t SimWmiApi::RequestCount(std::string_view request) const {
    std::size_t count = 0;
    for (const std::string& line : log_) {
        if (line.starts_with(request) && line.size() > request.size() && line[request.size()] == ' ') ++count;
    }
    return count;
}

FleetPanel* SimWmiApi::Panel() {
    if (!fleet_.panel || !fleet_.panel->wmiOk) return nullptr;
    return &*fleet_.panel;
}

bool SimWmiApi::QueryMonitorIds(std::vector<WmiMonitorIdRecord>& records) {
    records.clear();
    if (Fails(WmiRequest::MonitorIds)) return Log("QueryMonitorIds", false);
    for (const FleetDisplay& display : fleet_.displays) {
        if (display.path.empty()) continue;
        WmiMonitorIdRecord record;
        record.instanceName = InstanceNameFromDevicePath(display.path);
        if (!display.serial.empty()) {
            std::vector<uint32_t> serial;
            for (const char c : display.serial) serial.push_back(static_cast<unsigned char>(c));
            if (serial.size() < kSerialNumberIdLength) serial.resize(kSerialNumberIdLength, 0);
            record.serialNumberId = std::move(serial);
        }
        if (display.year != 0) record.yearOfManufacture = display.year;
        records.push_back(std::move(record));
    }
    return Log("QueryMonitorIds", true);
}

bool SimWmiApi::GetRawEdidBlock(const InstanceMatch& match, std::vector<uint8_t>& block) {
    block.clear();
    if (Fails(WmiRequest::RawEdidBlock) || !match) return Log("GetRawEdidBlock instance=none", false);
    for (const FleetDisplay& display : fleet_.displays) {
        if (display.path.empty()) continue;
        const std::u16string name = InstanceNameFromDevicePath(display.path);
        if (!match(name)) continue;
        const std::string call = "GetRawEdidBlock instance=" + LogText(name);
        if (display.edid.empty()) return Log(call, false);
        block = display.edid;
        return Log(call, true);
    }
    return Log("GetRawEdidBlock instance=none", false);
}

bool SimWmiApi::QueryBrightness(std::vector<WmiBrightnessRecord>& records) {
    records.clear();
    const FleetPanel* panel = Panel();
    if (Fails(WmiRequest::Brightness)) return Log("QueryBrightness", false);
    if (!panel) return Log("QueryBrightness", emptyWithoutPanel_ && !fleet_.panel);
    WmiBrightnessRecord record;
    if (panel->display >= 1 && panel->display <= fleet_.displays.size()) {
        const FleetDisplay& display = fleet_.displays[panel->display - 1];
        if (!display.path.empty()) record.instanceName = InstanceNameFromDevicePath(display.path);
    }
    bool bytes = !panel->levels.empty() && panel->levels.size() <= kMaxLevels;
    for (const uint32_t level : panel->levels) bytes = bytes && level <= 0xFF;
    if (bytes) record.levels = std::vector<uint8_t>(panel->levels.begin(), panel->levels.end());
    if (panel->current <= 0xFF) record.currentBrightness = static_cast<uint8_t>(panel->current);
    records.push_back(std::move(record));
    return Log("QueryBrightness", true);
}

bool SimWmiApi::SetBrightness(uint32_t level) {
    const std::string call = "SetBrightness level=" + std::to_string(level);
    FleetPanel* panel = Panel();
    if (Fails(WmiRequest::SetBrightness) || !panel || level > 0xFF) return Log(call, false);
    panel->current = level;
    return Log(call, true);
}

bool SimWmiApi::SubscribeBrightnessEvents(BrightnessHandler onBrightness) {
    const bool refused = Fails(WmiRequest::Subscribe) || (fleet_.panel && !fleet_.panel->wmiOk);
    if (refused || handler_ || !onBrightness) return Log("SubscribeBrightnessEvents", false);
    handler_ = std::move(onBrightness);
    return Log("SubscribeBrightnessEvents", true);
}

void SimWmiApi::CancelBrightnessEvents() {
    handler_ = nullptr;
    Log("CancelBrightnessEvents", true);
}

bool SimWmiApi::FireBrightnessEvent(uint8_t brightness) {
    if (!handler_) return false;
    // A copy, so the handler may cancel the subscription it runs in.
    const BrightnessHandler handler = handler_;
    handler(brightness);
    return true;
}

}  // namespace lv::sim
