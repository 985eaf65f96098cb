// The display topology of a simulated fleet, as QueryDisplayConfig reports it.
//
// - One active path per display, in fleet order: adapter kSimAdapterId, source id = the
//   display's index, target id = index + kSimTargetIdBase. The source name is the
//   display's `device`; the target name carries `friendly`, `path` and `technology`.
//   Names are cut to the fixed arrays Windows returns them in (31, 63 and 127
//   characters).
// - The fleet is read at every call, so a test that changes it between two calls
//   changes the topology as a monitor plugged in between them would.
// - The buffer sizes are one path and two modes (source and target) per display. A
//   query with smaller buffers fails, as ERROR_INSUFFICIENT_BUFFER does.
// - A path that names no display (unknown adapter or id) gets no device names.
// - Each call can be made to fail; a failing call leaves its outputs alone.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/display_config_api.h"
#include "platform/sim/fleet.h"

namespace lv::sim {

// Both halves non-zero, so a lost half of the LUID shows.
inline constexpr uint64_t kSimAdapterId = 0x0000'0001'0000'C0DEull;
inline constexpr uint32_t kSimTargetIdBase = 0x100;

// Fleet files are UTF-8; a malformed sequence becomes U+FFFD.


enum class DisplayConfigCall { BufferSizes, Query, SourceName, TargetName };

class SimDisplayConfigApi : public lv::DisplayConfigApi {
public:
    explicit SimDisplayConfigApi(const Fleet& fleet) : fleet_(fleet) {}

    bool GetDisplayConfigBufferSizes(uint32_t& pathCount, uint32_t& modeCount) override;
    bool QueryDisplayConfig(uint32_t pathCount, uint32_t modeCount, std::vector<DisplayPath>& paths) override;
    bool GetSourceDeviceName(const DisplayPath& path, std::u16string& gdiDeviceName) override;
    bool GetTargetDeviceName(const DisplayPath& path, TargetDeviceName& name) override;

    // Every call fails: the display configuration cannot be queried.
    void SetFailing(bool failing) { failing_.fill(failing); }
    void SetFailing(DisplayConfigCall call, bool failing) { failing_[static_cast<std::size_t>(call)] = failing; }

    static DisplayPath PathOf(std::size_t display) {
        return DisplayPath{kSimAdapterId, static_cast<uint32_t>(display),
                           static_cast<uint32_t>(display) + kSimTargetIdBase, kSimAdapterId};
    }

    // One line per call: "<CallName> <arguments> -> ok|fail".
    const std::vector<std::string>& CallLog() const { return log_; }
    std::size_t CallCount() const { return log_.size(); }
    void ClearCallLog() { log_.clear(); }

private:
    bool Fails(DisplayConfigCall call) const { return failing_[static_cast<std::size_t>(call)]; }
    const FleetDisplay* DisplayOf(const DisplayPath& path, bool target) const;
    bool Log(std::string line, bool ok);

    const Fleet& fleet_;
    std::array<bool, 4> failing_{};
    std::vector<std::string> log_;
};

}  // namespace lv::sim
