#include "popup/popup_tips.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lv
