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

// SYSTEMTIME: a local date and time.
struct SystemTime {
    uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
    uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
    bool operator==(const SystemTime&) const = default;
};

class SystemApi {
public:
    virtual ~SystemApi() = default;
    // GetSystemPowerStatus.
    virtual bool GetSystemPowerStatus(PowerStatus& status) = 0;
    // GetSystemMetrics(SM_CYSMICON).
    virtual int SmallIconHeight() = 0;
    // SystemParametersInfo(SPI_GETFONTSMOOTHINGTYPE): 1 standard, 2 ClearType.
    virtual bool GetFontSmoothingType(uint32_t& type) = 0;
    // GetLocalTime.
    virtual SystemTime LocalTime() = 0;
    // GetUserDefaultUILanguage: a language id whose low 10 bits are the primary language.
    virtual uint16_t UserDefaultUILanguage() = 0;
    virtual bool IsWindows8OrLater() = 0;
    virtual uint32_t CurrentThreadId() = 0;
};

}  // namespace lv
