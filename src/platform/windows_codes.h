// Windows' own numbers that the portable code passes to the system or branches on, one
// name each, spelt after the system's macro. The Windows layer checks every value against
// the system headers at compile time (platform/win32/windows_codes_check.cpp).
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace lv::win {

// Messages.
inline constexpr uint32_t kWmCommand = 0x0111;      // WM_COMMAND
inline constexpr uint32_t kWmContextMenu = 0x007B;  // WM_CONTEXTMENU

// Notification-icon callback events (the low word of lParam, version 4).
inline constexpr uint32_t kNinSelect = 0x0400;     // NIN_SELECT
inline constexpr uint32_t kNinKeySelect = 0x0401;  // NIN_KEYSELECT

// Shell_NotifyIcon messages.
inline constexpr uint32_t kNimAdd = 0;         // NIM_ADD
inline constexpr uint32_t kNimModify = 1;      // NIM_MODIFY
inline constexpr uint32_t kNimDelete = 2;      // NIM_DELETE
inline constexpr uint32_t kNimSetVersion = 4;  // NIM_SETVERSION

// Fields of a notification record that count.
inline constexpr uint32_t kNifMessage = 0x01;  // NIF_MESSAGE
inline constexpr uint32_t kNifIcon = 0x02;     // NIF_ICON
inline constexpr uint32_t kNifTip = 0x04;      // NIF_TIP
inline constexpr uint32_t kNifInfo = 0x10;     // NIF_INFO
inline constexpr uint32_t kNifGuid = 0x20;     // NIF_GUID
inline constexpr uint32_t kNifShowTip = 0x80;  // NIF_SHOWTIP

// Balloon flags.
inline constexpr uint32_t kNiifUser = 0x04;       // NIIF_USER
inline constexpr uint32_t kNiifNoSound = 0x10;    // NIIF_NOSOUND
inline constexpr uint32_t kNiifLargeIcon = 0x20;  // NIIF_LARGE_ICON

// DrawText formats.
inline constexpr uint32_t kDtCenter = 0x01;      // DT_CENTER
inline constexpr uint32_t kDtRight = 0x02;       // DT_RIGHT
inline constexpr uint32_t kDtVCenter = 0x04;     // DT_VCENTER
inline constexpr uint32_t kDtBottom = 0x08;      // DT_BOTTOM
inline constexpr uint32_t kDtSingleLine = 0x20;  // DT_SINGLELINE

// Font qualities and weights (CreateFont).
inline constexpr uint8_t kNonAntialiasedQuality = 3;  // NONANTIALIASED_QUALITY
inline constexpr uint8_t kAntialiasedQuality = 4;     // ANTIALIASED_QUALITY
inline constexpr uint8_t kClearTypeQuality = 5;       // CLEARTYPE_QUALITY
inline constexpr int32_t kFwNormal = 400;             // FW_NORMAL
inline constexpr int32_t kFwMedium = 500;             // FW_MEDIUM
inline constexpr int32_t kFwSemiBold = 600;           // FW_SEMIBOLD
inline constexpr int32_t kFwBold = 700;               // FW_BOLD

// Font smoothing types (SPI_GETFONTSMOOTHINGTYPE).
inline constexpr uint32_t kFeFontSmoothingStandard = 1;   // FE_FONTSMOOTHINGSTANDARD
inline constexpr uint32_t kFeFontSmoothingClearType = 2;  // FE_FONTSMOOTHINGCLEARTYPE

// Primary language ids and the part of a language id that holds one (PRIMARYLANGID).
inline constexpr uint16_t kLangGerman = 0x07;          // LANG_GERMAN
inline constexpr uint16_t kLangEnglish = 0x09;         // LANG_ENGLISH
inline constexpr uint16_t kPrimaryLangIdMask = 0x3FF;

// MONITORINFO flags.
inline constexpr uint32_t kMonitorInfoFPrimary = 1;  // MONITORINFOF_PRIMARY

// WM_APPCOMMAND commands.
inline constexpr int kAppCommandVolumeDown = 9;  // APPCOMMAND_VOLUME_DOWN
inline constexpr int kAppCommandVolumeUp = 10;   // APPCOMMAND_VOLUME_UP

// CalculatePopupWindowPosition (TrackPopupMenuEx) flags.
inline constexpr uint32_t kTpmCenterAlign = 0x0004;   // TPM_CENTERALIGN
inline constexpr uint32_t kTpmVCenterAlign = 0x0010;  // TPM_VCENTERALIGN
inline constexpr uint32_t kTpmVertical = 0x0040;      // TPM_VERTICAL
inline constexpr uint32_t kTpmWorkArea = 0x10000;     // TPM_WORKAREA

// WM_POWERBROADCAST events.
inline constexpr uintptr_t kPbtApmResumeAutomatic = 0x0012;  // PBT_APMRESUMEAUTOMATIC
inline constexpr uintptr_t kPbtPowerSettingChange = 0x8013;  // PBT_POWERSETTINGCHANGE

// WM_DEVICECHANGE events.
inline constexpr uintptr_t kDbtDeviceArrival = 0x8000;         // DBT_DEVICEARRIVAL
inline constexpr uintptr_t kDbtDeviceRemoveComplete = 0x8004;  // DBT_DEVICEREMOVECOMPLETE

// WM_WTSSESSION_CHANGE codes.
inline constexpr uintptr_t kWtsConsoleConnect = 1;  // WTS_CONSOLE_CONNECT

// Output technologies of a display-configuration target that wire a built-in panel.
// DISPLAYCONFIG_OUTPUT_TECHNOLOGY_LVDS, _DISPLAYPORT_EMBEDDED, _UDI_EMBEDDED, _INTERNAL.
inline constexpr uint32_t kOutputTechnologyLvds = 6;
inline constexpr uint32_t kOutputTechnologyDisplayPortEmbedded = 11;
inline constexpr uint32_t kOutputTechnologyUdiEmbedded = 13;
inline constexpr uint32_t kOutputTechnologyInternal = 0x80000000;

// Trackbar notification codes of WM_VSCROLL that the sliders leave alone: a drag sends
// its value once, on release.
inline constexpr uint32_t kTbThumbTrack = 5;  // TB_THUMBTRACK
inline constexpr uint32_t kTbEndTrack = 8;    // TB_ENDTRACK

// Combo-box notification.
inline constexpr uint32_t kCbnSelChange = 1;  // CBN_SELCHANGE

// Custom draw of the sliders' channels.
inline constexpr uint32_t kCddsPrePaint = 0x00000001;      // CDDS_PREPAINT
inline constexpr uint32_t kCddsItemPrePaint = 0x00010001;  // CDDS_ITEMPREPAINT
inline constexpr uintptr_t kTbcdChannel = 3;               // TBCD_CHANNEL
inline constexpr intptr_t kCdrfNotifyItemDraw = 0x20;      // CDRF_NOTIFYITEMDRAW
inline constexpr intptr_t kCdrfSkipDefault = 0x04;         // CDRF_SKIPDEFAULT

// Power settings the main window registers for. GUIDs cannot be compared at compile time,
// and MinGW's headers lack the second one, so these two stand unchecked.
inline constexpr Guid kGuidAcDcPowerSource = {  // GUID_ACDC_POWER_SOURCE
    0x5D3E9A59, 0xE9D5, 0x4B00, {0xA6, 0xBD, 0xFF, 0x34, 0xFF, 0x51, 0x65, 0x48}};
inline constexpr Guid kGuidPowerSavingStatus = {  // GUID_POWER_SAVING_STATUS
    0xE00958C0, 0xC213, 0x4ACE, {0xAC, 0x77, 0xFE, 0xCC, 0xED, 0x2E, 0xEE, 0xA5}};

}  // namespace lv::win
