// p and s: by number through the pending value and a popup refresh, by name through the
// popup's choices. Most tests stop at the refresh request and look at what is pending;
// the last ones let the refresh pass carry the value to the monitor.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "command_test_support.h"
#include "commands/interpreter.h"
#include "monitors/ddc_access.h"
#include "popup/popup_controls.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

// Row 0 offers sRGB, 6500K, User1 (current sRGB) and DisplayPort1, HDMI1, HDMI2 (current
// DisplayPort1). Row 1 offers 6500K, 9300K, User2 and VGA1, DVI1, HDMI1.
constexpr std::string_view kDesk = R"(
[display]
friendly = NOVA U27
[monitor]
capabilities = (prot(monitor)type(LCD)model(U2719D)vcp(10 12 14(01 05 0B) 60(0F 11 12)))
preset = 1
input = 0x0F

[display]
friendly = ORION 243
[monitor]
capabilities = (prot(monitor)type(lcd)model(PL2779Q)vcp(10 12 14(05 08 0C) 60(01 03 11)))
preset = 0x0C
input = 0x11
)";

struct ChoiceCase {
    const char* line;
    int32_t pending;
    int refreshes;
    const char* current;  // the choice's current text afterwards
};

void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << "\"" << c.line << "\""; }

class PresetTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(PresetTest, PicksAPreset) {
    const ChoiceCase& c = GetParam();
    auto sim = Seeded(kDesk);
    test::CountRefreshesOnly(*sim);
    sim->Run(c.line);
    EXPECT_EQ(sim->core.table[0].pendingPreset, c.pending);
    EXPECT_EQ(sim->refreshRequests, c.refreshes);
    EXPECT_EQ(sim->core.presetChoice.CurrentText(), c.current);
    EXPECT_EQ(sim->view.ChoiceCurrent(id::kPresetChoice), sim->core.presetChoice.current);
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u) << "the refresh pass writes it, not the command";
    EXPECT_EQ(Hw(*sim, 0).preset, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PresetTest,
    ::testing::Values(ChoiceCase{"p 5", 5, 1, "sRGB"},  // by number: the choice is not touched
                      ChoiceCase{"p 1", 1, 1, "sRGB"}, ChoiceCase{"p 13", 13, 1, "sRGB"},
                      ChoiceCase{"p 05", 5, 1, "sRGB"}, ChoiceCase{"p 9", 9, 1, "sRGB"},  // not offered: still sent
                      ChoiceCase{"p 0", 0, 0, "sRGB"}, ChoiceCase{"p 14", 0, 0, "sRGB"},
                      ChoiceCase{"p 99999999999", 0, 0, "sRGB"}, ChoiceCase{"p 6500k", 5, 1, "6500K"},
                      ChoiceCase{"p 6500", 5, 1, "6500K"}, ChoiceCase{"p srgb", 1, 1, "sRGB"},
                      ChoiceCase{"p user", 11, 1, "User1"}, ChoiceCase{"p user1", 11, 1, "User1"},
                      ChoiceCase{"p user2", 11, 1, "User1"},  // not offered: falls back to User1
                      ChoiceCase{"p user3", 11, 1, "User1"}, ChoiceCase{"p 9300k", 0, 0, "sRGB"},
                      ChoiceCase{"p native", 0, 0, "sRGB"}, ChoiceCase{"p xyz", 0, 0, "sRGB"},
                      ChoiceCase{"p", 0, 0, "sRGB"}, ChoiceCase{"p   ", 0, 0, "sRGB"}));

TEST(Preset, UserPresetTheMonitorOffersIsTaken) {
    auto sim = Seeded(kDesk);
    test::CountRefreshesOnly(*sim);
    sim->Run("2 ");
    FillChoices(sim->core, sim->core.table[1]);
    sim->Run("p user2");
    EXPECT_EQ(sim->core.table[1].pendingPreset, 12);
    EXPECT_EQ(sim->core.table[0].pendingPreset, 0);

    sim->core.table[1].pendingPreset = 0;
    sim->refreshRequests = 0;
    sim->Run("p user");  // no User1 here to fall back to
    EXPECT_EQ(sim->core.table[1].pendingPreset, 0);
    EXPECT_EQ(sim->refreshRequests, 0);
}

TEST(Preset, LongNamesAreReadFromTheirFirstSixCharacters) {
    auto sim = Seeded(R"(
[display]
[monitor]
capabilities = (vcp(14(02 09 0A)))
)");
    test::CountRefreshesOnly(*sim);
    struct Case {
        const char* line;
        int32_t pending;
    };
    for (const Case& c : {Case{"p 10000k", 9}, Case{"p 11500k", 10}, Case{"p native", 2}}) {
        sim->core.table[0].pendingPreset = 0;
        sim->Run(c.line);
        EXPECT_EQ(sim->core.table[0].pendingPreset, c.pending) << c.line;
    }
}

TEST(Preset, LineGoesOnAfterThePresetWord) {
    auto sim = Seeded(kDesk);
    test::CountRefreshesOnly(*sim);
    sim->Run("p 6500k b 20");
    EXPECT_EQ(sim->core.table[0].pendingPreset, 5);
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u);
}

TEST(Preset, NothingAfterTheLetterStopsTheLine) {
    auto sim = Seeded(kDesk);
    test::CountRefreshesOnly(*sim);
    CommandInterpreter(sim->core, "p");
    CommandInterpreter(sim->core, "p    ");
    EXPECT_EQ(sim->refreshRequests, 0);
    EXPECT_EQ(sim->core.table[0].pendingPreset, 0);
}

class InputTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(InputTest, PicksAnInput) {
    const ChoiceCase& c = GetParam();
    auto sim = Seeded(kDesk);
    test::CountRefreshesOnly(*sim);
    sim->Run(c.line);
    EXPECT_EQ(sim->core.table[0].pendingInput, c.pending);
    EXPECT_EQ(sim->refreshRequests, c.refreshes);
    EXPECT_EQ(sim->core.inputChoice.CurrentText(), c.current);
    EXPECT_TRUE(sim->view.Questions().empty()) << "the popup is hidden: nothing to confirm";
    EXPECT_EQ(sim->monitors.DdcCallCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, InputTest,
    ::testing::Values(ChoiceCase{"s 23", 23, 1, "DisplayPort1"}, ChoiceCase{"s 1", 1, 1, "DisplayPort1"},
                      ChoiceCase{"s 31", 31, 1, "DisplayPort1"}, ChoiceCase{"s 32", 0, 0, "DisplayPort1"},
                      ChoiceCase{"s 0", 0, 0, "DisplayPort1"}, ChoiceCase{"s 17", 17, 1, "DisplayPort1"},
                      ChoiceCase{"s hdmi", 18, 2, "HDMI2"},  // HDMI1, then HDMI2: the last wins
                      ChoiceCase{"s hdmi1", 17, 1, "HDMI1"}, ChoiceCase{"s hdmi2", 18, 1, "HDMI2"},
                      ChoiceCase{"s displayport", 15, 1, "DisplayPort1"},
                      ChoiceCase{"s displayport2", 0, 0, "DisplayPort1"},  // not offered
                      ChoiceCase{"s vga", 0, 0, "DisplayPort1"}, ChoiceCase{"s dvi1", 0, 0, "DisplayPort1"},
                      ChoiceCase{"s xyz", 0, 0, "DisplayPort1"}, ChoiceCase{"s", 0, 0, "DisplayPort1"}));

TEST(Input, LineGoesOnAfterTheInputWord) {
    auto sim = Seeded(kDesk);
    test::CountRefreshesOnly(*sim);
    sim->Run("s hdmi1 b 20");
    EXPECT_EQ(sim->core.table[0].pendingInput, 17);
    EXPECT_EQ(Hw(*sim, 0).brightness.current, 20u);
}

TEST(Input, VisiblePopupAsksAndNoRestoresTheCurrentInput) {
    auto sim = Seeded(kDesk);
    test::CountRefreshesOnly(*sim);
    sim->view.SetVisible(true);
    sim->view.ScriptAnswers({false});
    sim->Run("s hdmi1");
    EXPECT_EQ(sim->view.Questions().size(), 1u);
    EXPECT_EQ(sim->core.table[0].pendingInput, 0);
    EXPECT_EQ(sim->refreshRequests, 0);
    EXPECT_EQ(sim->core.inputChoice.CurrentText(), "DisplayPort1");
    EXPECT_EQ(sim->view.ChoiceCurrent(id::kInputChoice), 0);
    EXPECT_FALSE(sim->core.inputConfirmOpen);
}

TEST(Input, VisiblePopupAsksAndYesTakesTheInput) {
    auto sim = Seeded(kDesk);
    test::CountRefreshesOnly(*sim);
    sim->view.SetVisible(true);
    sim->view.ScriptAnswers({true});
    sim->Run("s hdmi1");
    EXPECT_EQ(sim->view.Questions().size(), 1u);
    EXPECT_EQ(sim->core.table[0].pendingInput, 17);
    EXPECT_EQ(sim->refreshRequests, 1);
}

TEST(Input, InputByNumberAsksNothingEvenWhenVisible) {
    auto sim = Seeded(kDesk);
    test::CountRefreshesOnly(*sim);
    sim->view.SetVisible(true);
    sim->Run("s 17");
    EXPECT_TRUE(sim->view.Questions().empty());
    EXPECT_EQ(sim->core.table[0].pendingInput, 17);
}

TEST(Input, GoesToTheSelectedMonitor) {
    auto sim = Seeded(kDesk);
    test::CountRefreshesOnly(*sim);
    sim->Run("2 s 3 p 8");
    EXPECT_EQ(sim->core.table[1].pendingInput, 3);
    EXPECT_EQ(sim->core.table[1].pendingPreset, 8);
    EXPECT_EQ(sim->core.table[0].pendingInput, 0);
    EXPECT_EQ(sim->core.table[0].pendingPreset, 0);
}

TEST(PresetAndInputWrites, RefreshPassWritesThePresetAndWaitsForIt) {
    auto sim = Seeded(kDesk);
    sim->Run("p 6500k");
    EXPECT_EQ(Hw(*sim, 0).preset, 5u);
    EXPECT_EQ(sim->core.table[0].pendingPreset, 0) << "cleared once written";
    EXPECT_EQ(sim->monitors.CallCount("SetVCPFeature"), 1u);
    const auto& pauses = sim->clock.Pauses();
    EXPECT_EQ(std::count(pauses.begin(), pauses.end(), kPresetSettleMs), 1);
}

TEST(PresetAndInputWrites, EachOfferedInputIsWrittenInTurnAndTheLastStays) {
    auto sim = Seeded(kDesk);
    sim->Run("s hdmi");
    EXPECT_EQ(Hw(*sim, 0).input, 0x12u);
    EXPECT_EQ(sim->monitors.CallCount("SetVCPFeature"), 2u);
    EXPECT_EQ(sim->refreshRequests, 2);
    EXPECT_EQ(sim->core.table[0].pendingInput, 0);
    const auto& pauses = sim->clock.Pauses();
    EXPECT_EQ(std::count(pauses.begin(), pauses.end(), kInputSettleMs), 2);
}

TEST(PresetAndInputWrites, NothingOfferedNothingWritten) {
    auto sim = Seeded(kDesk);
    sim->Run("p 9300k s vga");
    EXPECT_EQ(sim->monitors.CallCount("SetVCPFeature"), 0u);
    EXPECT_EQ(sim->refreshRequests, 0);
    EXPECT_EQ(Hw(*sim, 0).preset, 1u);
    EXPECT_EQ(Hw(*sim, 0).input, 0x0Fu);
}

TEST(PresetAndInputWrites, InputByNumberReachesTheSelectedMonitor) {
    auto sim = Seeded(kDesk);
    sim->Run("2 s 3");
    EXPECT_EQ(Hw(*sim, 1).input, 3u);
    EXPECT_EQ(Hw(*sim, 0).input, 0x0Fu);
}

}  // namespace
}  // namespace lv

namespace lv {
namespace {

// A preset or input named after a selection in the same line is looked up among what the
// newly selected monitor offers, never among the lists the popup showed before.
TEST(PresetAfterSelection, UsesTheListsOfTheNewlySelectedMonitor) {
    auto sim = test::Seeded(kDesk);
    test::CountRefreshesOnly(*sim);
    sim->Run("2 p srgb");  // row 0 offers sRGB, row 1 does not
    EXPECT_EQ(sim->core.table[1].pendingPreset, 0);
    EXPECT_EQ(sim->core.table[0].pendingPreset, 0);
    sim->Run("2 p user");  // row 1 offers User2 only: no User1 to fall back to
    EXPECT_EQ(sim->core.table[1].pendingPreset, 0);
    sim->Run("2 p 9300k s vga");
    EXPECT_EQ(sim->core.table[1].pendingPreset, 8);
    EXPECT_EQ(sim->core.table[1].pendingInput, 1);
    sim->Run("1 s hdmi2");
    EXPECT_EQ(sim->core.table[0].pendingInput, 18);
}

}  // namespace
}  // namespace lv
