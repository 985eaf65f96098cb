// The program-wide state and the platform services it acts through. One instance lives
// for the whole run; every subsystem works on it from the main thread.
#pragma once

#include <cstdint>
#include <functional>

#include "commands/command_queue.h"
#include "monitors/laptop_panel.h"
#include "monitors/monitor_table.h"
#include "platform/audio_api.h"
#include "platform/clock.h"
#include "platform/display_config_api.h"
#include "platform/file_api.h"
#include "platform/monitor_api.h"
#include "platform/system_api.h"
#include "platform/text_codec.h"
#include "platform/view.h"
#include "platform/window_api.h"
#include "platform/wmi_api.h"
#include "platform/xml_api.h"
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
    WmiApi& wmi;
    DisplayConfigApi& displayConfig;
    FileApi& files;
    XmlReader& xmlReader;
    XmlWriter& xmlWriter;
};

// Control and command identifiers the core refers to.
namespace id {
inline constexpr int kMonitorList = 1001;
inline constexpr int kBrightnessLabel = 1002;
inline constexpr int kContrastLabel = 1003;
inline constexpr int kBrightnessSlider = 1038;
inline constexpr int kContrastSlider = 1039;
inline constexpr int kRedSlider = 1067;  // green and blue follow
inline constexpr int kRedLabel = 1070;   // green and blue follow
inline constexpr int kLaptopNoteEnglish = 1104;
inline constexpr int kLaptopNoteGerman = 1105;
inline constexpr int kLaptopPicture = 1106;
inline constexpr int kGainHintEnglish = 1108;
inline constexpr int kGainHintGerman = 1109;
inline constexpr int kPresetChoice = 1113;
inline constexpr int kInputChoice = 1115;
inline constexpr int kInputGroup = 1116;
inline constexpr int kFactoryResetButton = 1117;
inline constexpr int kFirstContrastButton = 40022;
inline constexpr int kLastContrastButton = 40042;
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

// State of the enumeration passes, program-wide.
struct EnumerationState {
    static constexpr int kCapabilitiesAttempts = 50;
    int capabilitiesAttemptLimit = kCapabilitiesAttempts;  // 1 once a monitor used up 50
    bool enumerationFailed = false;       // a display's physical monitors could not be had
    bool severalPhysicalMonitors = false;  // a display carries more than one; never cleared
    bool closing = false;                 // the program is exiting: passes only save
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
    EnumerationState enumeration;
    PanelLevels panel;
    uint8_t savedPanelLevel = 255;
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
    // Full paths of the two settings copies: beside the program, and in the roaming folder.
    std::u16string localSettingsPath;
    std::u16string appDataSettingsPath;

    CommandQueue commandQueue;

    // Filled by the layers that own these actions; a missing hook does nothing.
    std::function<void(int show)> refreshPopup;
    std::function<void()> updateIcons;

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
