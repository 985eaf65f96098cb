#include "popup/popup_commands.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands/command_test_support.h"
#include "monitors/enumeration.h"
#include "platform/windows_codes.h"
#include "popup/popup_proc.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

TEST(PopupSliders, DragStepsAndTheirEndSendNothingEveryOtherCodeOneWrite) {
    for (uint32_t code = 0; code <= 8; ++code) {
        auto s = Seeded();
        OnSliderScroll(s->core, res::kBrightnessSlider, code, 40);
        const bool sent = code != win::kTbThumbTrack && code != win::kTbEndTrack;
        EXPECT_EQ(s->monitors.CallCount("SetMonitorBrightness"), sent ? 1u : 0u) << "code " << code;
        EXPECT_EQ(Hw(*s, 0).brightness.current, sent ? 60u : 70u) << "code " << code;
    }
}

TEST(PopupSliders, EachSliderReachesItsSetterInvertedAndItsLabelFollows) {
    struct Case {
        int slider, position;
        sim::FleetRange sim::FleetMonitor::*value;
        uint32_t expected;
        int label;
        const char* text;
    };
    using M = sim::FleetMonitor;
    for (const Case& c : {Case{res::kContrastSlider, 90, &M::contrast, 10, res::kContrastLabel, "Contrast 10"},
                          Case{res::kRedSlider, 55, &M::red, 200, res::kRedLabel, "R:200"},
                          Case{res::kBlueSlider, 255, &M::blue, 0, res::kRedLabel + 2, "B:0"}}) {
        auto s = Seeded();
        OnSliderScroll(s->core, c.slider, 0, c.position);
        EXPECT_EQ(test::ValueWrites(*s), 1u) << c.text;
        EXPECT_EQ((Hw(*s, 0).*c.value).current, c.expected) << c.text;
        EXPECT_EQ(s->view.Text(c.label), c.text);
    }
    auto s = Seeded();
    OnSliderScroll(s->core, res::kVolumeSlider, 1, 25);
    ASSERT_EQ(s->audio.Sets().size(), 1u);
    EXPECT_FLOAT_EQ(s->audio.Sets()[0].level, 0.75f);
}

TEST(PopupSliders, OtherScrollSourcesAreIgnored) {
    auto s = Seeded();
    for (int id : {0, res::kUnusedSlider, res::kMonitorList, res::kBrightnessPresetFirst})
        OnSliderScroll(s->core, id, 0, 10);
    EXPECT_EQ(test::ValueWrites(*s), 0u);
    EXPECT_TRUE(s->audio.Sets().empty());
}

TEST(PopupPresetButtons, SetTheirValueAndHandTheFocusToTheList) {
    struct Case {
        uint32_t id;
        uint32_t brightness, contrast;  // expected afterwards on monitor 0
        float volume;                   // -1: no volume set
    };
    for (const Case& c : {Case{40001, 0, 75, -1}, Case{40021, 100, 75, -1}, Case{40042, 70, 100, -1},
                          Case{40022, 70, 0, -1}, Case{40043, 70, 75, 0.0f}, Case{40063, 70, 75, 1.0f}}) {
        auto s = Seeded();
        OnCommand(s->core, c.id, 0, 0);
        EXPECT_EQ(Hw(*s, 0).brightness.current, c.brightness) << c.id;
        EXPECT_EQ(Hw(*s, 0).contrast.current, c.contrast) << c.id;
        if (c.volume < 0) {
            EXPECT_TRUE(s->audio.Sets().empty()) << c.id;
        } else {
            ASSERT_EQ(s->audio.Sets().size(), 1u) << c.id;
            EXPECT_EQ(s->audio.Sets()[0].level, c.volume) << c.id;  // exactly, 1.00 included
        }
        EXPECT_EQ(s->window.FocusRequests(), std::vector<int>{res::kMonitorList}) << c.id;
    }
}

TEST(PopupControls, MuteTogglesAndCloseHides) {
    auto s = Seeded();
    s->view.SetVisible(true);
    OnCommand(s->core, res::kMute, 0, 0);
    EXPECT_TRUE(s->audio.Muted());
    EXPECT_EQ(s->view.Text(res::kMute), "\xD8");
    OnCommand(s->core, res::kMute, 0, 0);
    EXPECT_FALSE(s->audio.Muted());
    OnCommand(s->core, res::kClose, 0, 0);
    EXPECT_FALSE(s->view.IsVisible());
}

TEST(PopupControls, AnAreaSwitchReadsTheBoxesLaysOutSavesAndOpensAgain) {
    auto s = Seeded();
    s->view.SetVisible(true);
    s->view.SetChecked(res::kShowRgb, true);
    s->view.SetChecked(res::kShowVolume, false);
    OnCommand(s->core, res::kShowRgb, 0, 0);
    EXPECT_TRUE(s->core.settings.showRGB);
    EXPECT_FALSE(s->view.IsVisible());
    EXPECT_EQ(s->view.Shown(res::kRedSlider), true);
    EXPECT_EQ(s->window.Commands().back(), (sim::PostedCommand{res::kOpenPopup, 0}));
    for (const char16_t* path : {u"C:\\Program Files\\Lumivane\\Lumivane.xml",
                                 u"C:\\Users\\User\\AppData\\Roaming\\Lumivane\\Lumivane.xml"})
        EXPECT_NE(s->files.Contents(path).value_or("").find("showvolume=\"N\""), std::string::npos);
}

TEST(PopupChoices, OnlyASelectionChangeTakesThePickedItem) {
    auto s = Seeded();
    test::CountRefreshesOnly(*s);
    const int user = s->core.presetChoice.FindNoCase("User1");
    ASSERT_GE(user, 0);
    s->view.SetChoiceCurrent(res::kColourPreset, user);
    OnCommand(s->core, res::kColourPreset, 3, 0);  // CBN_SETFOCUS
    EXPECT_EQ(s->core.table[0].pendingPreset, 0);
    OnCommand(s->core, res::kColourPreset, win::kCbnSelChange, 0);
    EXPECT_EQ(s->core.table[0].pendingPreset, 11);
}

// The questions run a message loop of their own: the answer is yes, and `meanwhile` runs
// while it is asked.
std::unique_ptr<sim::Simulator> AskedWhile(std::function<void(sim::Simulator&)> meanwhile) {
    auto s = Seeded();
    s->view.SetVisible(true);
    s->view.ScriptAnswers({true});
    s->view.WhileAsking([&s = *s, meanwhile] { meanwhile(s); });
    return s;
}

// A line run meanwhile selects monitor 2.
TEST(PopupQuestions, TheAnswerGoesToTheMonitorAskedAbout) {
    const auto selectSecond = [](sim::Simulator& s) { s.Run("2 "); };
    auto s = AskedWhile(selectSecond);
    s->view.SetChoiceCurrent(res::kInput, s->core.inputChoice.FindNoCase("HDMI1"));
    OnCommand(s->core, res::kInput, win::kCbnSelChange, 0);
    EXPECT_EQ(s->core.selectedMonitor, 1);
    EXPECT_EQ(Hw(*s, 0).input, 0x11u);
    EXPECT_EQ(Hw(*s, 1).input, 0x11u);  // unchanged: it was HDMI1 before
    EXPECT_EQ(s->monitors.CallCount("SetVCPFeature"), 1u);

    s = AskedWhile(selectSecond);
    test::CountRefreshesOnly(*s);
    OnCommand(s->core, res::kFactoryReset, 0, 0);
    EXPECT_EQ(s->core.table[0].factoryResetPending, 1);
    EXPECT_EQ(s->core.table[1].factoryResetPending, 0);
    EXPECT_FALSE(s->core.resetConfirmOpen);
}

TEST(PopupQuestions, AChangedMonitorSetTakesNoAnswer) {
    for (uint32_t control : {static_cast<uint32_t>(res::kInput), static_cast<uint32_t>(res::kFactoryReset)}) {
        // Another pass meanwhile identified monitor 2 differently.
        auto s = AskedWhile([](sim::Simulator& s) { s.core.table[1].description = "NEW"; });
        test::CountRefreshesOnly(*s);
        s->view.SetChoiceCurrent(res::kInput, s->core.inputChoice.FindNoCase("HDMI1"));
        OnCommand(s->core, control, win::kCbnSelChange, 0);
        EXPECT_EQ(s->core.table[0].pendingInput, 0) << control;
        EXPECT_EQ(s->core.table[0].factoryResetPending, 0) << control;
    }
}

}  // namespace
}  // namespace lv
