#include "popup/popup_tips.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "resources/resource.h"

namespace lv {
namespace {

using Kind = ControlTip::Kind;

TEST(PopupTips, SlidersShowTheirValueOthersTheirStringOrNothing) {
    struct Case {
        int id, position;
        ControlTip expected;
    };
    const Case cases[] = {
        {res::kBrightnessSlider, 63, {Kind::Value, "37", 0}},
        {res::kContrastSlider, 0, {Kind::Value, "100", 0}},
        {res::kVolumeSlider, 100, {Kind::Value, "0", 0}},
        {res::kRedSlider, 127, {Kind::Value, "128", 0}},
        {res::kBlueSlider, 0, {Kind::Value, "255", 0}},
        {res::kMute, 0, {Kind::String, "", res::kMute}},
        {res::kShutOffWide, 0, {Kind::String, "", res::kShutOffWide}},
        {res::kInput, 0, {Kind::String, "", res::kInput}},
        {res::kMonitorList, 0, {}},
        {res::kBrightnessPresetFirst, 0, {}},
        {res::kUnusedSlider, 0, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(TipOf(c.id, c.position), c.expected) << c.id;
}

TEST(PopupTips, EveryTextOfTheTableHasATool) {
    const std::span<const int> tools = TipControls();
    for (int id : {res::kMute, res::kColourPreset, res::kInput, res::kFactoryReset, res::kShowRgb, res::kShowVolume,
                   res::kClose, res::kShutOff, res::kShutOffWide})
        EXPECT_NE(std::find(tools.begin(), tools.end(), id), tools.end()) << id;
    EXPECT_EQ(tools.size(), 9u);
}

}  // namespace
}  // namespace lv
