#include "popup/popup_refresh.h"

#include <cmath>
#include <string>

#include "monitors/enumeration.h"
#include "monitors/monitor_list.h"
#include "core/requests.h"

namespace lv {
namespace {

constexpr std::string_view kMutedText = "\xD8";  // a struck-through O in code page 1252
constexpr std::string_view kUnmutedText = "O";

void LoadSelectedEntry(Core& core) {
    PopupView& view = core.platform.view;
    const MonitorEntry& entry = core.Selected();
    const bool german = core.German();
    const int row = static_cast<int>(core.SelectedIndex());
    if (row < core.list.Rows()) view.SetText(res::kInputGroup, core.list.Cell(row, kColumnName));
    view.SetSliderPos(res::kBrightnessSlider, 100 - static_cast<int>(entry.brightness));
    view.SetSliderPos(res::kContrastSlider, 100 - static_cast<int>(entry.contrast));
    view.SetText(res::kBrightnessLabel, (german ? "Helligkeit " : "Brightness ") + std::to_string(entry.brightness));
    view.SetText(res::kContrastLabel, (german ? "Kontrast " : "Contrast ") + std::to_string(entry.contrast));
    const uint32_t gains[3] = {entry.red, entry.green, entry.blue};
    const char* const names[3] = {"R:", "G:", "B:"};
    for (int channel = 0; channel < 3; ++channel) {
        view.SetSliderPos(res::kRedSlider + channel, 255 - static_cast<int>(gains[channel]));
        view.SetText(res::kRedLabel + channel, names[channel] + std::to_string(gains[channel]));
    }
}

}  // namespace

void LoadVolumeControls(Core& core) {
    PopupView& view = core.platform.view;
    float level = 0;
    bool muted = false;
    const bool answered = core.platform.audio.GetMasterVolumeLevelScalar(level);
    if (answered) {
        const int percent = static_cast<int>(std::lround(std::clamp(level, 0.0f, 1.0f) * 100.0f));
        core.volume.volumePercent = percent;
        view.SetText(res::kVolumeLabel, std::string(core.German() ? "Ton " : "Vol. ") + std::to_string(percent));
        view.SetSliderPos(res::kVolumeSlider, 100 - percent);
        if (core.platform.audio.GetMute(muted)) core.volume.volumeMuted = muted;
        view.SetText(res::kMute, core.volume.volumeMuted ? kMutedText : kUnmutedText);
    }
    view.Enable(res::kVolumeSlider, answered);
    view.Enable(res::kMute, answered);
}

void RefreshPopup(Core& core, int show) {
    (void)EnumerateUntilAnswered(core);
    SelectListRow(core);
    LoadSelectedEntry(core);
    LoadVolumeControls(core);
    core.platform.view.RedrawNow();
    core.UpdateIcons();
    if (core.startupComplete) {
        std::string fingerprint = MonitorFingerprint(core);
        const bool changed = fingerprint != core.monitorFingerprint;
        core.monitorFingerprint = std::move(fingerprint);
        if (changed) {
            // Controls of a monitor set that is gone would be stale: a fresh start rebuilds them.
            RequestRestart(core, core.openedFromIcon ? RestartView::AsStarted : RestartView::KeepHidden);
            return;
        }
    }
    if (show == 1 && core.startupComplete && !core.platform.view.IsVisible()) core.ShowPopupNearIcon();
}

}  // namespace lv
