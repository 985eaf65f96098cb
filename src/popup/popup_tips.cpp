#include "popup/popup_tips.h"

#include "popup/popup_commands.h"
#include "popup/slider_fill.h"

namespace lv {
namespace {

constexpr int kTipControls[] = {res::kMute,         res::kColourPreset, res::kInput,   res::kFactoryReset, res::kShowRgb,
                                res::kShowVolume,   res::kClose,        res::kShutOff, res::kShutOffWide};

}  // namespace

ControlTip TipOf(int id, int sliderPosition) {
    if (IsPopupSlider(id)) {
        const int maximum = SliderMaximum(id);
        return {ControlTip::Kind::Value, std::to_string(maximum - sliderPosition), 0};
    }
    for (int control : kTipControls)
        if (control == id) return {ControlTip::Kind::String, {}, id};
    return {};
}

std::span<const int> TipControls() { return kTipControls; }

}  // namespace lv
