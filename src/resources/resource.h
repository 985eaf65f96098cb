/* Resource identifiers, shared by lumivane.rc and the code. Plain preprocessor
   only above the C++ block: windres reads this file too. The numbers are the
   program's public identifiers (commands, control ids the command language and
   the settings refer to), so they never change. */
#ifndef LUMIVANE_RESOURCES_RESOURCE_H
#define LUMIVANE_RESOURCES_RESOURCE_H

/* Dialog templates */
#define IDD_POPUP                   101 /* the popup window; class "Lumivane class 4.4" */
#define IDD_HELP                    102 /* help window (added with the help window) */
#define IDD_ICON_HOLDER             103 /* run once at start-up to set the dialog class icon */
#define IDD_SETTINGS_EN             104 /* settings dialog (added with the settings dialog) */
#define IDD_SETTINGS_DE             105
#define IDD_HIDDEN_ICONS_EN         106 /* hidden-icon warning */
#define IDD_HIDDEN_ICONS_DE         107

/* Icons, menus, accelerators */
#define IDI_PROGRAM                 108
#define IDR_TRAY_MENU_EN            109 /* notification-area menu, first sub-menu */
#define IDR_TRAY_MENU_DE            110
#define IDR_LIST_MENU_EN            111 /* monitor-list menu, first sub-menu */
#define IDR_LIST_MENU_DE            112
#define IDR_ACCELERATORS            113

/* Controls of dialog 101 */
#define IDC_MONITOR_LIST            1001
#define IDC_BRIGHTNESS_LABEL        1002
#define IDC_CONTRAST_LABEL          1003
#define IDC_VOLUME_LABEL            1004
#define IDC_MUTE                    1037
#define IDC_BRIGHTNESS_SLIDER       1038
#define IDC_CONTRAST_SLIDER         1039
#define IDC_VOLUME_SLIDER           1040
#define IDC_SHOW_VOLUME             1064
#define IDC_RED_SLIDER              1067
#define IDC_GREEN_SLIDER            1068
#define IDC_BLUE_SLIDER             1069
#define IDC_RED_LABEL               1070
#define IDC_GREEN_LABEL             1071
#define IDC_BLUE_LABEL              1072
#define IDC_LAPTOP_TEXT_EN          1104
#define IDC_LAPTOP_TEXT_DE          1105
#define IDC_LAPTOP_LEVELS           1106
#define IDC_RGB_HINT_EN             1108
#define IDC_RGB_HINT_DE             1109
#define IDC_SHOW_RGB                1112
#define IDC_COLOUR_PRESET           1113
#define IDC_INPUT                   1115
#define IDC_INPUT_GROUP             1116
#define IDC_FACTORY_RESET           1117
#define IDC_UNUSED_SLIDER           1119 /* created hidden, only moved by the layout */
#define IDC_UNUSED_PERCENT          1120
#define IDC_CLOSE                   1214
#define IDC_SHUT_OFF                1221 /* used while the volume area is hidden */
#define IDC_SHUT_OFF_WIDE           1222 /* used while the volume area is shown */

/* Preset buttons: first + k sets 5 * k (volume: the scalar 0.05 * k), k = 0..20 */
#define IDC_BRIGHTNESS_PRESET_FIRST 40001
#define IDC_BRIGHTNESS_PRESET_LAST  40021
#define IDC_CONTRAST_PRESET_FIRST   40022
#define IDC_CONTRAST_PRESET_LAST    40042
#define IDC_VOLUME_PRESET_FIRST     40043
#define IDC_VOLUME_PRESET_LAST      40063

/* Controls of dialogs 106/107 */
#define IDC_HIDDEN_ICONS_TEXT       1258
#define IDC_HIDDEN_ICONS_NO_WARNING 1257

/* Menu and accelerator commands */
#define IDM_USER_FIRST              14 /* user-defined menu entries 0..14 */
#define IDM_USER_LAST               28
#define IDM_RESCAN                  1171
#define IDM_COPY_DEBUG_INFO         1223
#define IDM_IGNORE_MONITOR          1292
#define IDM_UTILIZE_MONITOR         1293
#define IDM_UNINSTALL               1295
#define IDM_OPEN_POPUP              40064
#define IDM_SETTINGS                40066
#define IDM_MONITORS_OFF            40067
#define IDM_HELP                    40068
#define IDM_RUN_COMMAND_BUFFER      40072 /* posted only, no menu entry */
#define IDM_EXIT                    40074
#define IDM_ESCAPE                  40075

/* Control tooltips: string ids equal the control ids, so the text is LoadString(id) */
#define IDS_TIP_MUTE                IDC_MUTE
#define IDS_TIP_SHOW_VOLUME         IDC_SHOW_VOLUME
#define IDS_TIP_SHOW_RGB            IDC_SHOW_RGB
#define IDS_TIP_COLOUR_PRESET       IDC_COLOUR_PRESET
#define IDS_TIP_INPUT               IDC_INPUT
#define IDS_TIP_FACTORY_RESET       IDC_FACTORY_RESET
#define IDS_TIP_CLOSE               IDC_CLOSE
#define IDS_TIP_SHUT_OFF            IDC_SHUT_OFF
#define IDS_TIP_SHUT_OFF_WIDE       IDC_SHUT_OFF_WIDE

#if defined(__cplusplus) && !defined(RC_INVOKED)
namespace lv::res {

/* Dialogs, icons, menus, accelerators */
inline constexpr int kPopupDialog = IDD_POPUP;
inline constexpr int kHelpDialog = IDD_HELP;
inline constexpr int kIconHolderDialog = IDD_ICON_HOLDER;
inline constexpr int kSettingsDialogEn = IDD_SETTINGS_EN;
inline constexpr int kSettingsDialogDe = IDD_SETTINGS_DE;
inline constexpr int kHiddenIconsDialogEn = IDD_HIDDEN_ICONS_EN;
inline constexpr int kHiddenIconsDialogDe = IDD_HIDDEN_ICONS_DE;
inline constexpr int kProgramIcon = IDI_PROGRAM;
inline constexpr int kTrayMenuEn = IDR_TRAY_MENU_EN;
inline constexpr int kTrayMenuDe = IDR_TRAY_MENU_DE;
inline constexpr int kListMenuEn = IDR_LIST_MENU_EN;
inline constexpr int kListMenuDe = IDR_LIST_MENU_DE;
inline constexpr int kAccelerators = IDR_ACCELERATORS;

/* Popup controls */
inline constexpr int kMonitorList = IDC_MONITOR_LIST;
inline constexpr int kBrightnessLabel = IDC_BRIGHTNESS_LABEL;
inline constexpr int kContrastLabel = IDC_CONTRAST_LABEL;
inline constexpr int kVolumeLabel = IDC_VOLUME_LABEL;
inline constexpr int kMute = IDC_MUTE;
inline constexpr int kBrightnessSlider = IDC_BRIGHTNESS_SLIDER;
inline constexpr int kContrastSlider = IDC_CONTRAST_SLIDER;
inline constexpr int kVolumeSlider = IDC_VOLUME_SLIDER;
inline constexpr int kShowVolume = IDC_SHOW_VOLUME;
inline constexpr int kRedSlider = IDC_RED_SLIDER;
inline constexpr int kGreenSlider = IDC_GREEN_SLIDER;
inline constexpr int kBlueSlider = IDC_BLUE_SLIDER;
inline constexpr int kRedLabel = IDC_RED_LABEL;
inline constexpr int kGreenLabel = IDC_GREEN_LABEL;
inline constexpr int kBlueLabel = IDC_BLUE_LABEL;
inline constexpr int kLaptopTextEn = IDC_LAPTOP_TEXT_EN;
inline constexpr int kLaptopTextDe = IDC_LAPTOP_TEXT_DE;
inline constexpr int kLaptopLevels = IDC_LAPTOP_LEVELS;
inline constexpr int kRgbHintEn = IDC_RGB_HINT_EN;
inline constexpr int kRgbHintDe = IDC_RGB_HINT_DE;
inline constexpr int kShowRgb = IDC_SHOW_RGB;
inline constexpr int kColourPreset = IDC_COLOUR_PRESET;
inline constexpr int kInput = IDC_INPUT;
inline constexpr int kInputGroup = IDC_INPUT_GROUP;
inline constexpr int kFactoryReset = IDC_FACTORY_RESET;
inline constexpr int kUnusedSlider = IDC_UNUSED_SLIDER;
inline constexpr int kUnusedPercent = IDC_UNUSED_PERCENT;
inline constexpr int kClose = IDC_CLOSE;
inline constexpr int kShutOff = IDC_SHUT_OFF;
inline constexpr int kShutOffWide = IDC_SHUT_OFF_WIDE;
inline constexpr int kBrightnessPresetFirst = IDC_BRIGHTNESS_PRESET_FIRST;
inline constexpr int kBrightnessPresetLast = IDC_BRIGHTNESS_PRESET_LAST;
inline constexpr int kContrastPresetFirst = IDC_CONTRAST_PRESET_FIRST;
inline constexpr int kContrastPresetLast = IDC_CONTRAST_PRESET_LAST;
inline constexpr int kVolumePresetFirst = IDC_VOLUME_PRESET_FIRST;
inline constexpr int kVolumePresetLast = IDC_VOLUME_PRESET_LAST;
inline constexpr int kPresetSteps = IDC_BRIGHTNESS_PRESET_LAST - IDC_BRIGHTNESS_PRESET_FIRST + 1;

/* Hidden-icon warning */
inline constexpr int kHiddenIconsText = IDC_HIDDEN_ICONS_TEXT;
inline constexpr int kHiddenIconsNoWarning = IDC_HIDDEN_ICONS_NO_WARNING;

/* Commands */
inline constexpr int kUserCommandFirst = IDM_USER_FIRST;
inline constexpr int kUserCommandLast = IDM_USER_LAST;
inline constexpr int kRescan = IDM_RESCAN;
inline constexpr int kCopyDebugInfo = IDM_COPY_DEBUG_INFO;
inline constexpr int kIgnoreMonitor = IDM_IGNORE_MONITOR;
inline constexpr int kUtilizeMonitor = IDM_UTILIZE_MONITOR;
inline constexpr int kUninstall = IDM_UNINSTALL;
inline constexpr int kOpenPopup = IDM_OPEN_POPUP;
inline constexpr int kSettings = IDM_SETTINGS;
inline constexpr int kMonitorsOff = IDM_MONITORS_OFF;
inline constexpr int kHelp = IDM_HELP;
inline constexpr int kRunCommandBuffer = IDM_RUN_COMMAND_BUFFER;
inline constexpr int kExit = IDM_EXIT;
inline constexpr int kEscape = IDM_ESCAPE;

static_assert(kPresetSteps == 21 && kContrastPresetFirst == kBrightnessPresetLast + 1 &&
              kVolumePresetFirst == kContrastPresetLast + 1);
// The colour controls are reached as red + channel.
static_assert(kGreenSlider == kRedSlider + 1 && kBlueSlider == kRedSlider + 2 && kGreenLabel == kRedLabel + 1 &&
              kBlueLabel == kRedLabel + 2);

}  // namespace lv::res
#endif

#endif /* LUMIVANE_RESOURCES_RESOURCE_H */
