// The WMI classes of ROOT\WMI that the program uses, over a simulated fleet.
//
// Behaviour the program relies on, and the choices made where machines differ:
// - WmiMonitorID and WmiMonitorDescriptorMethods have one object per display with a
//   non-empty `path`, in fleet order. InstanceName is derived from the path the way
//   Windows names monitor instances (InstanceNameFromDevicePath).
// - SerialNumberID holds the `serial` characters followed by zeros up to 16 elements,
//   as Windows pads it (absent when `serial` is empty); YearOfManufacture is `year`
//   (absent when 0).
// - GetRawEdidBlock answers the `edid` bytes, whatever their number, of the first
//   display whose instance name matches; it fails when that display has none.
// - WmiMonitorBrightness(Methods): one object when the fleet has a [panel], named like
//   the WmiMonitorID object of the panel's `display` (no InstanceName when that display
//   does not exist or has no path). Without a panel the brightness requests fail, as
//   Windows answers "not supported" for the class on machines without a brightness
//   provider; SetEmptyWithoutPanel(true) makes the query succeed with no objects
//   instead, as Wine does (SetBrightness still fails: no object takes the level).
//   `wmi = fail` makes every panel request fail, the subscription included. Levels that
//   are no array of 1..101 bytes, and a current level above 255, are reported absent,
//   as the Windows implementation reports them.
// - SetBrightness stores any level up to 255 as the panel's `current` verbatim (whether
//   or not it is one of the levels), so tests read back exactly what was sent; a larger
//   level fails, as the byte-sized Brightness parameter cannot take it. It fires no
//   event: tests fire one when they want the system's answer.
// - One subscription at a time: a second SubscribeBrightnessEvents without a cancel in
//   between fails and keeps the first handler.
// - A failing request leaves its outputs empty; no state changes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/fleet.h"
#include "platform/wmi_api.h"

namespace lv::sim {

// Windows pads SerialNumberID with zeros to this many elements.
inline constexpr std::size_t kSerialNumberIdLength = 16;

// "\\?\DISPLAY#DEL4220#5&1a2b3c4d&0&UID4352#{e6f07b5f-...}" becomes
// "DISPLAY\DEL4220\5&1a2b3c4d&0&UID4352_0": the prefix and the interface class go, '#'
// separates like '\', and "_0" numbers the first (only) monitor of the device.
std::u16string InstanceNameFromDevicePath(std::string_view path);

enum class WmiRequest { MonitorIds, RawEdidBlock, Brightness, SetBrightness, Subscribe };

class SimWmiApi : public lv::WmiApi {
public:
    // The fleet stays owned by the caller; SetBrightness changes its panel in place.
    explicit SimWmiApi(Fleet& fleet) : fleet_(fleet) {}

    bool QueryMonitorIds(std::vector<WmiMonitorIdRecord>& records) override;
    bool GetRawEdidBlock(const InstanceMatch& match, std::vector<uint8_t>& block) override;
    bool QueryBrightness(std::vector<WmiBrightnessRecord>& records) override;
    bool SetBrightness(uint32_t level) override;
    bool SubscribeBrightnessEvents(BrightnessHandler onBrightness) override;
    void CancelBrightnessEvents() override;

    // Every request fails: no WMI on this machine.
    void SetFailing(bool failing) { failing_.fill(failing); }
    void SetFailing(WmiRequest request, bool failing) { failing_[static_cast<std::size_t>(request)] = failing; }

    // Without a [panel], QueryBrightness succeeds with no records rather than failing.
    void SetEmptyWithoutPanel(bool empty) { emptyWithoutPanel_ = empty; }

    // The system reports a new panel brightness: calls the subscribed handler, if any,
    // and answers whether one ran. The fleet is not changed.
    bool FireBrightnessEvent(uint8_t brightness);
    bool Subscribed() const { return static_cast<bool>(handler_); }

    // One line per request: "QueryMonitorIds -> ok", "GetRawEdidBlock instance=<name> ->
    // fail" (instance=none when nothing matched), "SetBrightness level=40 -> ok",
    // "SubscribeBrightnessEvents -> ok", "CancelBrightnessEvents -> ok".
    const std::vector<std::string>& RequestLog() const { return log_; }
    std::size_t RequestCount() const { return log_.size(); }
    std::size_t RequestCount(std::string_view request) const;
    void ClearRequestLog() { log_.clear(); }

    Fleet& fleet() { return fleet_; }
    const Fleet& fleet() const { return fleet_; }

private:
    bool Fails(WmiRequest request) const { return failing_[static_cast<std::size_t>(request)]; }
    // A panel that answers WMI, or null.
    FleetPanel* Panel();
    bool Log(std::string line, bool ok);

    Fleet& fleet_;
    std::array<bool, 5> failing_{};
    bool emptyWithoutPanel_ = false;
    BrightnessHandler handler_;
    std::vector<std::string> log_;
};

}  // namespace lv::sim
