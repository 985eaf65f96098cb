#include <algorithm>
#include <iterator>

#include "platform/win32/win32_wmi.h"

namespace lv {

namespace {

LUID ToLuid(uint64_t adapterId) {
    LUID luid{};
    luid.LowPart = static_cast<DWORD>(adapterId & 0xFFFFFFFFu);
    luid.HighPart = static_cast<LONG>(static_cast<uint32_t>(adapterId >> 32));
    return luid;
}

uint64_t FromLuid(const LUID& luid) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(luid.HighPart)) << 32) | luid.LowPart;
}

// Up to the first terminator, or the whole array when it has none.
template <std::size_t N>
std::u16string FromFixed(const WCHAR (&text)[N]) {
    const WCHAR* end = std::find(std::begin(text), std::end(text), WCHAR{0});
    std::u16string out;
    out.reserve(static_cast<std::size_t>(end - std::begin(text)));
    for (const WCHAR* c = std::begin(text); c != end; ++c) out.push_back(static_cast<char16_t>(*c));
    return out;
}

template <typename Packet>
void InitHeader(Packet& packet, DISPLAYCONFIG_DEVICE_INFO_TYPE type, uint64_t adapterId, uint32_t id) {
    packet.header.type = type;
    packet.header.size = sizeof(Packet);
    packet.header.adapterId = ToLuid(adapterId);
    packet.header.id = id;
}

}  // namespace

bool Win32DisplayConfigApi::GetDisplayConfigBufferSizes(uint32_t& pathCount, uint32_t& modeCount) {
    UINT32 paths = 0, modes = 0;
    if (::GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &paths, &modes) != ERROR_SUCCESS) return false;
    pathCount = paths;
    modeCount = modes;
    return true;
}

bool Win32DisplayConfigApi::QueryDisplayConfig(uint32_t pathCount, uint32_t modeCount,
                                               std::vector<DisplayPath>& paths) {
    paths.clear();
    std::vector<DISPLAYCONFIG_PATH_INFO> rawPaths(pathCount);
    std::vector<DISPLAYCONFIG_MODE_INFO> rawModes(modeCount);
    UINT32 pathsFilled = pathCount, modesFilled = modeCount;
    if (::QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathsFilled, rawPaths.data(), &modesFilled, rawModes.data(),
                             nullptr) != ERROR_SUCCESS)
        return false;
    pathsFilled = std::min<UINT32>(pathsFilled, pathCount);
    paths.reserve(pathsFilled);
    for (UINT32 i = 0; i < pathsFilled; ++i) {
        const DISPLAYCONFIG_PATH_INFO& raw = rawPaths[i];
        paths.push_back(DisplayPath{FromLuid(raw.sourceInfo.adapterId), raw.sourceInfo.id, raw.targetInfo.id,
                                    FromLuid(raw.targetInfo.adapterId)});
    }
    return true;
}

bool Win32DisplayConfigApi::GetSourceDeviceName(const DisplayPath& path, std::u16string& gdiDeviceName) {
    DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
    InitHeader(source, DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME, path.adapterId, path.sourceId);
    if (::DisplayConfigGetDeviceInfo(&source.header) != ERROR_SUCCESS) return false;
    gdiDeviceName = FromFixed(source.viewGdiDeviceName);
    return true;
}

bool Win32DisplayConfigApi::GetTargetDeviceName(const DisplayPath& path, TargetDeviceName& name) {
    DISPLAYCONFIG_TARGET_DEVICE_NAME target{};
    InitHeader(target, DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME, path.targetAdapterId, path.targetId);
    if (::DisplayConfigGetDeviceInfo(&target.header) != ERROR_SUCCESS) return false;
    name.monitorFriendlyDeviceName = FromFixed(target.monitorFriendlyDeviceName);
    name.monitorDevicePath = FromFixed(target.monitorDevicePath);
    name.outputTechnology = static_cast<uint32_t>(target.outputTechnology);
    return true;
}

}  // namespace lv
