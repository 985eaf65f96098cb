// The program-wide state and the platform services it acts through. One instance lives
// for the whole run; every subsystem works on it from the main thread.
#pragma once

#include <cstdint>
#include <functional>

#include "commands/command_queue.h"
#include "monitors/monitor_table.h"
#include "platform/audio_api.h"
#include "platform/clock.h"
#include "platform/monitor_api.h"
#include "platform/system_api.h"
#include "platform/text_codec.h"
#include "platform/view.h"
#include "platform/window_api.h"
#include "settings/app_settings.h"

namespace lv {

struct Platform {
    MonitorApi& monitors;
    Clock& clock;
    TextCodec& codec;
    WindowApi& window;
    AudioApi& audio;
    SystemApi& system;
    PopupView& view;
};

// Control and command identifiers the core refers to.
namespace id {
inline constexpr int kMonitorList = 1001;
inline constexpr int kBrightnessLabel = 1002;
inline constexpr int kContrastLabel = 1003;
inline constexpr int kBrightnessSlider = 1038;
inline constexpr int kContrastSlider = 1039;
inline constexpr int kRedSlider = 1067;
inline constexpr int kRedLabel = 1070;
inline constexpr int kPresetChoice = 1113;
inline constexpr int kInputChoice = 1115;
inline constexpr uint32_t kCmdShutMonitorsOff = 40067;
inline constexpr uint32_t kCmdRunCommandLine = 40072;
inline constexpr uint32_t kCmdExit = 40074;
}  // namespace id

// lastChangedKind values.
enum : uint8_t {
    kChangedBrightness = 0,
    kChangedContrast = 1,
    kChangedVolume = 2,
    kChangedRed = 5,
    kChangedGreen = 6,
    kChangedBlue = 7,
    kChangedSummary = 8,
    kChangedNothing = 255,
};

// State of the DDC/CI operations in progress.
struct DdcOperationState {
    uint32_t requestedBrightness = 0;
    uint32_t requestedContrast = 0;
    uint32_t requestedGain = 0;
    int requestedChannel = 0;
    bool brightnessOk = false;
    bool contrastOk = false;
    bool gainOk = false;
    bool readDone = false;
    bool valueChanged = false;  // brightness transfer looks at this
};

struct VolumeState {
    int32_t volumePercent = 0;
    bool volumeMuted = false;
};

struct Core {
    explicit Core(Platform platform) : platform(platform) {}
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    Platform platform;
    AppSettings settings;

    MonitorTable table{};
    MonitorList list;
    int64_t selectedMonitor = 0;
    int64_t enumCounter = 0;
    bool ddcOk = false;
    bool wmiOk = false;
    uint8_t lastChangedKind = kChangedNothing;
    bool toggleState = false;
    ChoiceModel presetChoice;
    ChoiceModel inputChoice;
    DdcOperationState ddc;
    VolumeState volume;

    // Flags shared by the command language, the window procedure and shutdown.
    bool forceReselect = false;
    bool listSync = true;
    bool queryFlag = false;
    uint32_t queryValue = 0;
    bool endingSession = false;
    bool restartflag = false;
    bool hiddenrestart = false;
    bool inputConfirmOpen = false;
    uint32_t mainThreadId = 0;

    CommandQueue commandQueue;

    // Filled by the layers that own these actions; a missing hook does nothing.
    std::function<void(int show)> refreshPopup;
    std::function<void()> updateIcons;
    // The laptop panel reached through the management interface, tried when DDC/CI fails.
    std::function<bool()> readLaptopBrightness;
    std::function<bool(uint32_t percent)> setLaptopBrightness;

    MonitorEntry& Selected() { return table[SelectedIndex()]; }
    std::size_t SelectedIndex() const {
        return (selectedMonitor >= 0 && selectedMonitor < kMaxMonitors) ? static_cast<std::size_t>(selectedMonitor) : 0;
    }
    bool German() const { return settings.German(); }

    void RefreshPopup(int show) {
        if (refreshPopup) refreshPopup(show);
    }
    void UpdateIcons() {
        if (updateIcons) updateIcons();
    }
};

}  // namespace lv
