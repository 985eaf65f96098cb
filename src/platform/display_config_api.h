// The display topology: which connector and device path drive each GDI display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lv {

// One active path of the current display configuration.
struct DisplayPath {
    uint64_t adapterId = 0;  // the source's adapter LUID, low part in the low 32 bits
    uint32_t sourceId = 0;
    uint32_t targetId = 0;
    // The target may hang on another adapter than the source (two graphics chips).
    uint64_t targetAdapterId = 0;
};

struct TargetDeviceName {
    std::u16string monitorFriendlyDeviceName;  // may be empty
    std::u16string monitorDevicePath;          // \\?\DISPLAY#DEL4220#...#{guid}
    uint32_t outputTechnology = 0;             // DISPLAYCONFIG_VIDEO_OUTPUT_TECHNOLOGY
};

class DisplayConfigApi {
public:
    virtual ~DisplayConfigApi() = default;
    // GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, ...).
    virtual bool GetDisplayConfigBufferSizes(uint32_t& pathCount, uint32_t& modeCount) = 0;
    // QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, ...) with buffers of those sizes.
    virtual bool QueryDisplayConfig(uint32_t pathCount, uint32_t modeCount, std::vector<DisplayPath>& paths) = 0;
    // DisplayConfigGetDeviceInfo with DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME: the GDI
    // device name of the path's source (\\.\DISPLAY1).
    virtual bool GetSourceDeviceName(const DisplayPath& path, std::u16string& gdiDeviceName) = 0;
    // DisplayConfigGetDeviceInfo with DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME.
    virtual bool GetTargetDeviceName(const DisplayPath& path, TargetDeviceName& name) = 0;
};

}  // namespace lv
