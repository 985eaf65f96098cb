// Requests to the management interface (WMI, namespace ROOT\WMI). Each request is made
// afresh: COM initialised for the call, locator, connection, proxy security, one
// forward-only query walked object by object, everything released. A request that fails
// anywhere answers false and leaves its outputs empty; no request retries by itself. A
// query may also succeed with no objects at all (Wine does): callers treat that as no
// answer.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// One WmiMonitorID object. A property of an unexpected type is reported as absent.
struct WmiMonitorIdRecord {
    std::optional<std::u16string> instanceName;          // InstanceName, when it is a string
    std::optional<std::vector<uint32_t>> serialNumberId;  // SerialNumberID elements
    std::optional<uint32_t> yearOfManufacture;            // YearOfManufacture
};

// One WmiMonitorBrightness object.
struct WmiBrightnessRecord {
    std::optional<std::u16string> instanceName;  // InstanceName: the monitor the panel is
    std::optional<std::vector<uint8_t>> levels;  // Level, when it is an array of 1..101 unsigned bytes
    std::optional<uint8_t> currentBrightness;    // CurrentBrightness, when it is one unsigned byte
};

class WmiApi {
public:
    virtual ~WmiApi() = default;

    // "SELECT * FROM WmiMonitorID": every object, in the order WMI returns them.
    virtual bool QueryMonitorIds(std::vector<WmiMonitorIdRecord>& records) = 0;

    // "SELECT * FROM WmiMonitorDescriptorMethods": on the first object whose InstanceName
    // satisfies `match`, WmiGetMonitorRawEEdidV1Block with BlockId "0". `block` receives
    // BlockContent when it is an array of bytes. False when no object matched or the call
    // failed.
    using InstanceMatch = std::function<bool(std::u16string_view instanceName)>;
    virtual bool GetRawEdidBlock(const InstanceMatch& match, std::vector<uint8_t>& block) = 0;

    // "SELECT * FROM WmiMonitorBrightness": every object, in order.
    virtual bool QueryBrightness(std::vector<WmiBrightnessRecord>& records) = 0;

    // "SELECT * FROM WmiMonitorBrightnessMethods": WmiSetBrightness with Timeout "0" and
    // Brightness `level` (as decimal text) on each object's __PATH. True when at least one
    // object accepted the level.
    virtual bool SetBrightness(uint32_t level) = 0;

    // "SELECT * FROM WmiMonitorBrightnessEvent", asynchronous: `onBrightness` runs on a
    // platform thread with each event's Brightness. One subscription at a time: a second
    // one fails and keeps the first. Subscribe and cancel on the same thread.
    using BrightnessHandler = std::function<void(uint8_t brightness)>;
    virtual bool SubscribeBrightnessEvents(BrightnessHandler onBrightness) = 0;
    virtual void CancelBrightnessEvents() = 0;
};

}  // namespace lv
