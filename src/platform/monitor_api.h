// The display enumeration and Monitor Configuration calls the monitor logic relies on.
// One method per Windows call, with the same success/failure contract: the retries,
// pauses and counting stay in the core, so an implementation stays dumb.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace lv {

struct PhysicalMonitor {
    PhysicalHandle handle = 0;
    std::u16string description;  // szPhysicalMonitorDescription, at most 127 UTF-16 units
};

struct MonitorInfo {
    Rect monitor;
    Rect work;
    uint32_t flags = 0;
    std::string deviceName;  // szDevice, for example "\\.\DISPLAY1" (at most 31 characters)
};

// Gain types of GetMonitorRedGreenOrBlueGain / SetMonitorRedGreenOrBlueGain.
enum class GainType : int { Red = 0, Green = 1, Blue = 2 };

struct VcpReply {
    uint32_t current = 0;
    uint32_t maximum = 0;
};

class MonitorApi {
public:
    virtual ~MonitorApi() = default;

    // EnumDisplayMonitors(NULL, NULL, ...) over the whole desktop. The callback returns
    // false to stop the enumeration. The result is the call's own success.
    using DisplayCallback = std::function<bool(DisplayHandle, const Rect&)>;
    virtual bool EnumDisplayMonitors(const DisplayCallback& callback) = 0;
    virtual bool GetMonitorInfoA(DisplayHandle display, MonitorInfo& info) = 0;
    // MONITOR_DEFAULTTONULL: 0 when no display monitor contains the point.
    virtual DisplayHandle MonitorFromPoint(Point point) = 0;

    virtual bool GetNumberOfPhysicalMonitorsFromHMONITOR(DisplayHandle display, uint32_t& count) = 0;
    virtual bool GetPhysicalMonitorsFromHMONITOR(DisplayHandle display, uint32_t count,
                                                 std::vector<PhysicalMonitor>& monitors) = 0;
    virtual bool DestroyPhysicalMonitors(const std::vector<PhysicalMonitor>& monitors) = 0;

    virtual bool GetMonitorBrightness(PhysicalHandle monitor, uint32_t& min, uint32_t& current, uint32_t& max) = 0;
    virtual bool SetMonitorBrightness(PhysicalHandle monitor, uint32_t value) = 0;
    virtual bool GetMonitorContrast(PhysicalHandle monitor, uint32_t& min, uint32_t& current, uint32_t& max) = 0;
    virtual bool SetMonitorContrast(PhysicalHandle monitor, uint32_t value) = 0;
    virtual bool GetMonitorRedGreenOrBlueGain(PhysicalHandle monitor, GainType gain, uint32_t& min,
                                              uint32_t& current, uint32_t& max) = 0;
    virtual bool SetMonitorRedGreenOrBlueGain(PhysicalHandle monitor, GainType gain, uint32_t value) = 0;
    virtual bool GetVCPFeatureAndVCPFeatureReply(PhysicalHandle monitor, uint8_t code, VcpReply& reply) = 0;
    virtual bool SetVCPFeature(PhysicalHandle monitor, uint8_t code, uint32_t value) = 0;
    virtual bool GetCapabilitiesStringLength(PhysicalHandle monitor, uint32_t& length) = 0;
    // Fills `text` with at most `length` bytes of the capabilities string (terminator excluded).
    virtual bool CapabilitiesRequestAndCapabilitiesReply(PhysicalHandle monitor, uint32_t length,
                                                         std::string& text) = 0;
    virtual bool SaveCurrentMonitorSettings(PhysicalHandle monitor) = 0;
};

}  // namespace lv
