#include "popup/popup_controls.h"

#include "popup/popup_tips.h"


namespace lv {

void SetLaptopMode(Core& core, bool isLaptop) {
    PopupView& view = core.platform.view;
    for (int control : {res::kColourPreset, res::kInput, res::kInputGroup, res::kFactoryReset})
        view.Enable(control, !isLaptop);
    for (int control = res::kRedSlider; control <= res::kRedLabel + 2; ++control) view.Enable(control, !isLaptop);
    view.Show(res::kContrastLabel, !isLaptop);
    view.Show(res::kContrastSlider, !isLaptop);
    for (int button = res::kContrastPresetFirst; button <= res::kContrastPresetLast; ++button) view.Show(button, !isLaptop);
    if (isLaptop) {
        for (int slider = res::kRedSlider; slider <= res::kRedSlider + 2; ++slider) view.SetSliderPos(slider, 255);
        view.Show(core.German() ? res::kLaptopTextDe : res::kLaptopTextEn, true);
        view.Show(res::kLaptopLevels, true);
    } else {
        view.Show(res::kLaptopTextEn, false);
        view.Show(res::kLaptopTextDe, false);
        view.Show(res::kLaptopLevels, false);
    }
}

void ShowGainControlsOrHint(Core& core) {
    if (!core.settings.showRGB) return;
    PopupView& view = core.platform.view;
    const bool user = core.Selected().userPresetActive != 0;
    for (int control = res::kRedSlider; control <= res::kRedLabel + 2; ++control) view.Show(control, user);
    view.Show(res::kRgbHintEn, !user && !core.German());
    view.Show(res::kRgbHintDe, !user && core.German());
}

void ShowColourArea(Core& core) {
    PopupView& view = core.platform.view;
    view.Show(res::kRgbHintEn, false);
    view.Show(res::kRgbHintDe, false);
    const bool show = core.settings.showRGB;
    for (int control : {res::kColourPreset, res::kInput, res::kInputGroup, res::kFactoryReset}) view.Show(control, show);
    for (int control = res::kRedSlider; control <= res::kBlueLabel; ++control) view.Show(control, show);
}

void SetUpPopupControls(Core& core) {
    PopupView& view = core.platform.view;
    for (int slider : {res::kBrightnessSlider, res::kContrastSlider, res::kVolumeSlider}) view.SetSliderRange(slider, 0, 100);
    for (int slider : {res::kRedSlider, res::kGreenSlider, res::kBlueSlider}) view.SetSliderRange(slider, 0, 255);
    view.SetUpList({"Monitor", "Bri.", "Con.", "R", "G", "B"});
    const std::span<const int> tips = TipControls();
    view.SetUpControlTips({tips.begin(), tips.end()});
    view.SetUpInfoTip();
    ShowColourArea(core);
}

}  // namespace lv
