// The program-wide state and the platform services it acts through. One instance lives
// for the whole run; every subsystem works on it from the main thread.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <string>

#include "core/app_settings.h"
#include "core/command_queue.h"
#include "core/monitor_table.h"
#include "core/panel_levels.h"
#include "core/popup_metrics.h"
#include "core/tray_state.h"
#include "platform/audio_api.h"
#include "platform/clock.h"
#include "platform/display_config_api.h"
#include "platform/file_api.h"
#include "platform/monitor_api.h"
#include "platform/process_api.h"
#include "platform/system_api.h"
#include "platform/text_codec.h"
#include "platform/tray_api.h"
#include "platform/view.h"
#include "platform/window_api.h"
#include "platform/wmi_api.h"
#include "platform/xml_api.h"
#include "resources/resource.h"

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
    TrayApi& tray;
};

// What changed last (lastChangedKind), and what the value balloon is asked to tell.
enum class ChangeKind : uint8_t {
    Brightness = 0,
    Contrast = 1,
    Volume = 2,
    NoBalloon = 3,      // a balloon request that shows nothing
    BlockBalloons = 4,  // no balloon for 3 s
    Red = 5,
    Green = 6,
    Blue = 7,
    Summary = 8,
    Nothing = 255,
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
    std::bitset<kMaxMonitors> changedRows;  // rows a setter wrote to, not yet shown by the popup
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

// What the higher floors do for the lower ones. BindProgramActions fills every member once;
// a missing action does nothing, so a lower floor can be tested unbound.
struct CoreActions {
    std::function<void(int show)> refreshPopup;
    std::function<void()> updateIcons;
    std::function<void()> showPopupNearIcon;
    std::function<void(ChangeKind kind)> showValueNotification;
    std::function<bool()> hotKeyHeld;  // a hot key is down now: notifications wait
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
    ChangeKind lastChangedKind = ChangeKind::Nothing;
    bool toggleState = false;
    ChoiceModel presetChoice;
    ChoiceModel inputChoice;
    DdcOperationState ddc;
    EnumerationState enumeration;
    PanelLevels panel;
    uint8_t savedPanelLevel = 255;
    VolumeState volume;
    std::string audioDeviceName;  // the output device's name, at most 63 characters
    TrayState trayState;

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
    PopupMetrics popupMetrics;
    Point cursorPos;                  // where the pointer was at the last message
    std::string infoTipText;          // the monitor list's hover information
    int32_t menuRow = -1;             // the list row the monitor-list menu was opened on
    DisplayHandle lastPointerMonitor = 0;
    uint8_t powerChangeCount = 0;
    bool openedFromIcon = false;
    bool menuOpen = false;
    uint64_t lastChangeTick = 0;
    bool hookCheckDone = false;
    std::string monitorFingerprint;  // the monitor set start-up found
    std::string startupLine;         // this start's own command line
    // Full paths of the two settings copies: beside the program, and in the roaming folder.
    std::u16string localSettingsPath;
    std::u16string appDataSettingsPath;

    CommandQueue commandQueue;

    CoreActions actions;

    MonitorEntry& Selected() { return table[SelectedIndex()]; }
    std::size_t SelectedIndex() const {
        return (selectedMonitor >= 0 && selectedMonitor < kMaxMonitors) ? static_cast<std::size_t>(selectedMonitor) : 0;
    }
    bool German() const { return settings.German(); }

    void RefreshPopup(int show) {
        if (actions.refreshPopup) actions.refreshPopup(show);
    }
    void UpdateIcons() {
        if (actions.updateIcons) actions.updateIcons();
    }
    void ShowPopupNearIcon() {
        if (actions.showPopupNearIcon) actions.showPopupNearIcon();
    }
    void ShowValueNotification(ChangeKind kind) {
        if (actions.showValueNotification) actions.showValueNotification(kind);
    }
    bool HotKeyHeld() const { return actions.hotKeyHeld && actions.hotKeyHeld(); }
};

}  // namespace lv
