// The program-wide state and the platform services it acts through. One instance lives
// for the whole run; every subsystem works on it from the main thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "commands/command_queue.h"
#include "monitors/laptop_panel.h"
#include "monitors/monitor_table.h"
#include "platform/audio_api.h"
#include "platform/clock.h"
#include "platform/display_config_api.h"
#include "platform/file_api.h"
#include "platform/monitor_api.h"
#include "platform/process_api.h"
#include "platform/system_api.h"
#include "platform/text_codec.h"
#include "platform/view.h"
#include "platform/window_api.h"
#include "platform/wmi_api.h"
#include "platform/xml_api.h"
#include "resources/resource.h"
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
    ProcessApi& process;
};

// Control and command identifiers the core refers to, by the names the core uses; the
// values are the resources' own.
namespace id {
inline constexpr int kMonitorList = res::kMonitorList;
inline constexpr int kBrightnessLabel = res::kBrightnessLabel;
inline constexpr int kContrastLabel = res::kContrastLabel;
inline constexpr int kBrightnessSlider = res::kBrightnessSlider;
inline constexpr int kContrastSlider = res::kContrastSlider;
inline constexpr int kRedSlider = res::kRedSlider;  // green and blue follow
inline constexpr int kRedLabel = res::kRedLabel;    // green and blue follow
inline constexpr int kLaptopNoteEnglish = res::kLaptopTextEn;
inline constexpr int kLaptopNoteGerman = res::kLaptopTextDe;
inline constexpr int kLaptopPicture = res::kLaptopLevels;
inline constexpr int kGainHintEnglish = res::kRgbHintEn;
inline constexpr int kGainHintGerman = res::kRgbHintDe;
inline constexpr int kPresetChoice = res::kColourPreset;
inline constexpr int kInputChoice = res::kInput;
inline constexpr int kInputGroup = res::kInputGroup;
inline constexpr int kFactoryResetButton = res::kFactoryReset;
inline constexpr int kFirstContrastButton = res::kContrastPresetFirst;
inline constexpr int kLastContrastButton = res::kContrastPresetLast;
inline constexpr uint32_t kCmdShowPopup = res::kOpenPopup;
inline constexpr uint32_t kCmdRescanMonitors = res::kRescan;
inline constexpr uint32_t kCmdShutMonitorsOff = res::kMonitorsOff;
inline constexpr uint32_t kCmdRunCommandLine = res::kRunCommandBuffer;
inline constexpr uint32_t kCmdExit = res::kExit;
static_assert(res::kGreenSlider == kRedSlider + 1 && res::kBlueSlider == kRedSlider + 2 &&
              res::kGreenLabel == kRedLabel + 1 && res::kBlueLabel == kRedLabel + 2);
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

// The low-level hooks of the hook thread, as far as the main thread needs to know.
struct HookState {
    bool threadStarted = false;
    bool mouseInstalled = false;
    bool keyboardInstalled = false;
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
    bool exitConfirmOpen = false;
    bool resetConfirmOpen = false;
    HookState hooks;
    uint32_t mainThreadId = 0;
    uint32_t hookThreadId = 0;  // 0 while no hook thread runs

    // The main window's own state.
    bool startupComplete = false;     // the popup is never shown before the first enumeration
    int32_t expectedPopupHeight = 0;  // the client height start-up laid out; a smaller one restarts
    Point cursorPos;                  // where the pointer was at the last message
    std::string infoTipText;          // the monitor list's hover information
    DisplayHandle lastPointerMonitor = 0;
    uint8_t powerChangeCount = 0;
    bool openedFromIcon = false;
    bool menuOpen = false;
    bool notificationsSuppressed = false;  // a user menu entry runs: no change notification
    uint64_t lastChangeTick = 0;
    bool hookCheckDone = false;
    std::string monitorFingerprint;  // the monitor set start-up found
    std::string startupLine;         // this start's own command line
    // Full paths of the two settings copies: beside the program, and in the roaming folder.
    std::u16string localSettingsPath;
    std::u16string appDataSettingsPath;

    CommandQueue commandQueue;

    // Filled by the layers that own these actions; a missing hook does nothing.
    std::function<void(int show)> refreshPopup;
    std::function<void()> updateIcons;
    std::function<void()> showPopupNearIcon;
    std::function<void(uint8_t kind)> showValueNotification;
    std::function<bool()> hotKeyHeld;  // a hot key is down now: notifications wait

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
    void ShowPopupNearIcon() {
        if (showPopupNearIcon) showPopupNearIcon();
    }
};

}  // namespace lv
