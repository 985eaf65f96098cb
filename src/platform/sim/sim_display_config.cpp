#include "platform/sim/sim_display_config.h"

#include <cstdio>

namespace lv::sim {

namespace {

// The fixed arrays of DISPLAYCONFIG_SOURCE_DEVICE_NAME and _TARGET_DEVICE_NAME, less
// their terminators.
constexpr std::size_t kGdiNameCapacity = 31;
constexpr std::size_t kFriendlyNameCapacity = 63;
constexpr std::size_t kDevicePathCapacity = 127;

std::u16string Bounded(std::string_view text, std::size_t capacity) {
    std::u16string out = FleetTextToUtf16(text);
    if (out.size() > capacity) out.resize(capacity);
    return out;
}

std::string PathText(const DisplayPath& path) {
    char text[80];
    std::snprintf(text, sizeof text, "adapter=0x%llx source=%u target=0x%x",
                  static_cast<unsigned long long>(path.adapterId), static_cast<unsigned>(path.sourceId),
                  static_cast<unsigned>(path.targetId));
    return text;
}

}  // namespace

bool SimDisplayConfigApi::Log(std::string line, bool ok) {
    log_.push_back(std::move(line) + (ok ? " -> ok" : " -> fail"));
    return ok;
}

const FleetDisplay* SimDisplayConfigApi::DisplayOf(const DisplayPath& path, bool target) const {
    if ((target ? path.targetAdapterId : path.adapterId) != kSimAdapterId) return nullptr;
    uint32_t index = path.sourceId;
    if (target) {
        if (path.targetId < kSimTargetIdBase) return nullptr;
        index = path.targetId - kSimTargetIdBase;
    }
    return index < fleet_.displays.size() ? &fleet_.displays[index] : nullptr;
}

bool SimDisplayConfigApi::GetDisplayConfigBufferSizes(uint32_t& pathCount, uint32_t& modeCount) {
    if (Fails(DisplayConfigCall::BufferSizes)) return Log("GetDisplayConfigBufferSizes", false);
    pathCount = static_cast<uint32_t>(fleet_.displays.size());
    modeCount = 2 * pathCount;
    return Log("GetDisplayConfigBufferSizes", true);
}

bool SimDisplayConfigApi::QueryDisplayConfig(uint32_t pathCount, uint32_t modeCount,
                                              std::vector<DisplayPath>& paths) {
    const std::string call =
        "QueryDisplayConfig paths=" + std::to_string(pathCount) + " modes=" + std::to_string(modeCount);
    const std::size_t displays = fleet_.displays.size();
    if (Fails(DisplayConfigCall::Query) || pathCount < displays || modeCount < 2 * displays) {
        paths.clear();
        return Log(call, false);
    }
    paths.clear();
    for (std::size_t d = 0; d < displays; ++d) paths.push_back(PathOf(d));
    return Log(call, true);
}

bool SimDisplayConfigApi::GetSourceDeviceName(const DisplayPath& path, std::u16string& gdiDeviceName) {
    const FleetDisplay* display = DisplayOf(path, false);
    const std::string call = "GetSourceDeviceName " + PathText(path);
    if (Fails(DisplayConfigCall::SourceName) || !display) return Log(call, false);
    gdiDeviceName = Bounded(display->device, kGdiNameCapacity);
    return Log(call, true);
}

bool SimDisplayConfigApi::GetTargetDeviceName(const DisplayPath& path, TargetDeviceName& name) {
    const FleetDisplay* display = DisplayOf(path, true);
    const std::string call = "GetTargetDeviceName " + PathText(path);
    if (Fails(DisplayConfigCall::TargetName) || !display) return Log(call, false);
    name.monitorFriendlyDeviceName = Bounded(display->friendly, kFriendlyNameCapacity);
    name.monitorDevicePath = Bounded(display->path, kDevicePathCapacity);
    name.outputTechnology = display->technology;
    return Log(call, true);
}

}  // namespace lv::sim
