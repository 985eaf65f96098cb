#include "popup/slider_fill.h"

#include <gtest/gtest.h>

#include "commands/command_test_support.h"
#include "platform/windows_codes.h"

namespace lv {
namespace {

// A channel of 100 pixels once widened: 10..116 high less 2 at the top and 4 at the bottom.
constexpr Rect kChannel{20, 10, 24, 116};

TEST(SliderFill, TheBarIsTheValuesShareOfTheWidenedChannel) {
    struct Case {
        const char* name;
        int position, maximum;
        int32_t split;  // where the light gray ends and the bar begins
    };
    for (const Case& c : {Case{"brightness 0", 100, 100, 112}, Case{"brightness 100", 0, 100, 12},
                          Case{"brightness 37", 63, 100, 75}, Case{"gain 128", 127, 255, 62},
                          Case{"gain 255", 0, 255, 12}}) {
        const ChannelFill fill = SliderChannelFill(kChannel, c.position, c.maximum);
        EXPECT_EQ(fill.empty, (Rect{17, 12, 26, c.split})) << c.name;
        EXPECT_EQ(fill.filled, (Rect{17, c.split, 26, 112})) << c.name;
    }
}

TEST(SliderFill, ColoursFollowTheSettingsAndMutingGraysTheVolume) {
    auto s = test::Seeded();
    s->core.settings.ColorSliderBrightness = 0x123456;
    EXPECT_EQ(SliderColourOf(s->core, res::kBrightnessSlider), (SliderColour{false, 0x123456}));
    EXPECT_EQ(SliderColourOf(s->core, res::kContrastSlider), (SliderColour{false, 0x0011D21B}));
    EXPECT_EQ(SliderColourOf(s->core, res::kRedSlider).rgb, 0x0000FFu);
    EXPECT_EQ(SliderColourOf(s->core, res::kBlueSlider).rgb, 0xFF0000u);
    EXPECT_FALSE(SliderColourOf(s->core, res::kVolumeSlider).gray);
    s->core.volume.volumeMuted = true;
    EXPECT_TRUE(SliderColourOf(s->core, res::kVolumeSlider).gray);
    EXPECT_EQ(SliderMaximum(res::kGreenSlider), 255);  // the others: see the tips' values
}

TEST(SliderFill, CustomDrawAnswers) {
    EXPECT_EQ(SliderCustomDrawResult(win::kCddsPrePaint, 0), 0x20);
    EXPECT_EQ(SliderCustomDrawResult(win::kCddsItemPrePaint, win::kTbcdChannel), 4);
    EXPECT_EQ(SliderCustomDrawResult(win::kCddsItemPrePaint, 2), 0);  // the thumb: drawn normally
    EXPECT_EQ(SliderCustomDrawResult(0x10002, win::kTbcdChannel), 0);  // item post-paint
}

}  // namespace
}  // namespace lv
