// p and s: by number through the pending value and a popup refresh, by name through the
// popup's choices. Most tests stop at the refresh request and look at what is pending;
// the last ones let the refresh pass carry the value to the monitor.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "command_test_support.h"
#include "commands/interpreter.h"
#include "monitors/ddc_access.h"
#include "monitors/monitor_list.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

// The line (p or s), the value left pending, the refreshes asked for and the choice's
// current text afterwards.
TEST(PresetAndInput, PicksAPresetOrAnInput) {
    const std::tuple<const char*, int32_t, int, const char*> cases[] = {
        {"p 05", 5, 1, "sRGB"}, {"p 9", 9, 1, "sRGB"},  // not offered: still sent
        {"p 14", 0, 0, "sRGB"}, {"p 99999999999", 0, 0, "sRGB"},
        {"p 6500", 5, 1, "6500K"}, {"p user", 11, 1, "User1"},
        {"p user2", 11, 1, "User1"},  // not offered: falls back to User1
        {"p 9300k", 0, 0, "sRGB"},
        {"p xxx6500", 0, 0, "sRGB"},  // only the first six characters are read
        {"s 31", 31, 1, "DisplayPort1"}, {"s 32", 0, 0, "DisplayPort1"},
        {"s 0", 0, 0, "DisplayPort1"},
        {"s hdmi", 18, 2, "HDMI2"},  // HDMI1, then HDMI2: the last wins
        {"s hdmi1", 17, 1, "HDMI1"}, {"s displayport", 15, 1, "DisplayPort1"},
        {"s displayport2", 0, 0, "DisplayPort1"},  // not offered
        {"s vga", 0, 0, "DisplayPort1"}};
    for (const auto& [line, pending, refreshCount, current] : cases) {
        SCOPED_TRACE(line);
        const bool preset = line[0] == 'p';
        auto sim = Seeded();
        const std::shared_ptr<int> refreshes = test::CountRefreshesOnly(*sim);
        sim->Run(line);
        EXPECT_EQ(preset ? sim->core.table[0].pendingPreset : sim->core.table[0].pendingInput, pending);
        EXPECT_EQ(*refreshes, refreshCount);
        const ChoiceModel& choice = preset ? sim->core.presetChoice : sim->core.inputChoice;
        EXPECT_EQ(choice.CurrentText(), current);
        EXPECT_EQ(sim->view.ChoiceCurrent(preset ? res::kColourPreset : res::kInput), choice.current);
        EXPECT_TRUE(sim->view.Questions().empty()) << "the popup is hidden: nothing to confirm";
        EXPECT_EQ(sim->monitors.DdcCallCount(), 0u) << "the refresh pass writes it, not the command";
    }
}

// An input chosen by name while the popup shows asks first; No restores the current one.
TEST(PresetAndInput, VisiblePopupAsksBeforeANamedInput) {
    // The line, the answer, the questions asked, the input pending and the one shown afterwards.
    const std::tuple<const char*, bool, std::size_t, int32_t, const char*> cases[] = {
        {"s hdmi1", false, 1, 0, "DisplayPort1"}, {"s hdmi1", true, 1, 17, "HDMI1"},
        {"s 17", false, 0, 17, "DisplayPort1"}};
    for (const auto& [line, yes, questions, pending, current] : cases) {
        SCOPED_TRACE(std::string(line) + (yes ? ", yes" : ", no"));
        auto sim = Seeded();
        test::CountRefreshesOnly(*sim);
        sim->view.SetVisible(true);
        sim->view.ScriptAnswers({yes});
        sim->Run(line);
        EXPECT_EQ(sim->view.Questions().size(), questions);
        EXPECT_EQ(sim->core.table[0].pendingInput, pending);
        EXPECT_EQ(sim->core.inputChoice.CurrentText(), current);
        EXPECT_FALSE(sim->core.inputConfirmOpen);
    }
}

TEST(PresetAndInput, EachOfferedInputIsWrittenInTurnAndTheLineGoesOn) {
    auto sim = Seeded();
    sim->Run("s hdmi b 20");
    EXPECT_EQ(Hw(*sim, 0).input, 0x12u);
    EXPECT_EQ(sim->monitors.CallCount("SetVCPFeature"), 2u);
    EXPECT_EQ(sim->core.table[0].pendingInput, 0);
    const auto& pauses = sim->clock.Pauses();
    EXPECT_EQ(std::count(pauses.begin(), pauses.end(), kInputSettleMs), 2);
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u);
}

// A preset or input named after a selection in the same line is looked up among what the
// newly selected monitor offers, never among the lists the popup showed before.
TEST(PresetAfterSelection, UsesTheListsOfTheNewlySelectedMonitor) {
    auto sim = Seeded();
    test::CountRefreshesOnly(*sim);
    sim->Run("2 p srgb");  // row 0 offers sRGB, row 1 does not
    EXPECT_EQ(sim->core.table[1].pendingPreset, 0);
    EXPECT_EQ(sim->core.table[0].pendingPreset, 0);
    sim->Run("2 p user");  // row 1 offers User2 only: no User1 to fall back to
    EXPECT_EQ(sim->core.table[1].pendingPreset, 0);
    sim->Run("2 p user2");
    EXPECT_EQ(sim->core.table[1].pendingPreset, 12);
    sim->Run("2 p 9300k s vga");
    EXPECT_EQ(sim->core.table[1].pendingPreset, 8);
    EXPECT_EQ(sim->core.table[1].pendingInput, 1);
    sim->Run("1 s hdmi2");
    EXPECT_EQ(sim->core.table[0].pendingInput, 18);
    sim->Run("2 s 3 p 13");  // numbers, too, go to the monitor selected
    EXPECT_EQ(sim->core.table[1].pendingInput, 3);
    EXPECT_EQ(sim->core.table[1].pendingPreset, 13);
}

}  // namespace
}  // namespace lv
