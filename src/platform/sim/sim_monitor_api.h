// The Monitor Configuration and display enumeration calls over a simulated fleet.
//
// Behaviour the program relies on, and the choices made where hardware varies:
// - Display d has the handle kDisplayHandleBase + d; the physical monitor with enumeration
//   index m (counted across all displays) has kPhysicalHandleBase + m. Both stay the same
//   across calls as long as the fleet keeps its shape.
// - GetPhysicalMonitorsFromHMONITOR opens the handles of its display; they stay open until
//   DestroyPhysicalMonitors. The count passed in must equal the display's monitor count.
//   DestroyPhysicalMonitors fails, closing nothing, when one of its handles is not open.
//   Every DDC/CI call on a handle that is not open fails without reaching the monitor.
// - `physical = fail`: the count query still succeeds; GetPhysicalMonitorsFromHMONITOR fails.
// - DDC/CI calls obey the monitor's `ddc` mode; a flaky monitor counts its own calls.
// - A set outside the raw [min, max] fails, as a monitor rejects it; reads report whatever
//   the fleet holds, also values outside the range.
// - SetVCPFeature(0x04, non-zero) restores the factory defaults: brightness, contrast,
//   the three gains and the preset return to their values when the simulated monitor was built (or
//   last captured); input, capabilities and the ranges stay.
// - VCP codes: 0x10/0x12 brightness/contrast and 0x16/0x18/0x1A the gains (same ranges),
//   0x14 preset and 0x60 input (any value is accepted; reply maximum kVcpListMaximum),
//   0x04 write-only. Every other code fails.
// - A monitor with empty capabilities fails the capabilities calls. The length counts the
//   terminator, as dxva2 does (`capabilitieslength` replaces it with whatever a driver may
//   report); a request for fewer bytes than the string and its terminator fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/monitor_api.h"
#include "platform/sim/fleet.h"
#include "platform/sim/sim_clock.h"

namespace lv::sim {

inline constexpr DisplayHandle kDisplayHandleBase = 0x10000;
inline constexpr PhysicalHandle kPhysicalHandleBase = 0x80000;
inline constexpr uint32_t kVcpListMaximum = 0xFF;

class SimMonitorApi : public lv::MonitorApi {
public:
    // The fleet and the clock stay owned by the caller; sets change the fleet in place.
    SimMonitorApi(Fleet& fleet, SimClock& clock);

    bool EnumDisplayMonitors(const DisplayCallback& callback) override;
    bool GetMonitorInfoA(DisplayHandle display, MonitorInfo& info) override;
    DisplayHandle MonitorFromPoint(Point point) override;

    bool GetNumberOfPhysicalMonitorsFromHMONITOR(DisplayHandle display, uint32_t& count) override;
    bool GetPhysicalMonitorsFromHMONITOR(DisplayHandle display, uint32_t count,
                                         std::vector<PhysicalMonitor>& monitors) override;
    bool DestroyPhysicalMonitors(const std::vector<PhysicalMonitor>& monitors) override;

    bool GetMonitorBrightness(PhysicalHandle monitor, uint32_t& min, uint32_t& current, uint32_t& max) override;
    bool SetMonitorBrightness(PhysicalHandle monitor, uint32_t value) override;
    bool GetMonitorContrast(PhysicalHandle monitor, uint32_t& min, uint32_t& current, uint32_t& max) override;
    bool SetMonitorContrast(PhysicalHandle monitor, uint32_t value) override;
    bool GetMonitorRedGreenOrBlueGain(PhysicalHandle monitor, GainType gain, uint32_t& min, uint32_t& current,
                                      uint32_t& max) override;
    bool SetMonitorRedGreenOrBlueGain(PhysicalHandle monitor, GainType gain, uint32_t value) override;
    bool GetVCPFeatureAndVCPFeatureReply(PhysicalHandle monitor, uint8_t code, VcpReply& reply) override;
    bool SetVCPFeature(PhysicalHandle monitor, uint8_t code, uint32_t value) override;
    bool GetCapabilitiesStringLength(PhysicalHandle monitor, uint32_t& length) override;
    bool CapabilitiesRequestAndCapabilitiesReply(PhysicalHandle monitor, uint32_t length, std::string& text) override;
    bool SaveCurrentMonitorSettings(PhysicalHandle monitor) override;

    Fleet& fleet() { return fleet_; }
    const Fleet& fleet() const { return fleet_; }

    static DisplayHandle DisplayHandleAt(std::size_t display) { return kDisplayHandleBase + display; }
    static PhysicalHandle PhysicalHandleAt(std::size_t monitor) { return kPhysicalHandleBase + monitor; }

    // Virtual time each DDC/CI call costs (default 0); it advances the clock, it is no pause.
    void SetDdcCallCost(uint32_t milliseconds) { ddcCallCost_ = milliseconds; }
    // Takes the fleet's current values as the ones a factory reset restores.
    void CaptureFactoryDefaults();

    // One line per call: "t=<ms> <CallName> <arguments> -> ok|fail", with the time at
    // which the call was made. Displays and monitors appear by index ("display=0",
    // "mon=2"); a handle that names nothing appears as "invalid:<handle>".
    const std::vector<std::string>& CallLog() const { return log_; }
    // Calls that reached a monitor over DDC/CI (not enumeration, not handle calls).
    std::size_t DdcCallCount() const { return ddcCalls_; }
    std::size_t CallCount(std::string_view callName) const;
    // DDC/CI calls refused because their handle was not open.
    std::size_t ClosedHandleCallCount() const { return closedHandleCalls_; }
    // Clears the log and the counters; open handles and flaky counters stay.
    void ClearCallLog();

    // Handles opened and not yet destroyed (each open counts once).
    std::size_t OpenHandleCount() const;

private:
    struct Target {
        FleetMonitor* monitor = nullptr;  // null: not a physical handle, or not open
        std::string name;                 // "mon=2" or "mon=invalid:123"
    };

    std::ptrdiff_t DisplayIndex(DisplayHandle display) const;
    std::string DisplayName(DisplayHandle display) const;
    Target Resolve(PhysicalHandle handle) const;
    // Logs the call; for a DDC/CI call also counts it, charges its cost and applies the
    // monitor's ddc mode. Returns whether the monitor answered.
    bool BeginDdcCall(PhysicalHandle handle, const Target& target);
    bool Log(std::string_view call, std::string_view arguments, bool ok);
    bool SetRange(FleetRange& range, uint32_t value);
    // A Get call of one of the monitor's ranges, logged as `call` with `arguments`.
    bool ReadRange(std::string_view call, PhysicalHandle handle, const std::function<FleetRange*(FleetMonitor&)>& pick,
                   const std::string& arguments, uint32_t& min, uint32_t& current, uint32_t& max);
    FleetRange* GainRange(FleetMonitor& monitor, GainType gain);
    void RestoreFactoryDefaults(PhysicalHandle handle, FleetMonitor& monitor);

    Fleet& fleet_;
    SimClock& clock_;
    uint32_t ddcCallCost_ = 0;
    uint64_t callTime_ = 0;  // when the call being logged was made, before its cost
    std::vector<std::string> log_;
    std::map<std::string, std::size_t, std::less<>> callCounts_;
    std::size_t ddcCalls_ = 0;
    std::size_t closedHandleCalls_ = 0;
    std::map<PhysicalHandle, std::size_t> openHandles_;
    std::map<PhysicalHandle, uint64_t> flakyCalls_;
    std::map<PhysicalHandle, FleetMonitor> factoryDefaults_;
};

}  // namespace lv::sim
