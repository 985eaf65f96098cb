#include "popup/popup_commands.h"

#include <algorithm>
#include <string>

#include "audio/volume.h"
#include "monitors/ddc_access.h"
#include "monitors/enumeration.h"
#include "monitors/monitor_list.h"
#include "platform/windows_codes.h"
#include "popup/popup_controls.h"
#include "popup/popup_layout.h"
#include "popup/popup_proc.h"
#include "popup/popup_refresh.h"
#include "settings/settings_file.h"

namespace lv {
namespace {

uint32_t Inverted(int maximum, int position) { return static_cast<uint32_t>(maximum - std::clamp(position, 0, maximum)); }

void OnAreaSwitch(Core& core) {
    PopupView& view = core.platform.view;
    core.settings.showRGB = view.IsChecked(res::kShowRgb);
    core.settings.showvolume = view.IsChecked(res::kShowVolume);
    view.RedrawNow();
    view.HidePopup();
    ShowColourArea(core);
    LayoutPopup(core);
    SaveAllSettings(core);
    // Opens again in the new size, beside the icon.
    (void)core.platform.window.PostCommand(res::kOpenPopup, 0);
}

bool OnPresetButton(Core& core, uint32_t id) {
    if (id >= res::kBrightnessPresetFirst && id <= res::kBrightnessPresetLast)
        SetBrightness(core, 5 * (id - res::kBrightnessPresetFirst));
    else if (id >= res::kContrastPresetFirst && id <= res::kContrastPresetLast)
        SetContrast(core, 5 * (id - res::kContrastPresetFirst));
    else if (id >= res::kVolumePresetFirst && id <= res::kVolumePresetLast)
        SetVolume(core, static_cast<float>(id - res::kVolumePresetFirst) / 20.0f);
    else
        return false;
    ShowChangedValues(core);
    // The clicked button would keep the focus, and the keys belong to the list.
    core.platform.window.PostFocusControl(res::kMonitorList);
    return true;
}

}  // namespace

bool IsPopupSlider(int id) {
    return id == res::kBrightnessSlider || id == res::kContrastSlider || id == res::kVolumeSlider ||
           (id >= res::kRedSlider && id <= res::kBlueSlider);
}

void OnSliderScroll(Core& core, int id, uint32_t code, int position) {
    if (!IsPopupSlider(id) || code == win::kTbThumbTrack || code == win::kTbEndTrack) return;
    switch (id) {
        case res::kBrightnessSlider:
            SetBrightness(core, Inverted(100, position));
            break;
        case res::kContrastSlider:
            SetContrast(core, Inverted(100, position));
            break;
        case res::kVolumeSlider:
            SetVolume(core, static_cast<float>(Inverted(100, position)) / 100.0f);
            return;
        case res::kRedSlider:
        case res::kGreenSlider:
        case res::kBlueSlider:
            SetColorGain(core, Inverted(255, position), id - res::kRedSlider);
            break;
        default:
            return;
    }
    ShowChangedValues(core);
}

void OnFactoryReset(Core& core) {
    if (core.resetConfirmOpen) return;
    // The question runs its own message loop, in which a command line may select another
    // monitor or the set may change: the answer belongs to the monitor asked about.
    const std::size_t asked = core.SelectedIndex();
    const std::string fingerprint = MonitorFingerprint(core);
    const int german = core.German() ? 1 : 0;
    core.resetConfirmOpen = true;
    const bool yes = core.platform.view.AskYesNo(kResetQuestionCaption[german], kResetQuestionText[german]);
    core.resetConfirmOpen = false;
    if (!yes || MonitorFingerprint(core) != fingerprint) return;
    core.table[asked].factoryResetPending = 1;
    core.RefreshPopup(0);
}

bool OnControlCommand(Core& core, uint32_t id, uint32_t code) {
    switch (id) {
        case res::kMute:
            SetMute(core, !core.volume.volumeMuted);
            LoadVolumeControls(core);
            return true;
        case res::kShowVolume:
        case res::kShowRgb:
            OnAreaSwitch(core);
            return true;
        case res::kColourPreset:
        case res::kInput: {
            if (code != win::kCbnSelChange) return true;
            const int picked = core.platform.view.GetChoiceCurrent(static_cast<int>(id));
            ChoiceModel& model = id == res::kColourPreset ? core.presetChoice : core.inputChoice;
            model.current = picked >= 0 && picked < static_cast<int>(model.items.size()) ? picked : -1;
            if (id == res::kColourPreset)
                OnPresetChoiceChanged(core);
            else
                OnInputChoiceChanged(core);
            return true;
        }
        case res::kFactoryReset:
            OnFactoryReset(core);
            return true;
        case res::kClose:
            OnClose(core);
            return true;
        default:
            return OnPresetButton(core, id);
    }
}

}  // namespace lv
