// The portable code names Windows' own numbers without the system headers; this ties
// each name to the header's constant, so a wrong one fails the Windows build.
#include <windows.h>

#include <dbt.h>
#include <shellapi.h>
#include <commctrl.h>

#include "platform/windows_codes.h"

namespace lv::win {

static_assert(kWmCommand == WM_COMMAND);
static_assert(kWmContextMenu == WM_CONTEXTMENU);

static_assert(kNinSelect == NIN_SELECT);
static_assert(kNinKeySelect == NIN_KEYSELECT);

static_assert(kNimAdd == NIM_ADD);
static_assert(kNimModify == NIM_MODIFY);
static_assert(kNimDelete == NIM_DELETE);
static_assert(kNimSetVersion == NIM_SETVERSION);

static_assert(kNifMessage == NIF_MESSAGE);
static_assert(kNifIcon == NIF_ICON);
static_assert(kNifTip == NIF_TIP);
static_assert(kNifInfo == NIF_INFO);
static_assert(kNifGuid == NIF_GUID);
static_assert(kNifShowTip == NIF_SHOWTIP);

static_assert(kNiifUser == NIIF_USER);
static_assert(kNiifNoSound == NIIF_NOSOUND);
static_assert(kNiifLargeIcon == NIIF_LARGE_ICON);

static_assert(kDtCenter == DT_CENTER);
static_assert(kDtRight == DT_RIGHT);
static_assert(kDtVCenter == DT_VCENTER);
static_assert(kDtBottom == DT_BOTTOM);
static_assert(kDtSingleLine == DT_SINGLELINE);

static_assert(kNonAntialiasedQuality == NONANTIALIASED_QUALITY);
static_assert(kAntialiasedQuality == ANTIALIASED_QUALITY);
static_assert(kClearTypeQuality == CLEARTYPE_QUALITY);
static_assert(kFwNormal == FW_NORMAL);
static_assert(kFwMedium == FW_MEDIUM);
static_assert(kFwSemiBold == FW_SEMIBOLD);
static_assert(kFwBold == FW_BOLD);

static_assert(kFeFontSmoothingStandard == FE_FONTSMOOTHINGSTANDARD);
static_assert(kFeFontSmoothingClearType == FE_FONTSMOOTHINGCLEARTYPE);

static_assert(kLangGerman == LANG_GERMAN);
static_assert(kLangEnglish == LANG_ENGLISH);
static_assert(kPrimaryLangIdMask == PRIMARYLANGID(0xFFFF));

static_assert(kMonitorInfoFPrimary == MONITORINFOF_PRIMARY);

static_assert(kAppCommandVolumeDown == APPCOMMAND_VOLUME_DOWN);
static_assert(kAppCommandVolumeUp == APPCOMMAND_VOLUME_UP);

static_assert(kTpmCenterAlign == TPM_CENTERALIGN);
static_assert(kTpmVCenterAlign == TPM_VCENTERALIGN);
static_assert(kTpmVertical == TPM_VERTICAL);
static_assert(kTpmWorkArea == TPM_WORKAREA);

static_assert(kPbtApmResumeAutomatic == PBT_APMRESUMEAUTOMATIC);
static_assert(kPbtPowerSettingChange == PBT_POWERSETTINGCHANGE);

static_assert(kDbtDeviceArrival == DBT_DEVICEARRIVAL);
static_assert(kDbtDeviceRemoveComplete == DBT_DEVICEREMOVECOMPLETE);

static_assert(kWtsConsoleConnect == WTS_CONSOLE_CONNECT);

static_assert(kOutputTechnologyLvds == static_cast<uint32_t>(DISPLAYCONFIG_OUTPUT_TECHNOLOGY_LVDS));
static_assert(kOutputTechnologyDisplayPortEmbedded ==
              static_cast<uint32_t>(DISPLAYCONFIG_OUTPUT_TECHNOLOGY_DISPLAYPORT_EMBEDDED));
static_assert(kOutputTechnologyUdiEmbedded == static_cast<uint32_t>(DISPLAYCONFIG_OUTPUT_TECHNOLOGY_UDI_EMBEDDED));
static_assert(kOutputTechnologyInternal == static_cast<uint32_t>(DISPLAYCONFIG_OUTPUT_TECHNOLOGY_INTERNAL));
static_assert(kTbThumbTrack == TB_THUMBTRACK);
static_assert(kTbEndTrack == TB_ENDTRACK);
static_assert(kCbnSelChange == CBN_SELCHANGE);
static_assert(kCddsPrePaint == CDDS_PREPAINT);
static_assert(kCddsItemPrePaint == CDDS_ITEMPREPAINT);
static_assert(kTbcdChannel == TBCD_CHANNEL);
static_assert(kCdrfNotifyItemDraw == CDRF_NOTIFYITEMDRAW);
static_assert(kCdrfSkipDefault == CDRF_SKIPDEFAULT);

}  // namespace lv::win
