#include <algorithm>
#include <iterator>

#include "platform/win32/lowlevel_monitor.h"
#include "platform/win32/win32_platform.h"

namespace lv {

namespace {

HMONITOR ToDisplay(DisplayHandle display) { return reinterpret_cast<HMONITOR>(display); }
HANDLE ToPhysical(PhysicalHandle monitor) { return reinterpret_cast<HANDLE>(monitor); }

Rect FromRect(const RECT& rect) {
    return Rect{static_cast<int32_t>(rect.left), static_cast<int32_t>(rect.top), static_cast<int32_t>(rect.right),
                static_cast<int32_t>(rect.bottom)};
}

// The three gain types keep their values across the seam; the switch keeps that honest.
MC_GAIN_TYPE ToGainType(GainType gain) {
    switch (gain) {
        case GainType::Red: return MC_RED_GAIN;
        case GainType::Green: return MC_GREEN_GAIN;
        case GainType::Blue: return MC_BLUE_GAIN;
    }
    return static_cast<MC_GAIN_TYPE>(gain);
}

// Stops the enumeration on a false answer or an exception: unwinding through the
// system's frames is undefined, so nothing may escape this function.
BOOL CALLBACK EnumDisplayTrampoline(HMONITOR display, HDC, LPRECT rect, LPARAM data) {
    const auto& callback = *reinterpret_cast<const MonitorApi::DisplayCallback*>(data);
    try {
        return callback(reinterpret_cast<DisplayHandle>(display), rect ? FromRect(*rect) : Rect{}) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

bool Win32MonitorApi::EnumDisplayMonitors(const DisplayCallback& callback) {
    if (!callback) return false;
    return ::EnumDisplayMonitors(nullptr, nullptr, EnumDisplayTrampoline, reinterpret_cast<LPARAM>(&callback)) != 0;
}

bool Win32MonitorApi::GetMonitorInfoA(DisplayHandle display, MonitorInfo& info) {
    MONITORINFOEXA raw{};
    raw.cbSize = sizeof(raw);
    if (!::GetMonitorInfoA(ToDisplay(display), &raw)) return false;
    info.monitor = FromRect(raw.rcMonitor);
    info.work = FromRect(raw.rcWork);
    info.flags = raw.dwFlags;
    info.deviceName.assign(std::begin(raw.szDevice), std::find(std::begin(raw.szDevice), std::end(raw.szDevice), '\0'));
    return true;
}

DisplayHandle Win32MonitorApi::MonitorFromPoint(Point point) {
    const POINT raw{point.x, point.y};
    return reinterpret_cast<DisplayHandle>(::MonitorFromPoint(raw, MONITOR_DEFAULTTONULL));
}

bool Win32MonitorApi::GetNumberOfPhysicalMonitorsFromHMONITOR(DisplayHandle display, uint32_t& count) {
    DWORD raw = 0;
    if (!::GetNumberOfPhysicalMonitorsFromHMONITOR(ToDisplay(display), &raw)) return false;
    count = raw;
    return true;
}

bool Win32MonitorApi::GetPhysicalMonitorsFromHMONITOR(DisplayHandle display, uint32_t count,
                                                      std::vector<PhysicalMonitor>& monitors) {
    monitors.clear();
    std::vector<PHYSICAL_MONITOR> raw(count);
    if (!::GetPhysicalMonitorsFromHMONITOR(ToDisplay(display), count, raw.data())) return false;
    monitors.reserve(raw.size());
    for (const PHYSICAL_MONITOR& entry : raw) {
        PhysicalMonitor monitor;
        monitor.handle = reinterpret_cast<PhysicalHandle>(entry.hPhysicalMonitor);
        const auto& text = entry.szPhysicalMonitorDescription;
        monitor.description.assign(std::begin(text), std::find(std::begin(text), std::end(text), WCHAR{0}));
        monitors.push_back(std::move(monitor));
    }
    return true;
}

bool Win32MonitorApi::DestroyPhysicalMonitors(const std::vector<PhysicalMonitor>& monitors) {
    std::vector<PHYSICAL_MONITOR> raw(monitors.size());
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        raw[i].hPhysicalMonitor = ToPhysical(monitors[i].handle);
        // The description is not read back; it only has to be a terminated string.
        raw[i].szPhysicalMonitorDescription[0] = 0;
    }
    return ::DestroyPhysicalMonitors(static_cast<DWORD>(raw.size()), raw.data()) != 0;
}

bool Win32MonitorApi::GetMonitorBrightness(PhysicalHandle monitor, uint32_t& min, uint32_t& current,
                                           uint32_t& max) {
    DWORD rawMin = 0, rawCurrent = 0, rawMax = 0;
    if (!::GetMonitorBrightness(ToPhysical(monitor), &rawMin, &rawCurrent, &rawMax)) return false;
    min = rawMin;
    current = rawCurrent;
    max = rawMax;
    return true;
}

bool Win32MonitorApi::SetMonitorBrightness(PhysicalHandle monitor, uint32_t value) {
    return ::SetMonitorBrightness(ToPhysical(monitor), value) != 0;
}

bool Win32MonitorApi::GetMonitorContrast(PhysicalHandle monitor, uint32_t& min, uint32_t& current, uint32_t& max) {
    DWORD rawMin = 0, rawCurrent = 0, rawMax = 0;
    if (!::GetMonitorContrast(ToPhysical(monitor), &rawMin, &rawCurrent, &rawMax)) return false;
    min = rawMin;
    current = rawCurrent;
    max = rawMax;
    return true;
}

bool Win32MonitorApi::SetMonitorContrast(PhysicalHandle monitor, uint32_t value) {
    return ::SetMonitorContrast(ToPhysical(monitor), value) != 0;
}

bool Win32MonitorApi::GetMonitorRedGreenOrBlueGain(PhysicalHandle monitor, GainType gain, uint32_t& min,
                                                   uint32_t& current, uint32_t& max) {
    DWORD rawMin = 0, rawCurrent = 0, rawMax = 0;
    if (!::GetMonitorRedGreenOrBlueGain(ToPhysical(monitor), ToGainType(gain), &rawMin, &rawCurrent, &rawMax))
        return false;
    min = rawMin;
    current = rawCurrent;
    max = rawMax;
    return true;
}

bool Win32MonitorApi::SetMonitorRedGreenOrBlueGain(PhysicalHandle monitor, GainType gain, uint32_t value) {
    return ::SetMonitorRedGreenOrBlueGain(ToPhysical(monitor), ToGainType(gain), value) != 0;
}

bool Win32MonitorApi::GetVCPFeatureAndVCPFeatureReply(PhysicalHandle monitor, uint8_t code, VcpReply& reply) {
    DWORD current = 0, maximum = 0;
    if (!::GetVCPFeatureAndVCPFeatureReply(ToPhysical(monitor), code, nullptr, &current, &maximum)) return false;
    reply.current = current;
    reply.maximum = maximum;
    return true;
}

bool Win32MonitorApi::SetVCPFeature(PhysicalHandle monitor, uint8_t code, uint32_t value) {
    return ::SetVCPFeature(ToPhysical(monitor), code, value) != 0;
}

bool Win32MonitorApi::GetCapabilitiesStringLength(PhysicalHandle monitor, uint32_t& length) {
    DWORD raw = 0;
    if (!::GetCapabilitiesStringLength(ToPhysical(monitor), &raw)) return false;
    length = raw;
    return true;
}

bool Win32MonitorApi::CapabilitiesRequestAndCapabilitiesReply(PhysicalHandle monitor, uint32_t length,
                                                              std::string& text) {
    text.clear();
    // A monitor's reply need not be terminated within the buffer, so the copy is
    // bounded by the buffer as well as by the first terminator.
    std::vector<char> buffer(length);
    if (!::CapabilitiesRequestAndCapabilitiesReply(ToPhysical(monitor), buffer.data(), length)) return false;
    text.assign(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
    return true;
}

bool Win32MonitorApi::SaveCurrentMonitorSettings(PhysicalHandle monitor) {
    return ::SaveCurrentMonitorSettings(ToPhysical(monitor)) != 0;
}

}  // namespace lv
