// A simulated monitor fleet: the hardware the unit tests, the host tool and the simulated
// dxva2.dll pretend to drive, read from and written back to one small text format
// (examples/*.fleet describe it). Values are kept exactly as the file states them, even
// when real hardware would never report them (min > max, current outside the range),
// because such monitors exist and the program must survive them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace lv::sim {

// A raw range as the monitor reports it: minimum, current, maximum.
struct FleetRange {
    uint32_t min = 0;
    uint32_t current = 50;
    uint32_t max = 100;
    bool operator==(const FleetRange&) const = default;
};

enum class DdcMode {
    Ok,     // every DDC/CI call succeeds
    Dead,   // every DDC/CI call fails
    Flaky,  // each call fails `flakyFailures` times, then succeeds once, and again
};

struct FleetMonitor {
    std::string description = "Generic PnP Monitor";
    FleetRange brightness;
    FleetRange contrast;
    FleetRange red;
    FleetRange green;
    FleetRange blue;
    std::string capabilities;  // empty: the monitor answers no capabilities request
    // The length GetCapabilitiesStringLength reports; 0: the string's own, terminator
    // included. A driver may report any number.
    uint32_t capabilitiesLength = 0;
    uint32_t preset = 0;       // current VCP 0x14 value
    uint32_t input = 0;        // current VCP 0x60 value
    DdcMode ddc = DdcMode::Ok;
    uint32_t flakyFailures = 0;
    bool operator==(const FleetMonitor&) const = default;
};

struct FleetDisplay {
    std::string device;  // GetMonitorInfoA device name, "\\.\DISPLAY1"
    Rect rect;
    std::string friendly;      // display-configuration target friendly name
    std::string path;          // display-configuration target device path
    uint32_t technology = 10;  // display-configuration output technology
    std::string serial;        // WmiMonitorID SerialNumberID; empty: none
    uint32_t year = 0;         // WmiMonitorID YearOfManufacture; 0: none
    std::vector<uint8_t> edid;  // raw EDID base block; empty: none
    bool physicalOk = true;     // false: the physical-monitor query of this display fails
    std::vector<FleetMonitor> monitors;
    bool operator==(const FleetDisplay&) const = default;
};

// A laptop panel reached through WMI (WmiMonitorBrightness and its methods).
struct FleetPanel {
    std::vector<uint32_t> levels{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    uint32_t current = 50;
    bool wmiOk = true;
    // The display (1-based) whose monitor the panel is: its WMI objects carry that display's
    // instance name. 0, or a display without a `path`: they carry none.
    uint32_t display = 1;
    bool operator==(const FleetPanel&) const = default;
};

struct Fleet {
    std::vector<FleetDisplay> displays;  // in enumeration order
    std::optional<FleetPanel> panel;
    bool operator==(const Fleet&) const = default;
};

struct FleetError {
    int line = 0;  // 1-based; 0 when the error concerns no line (a file that cannot be opened)
    std::string message;
};

struct FleetParseResult {
    bool ok = false;
    Fleet fleet;       // meaningful when ok
    FleetError error;  // meaningful when not ok
};

// Parses the fleet format. Never throws; the first error ends the parse.
FleetParseResult ParseFleet(std::string_view text);

// Writes every field, so ParseFleet(WriteFleet(f)) == f for every fleet ParseFleet can
// produce. Text fields must be writable as the parser reads them: no line break, no blank
// at either end, and no '#' at the start or after a blank (it would start a comment).
std::string WriteFleet(const Fleet& fleet);

struct FleetFileResult {
    bool ok = false;
    Fleet fleet;
    std::string error;  // "FILE:LINE: message", or "FILE: message" when it cannot be read
};

FleetFileResult ReadFleetFile(const std::string& path);
// Returns an empty string on success, else "FILE: message".
std::string WriteFleetFile(const std::string& path, const Fleet& fleet);

// Physical monitors are numbered across all displays in enumeration order, the way the
// program counts them.
std::size_t MonitorCount(const Fleet& fleet);
FleetMonitor* MonitorAt(Fleet& fleet, std::size_t index);
const FleetMonitor* MonitorAt(const Fleet& fleet, std::size_t index);

// Text of a fleet file (UTF-8) as the system hands it over (UTF-16).
std::u16string FleetTextToUtf16(std::string_view text);

}  // namespace lv::sim
