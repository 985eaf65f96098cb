// Facts about the running system that the logic branches on.
#pragma once

#include <cstdint>

namespace lv {

struct PowerStatus {
    uint8_t acLineStatus = 255;
    uint8_t batteryFlag = 255;
    uint8_t batteryLifePercent = 255;
    uint8_t systemStatusFlag = 0;  // 1 while the battery saver is on
};

class SystemApi {
public:
    virtual ~SystemApi() = default;
    // GetSystemPowerStatus.
    virtual bool GetSystemPowerStatus(PowerStatus& status) = 0;
    virtual bool IsWindows8OrLater() = 0;
    virtual uint32_t CurrentThreadId() = 0;
};

}  // namespace lv
