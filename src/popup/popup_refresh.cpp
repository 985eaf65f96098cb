#include "popup/popup_refresh.h"

#include <cmath>
#include <string>

#include "core/requests.h"
#include "monitors/enumeration.h"
#include "monitors/monitor_list.h"
#include "popup/popup_controls.h"

namespace lv {
namespace {

constexpr std::string_view kMutedText = "\xD8";  // a struck-through O in code page 1252
constexpr std::string_view kUnmutedText = "O";

// The five values of a monitor as the popup shows them: a slider runs top down, so its
// position is the scale minus the value.
struct ShownControl {
    int column;
    int label;
    int slider;
    int scale;
    const char* english;
    const char* german;
};

constexpr ShownControl kShownControls[] = {
    {kColumnBrightness, res::kBrightnessLabel, res::kBrightnessSlider, 100, "Brightness ", "Helligkeit "},
    {kColumnContrast, res::kContrastLabel, res::kContrastSlider, 100, "Contrast ", "Kontrast "},
    {kColumnRed, res::kRedLabel, res::kRedSlider, 255, "R:", "R:"},
    {kColumnGreen, res::kRedLabel + 1, res::kRedSlider + 1, 255, "G:", "G:"},
    {kColumnBlue, res::kRedLabel + 2, res::kRedSlider + 2, 255, "B:", "B:"},
};

}  // namespace

void ShowSelectedValues(Core& core) {
    PopupView& view = core.platform.view;
    const int selected = static_cast<int>(core.SelectedIndex());
    for (int row = 0; row < core.list.Rows(); ++row)
        if (row == selected || core.ddc.changedRows.test(static_cast<std::size_t>(row))) ShowRowValues(core, row);
    core.ddc.changedRows.reset();

    if (selected < core.list.Rows()) view.SetText(res::kInputGroup, core.list.Cell(selected, kColumnName));
    const MonitorEntry& entry = core.Selected();
    for (const ShownControl& control : kShownControls) {
        const uint32_t value = ShownValue(entry, control.column);
        view.SetText(control.label, (core.German() ? control.german : control.english) + std::to_string(value));
        view.SetSliderPos(control.slider, control.scale - static_cast<int>(value));
    }
}

void ShowChangedValues(Core& core) {
    if (core.ddc.changedRows.none()) return;
    ShowSelectedValues(core);
    core.platform.view.RedrawNow();
    core.UpdateIcons();
}

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
    const int selected = static_cast<int>(core.SelectedIndex());
    if (selected < core.list.Rows()) SetLaptopMode(core, core.list.IsPanel(selected));
    ShowGainControlsOrHint(core);
    ShowSelectedValues(core);
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
