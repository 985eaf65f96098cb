#include "popup/slider_fill.h"

#include "common/muldiv.h"
#include "platform/windows_codes.h"

namespace lv {

ChannelFill SliderChannelFill(Rect channel, int position, int maximum) {
    // The trackbar's channel is a thin groove; the bar is drawn a little wider.
    const Rect bar{channel.left - 3, channel.top + 2, channel.right + 2, channel.bottom - 4};
    const int32_t filled = MulDiv(bar.bottom - bar.top, maximum - position, maximum);
    const int32_t split = bar.bottom - filled;
    return {{bar.left, bar.top, bar.right, split}, {bar.left, split, bar.right, bar.bottom}};
}

SliderColour SliderColourOf(const Core& core, int id) {
    switch (id) {
        case res::kBrightnessSlider:
            return {false, core.settings.ColorSliderBrightness};
        case res::kContrastSlider:
            return {false, core.settings.ColorSliderContrast};
        case res::kVolumeSlider:
            return {core.volume.volumeMuted, core.settings.ColorSliderVolume};
        case res::kRedSlider:
            return {false, 0x0000FF};
        case res::kGreenSlider:
            return {false, 0x00FF00};
        default:
            return {false, 0xFF0000};
    }
}

int SliderMaximum(int id) { return id >= res::kRedSlider && id <= res::kBlueSlider ? 255 : 100; }

bool PaintsChannel(uint32_t stage, uintptr_t item) { return stage == win::kCddsItemPrePaint && item == win::kTbcdChannel; }

intptr_t SliderCustomDrawResult(uint32_t stage, uintptr_t item) {
    if (stage == win::kCddsPrePaint) return win::kCdrfNotifyItemDraw;
    if (PaintsChannel(stage, item)) return win::kCdrfSkipDefault;
    return 0;
}

}  // namespace lv
