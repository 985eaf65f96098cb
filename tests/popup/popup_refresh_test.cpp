#include "popup/popup_refresh.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "commands/command_test_support.h"
#include "platform/windows_codes.h"

namespace lv {
namespace {

using test::Seeded;

struct Shown {
    std::string cell;
    std::optional<std::string> label;
    std::optional<int> slider;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& s) {
    return out << s.cell << " | " << s.label.value_or("(none)") << " | " << (s.slider ? std::to_string(*s.slider) : "(none)");
}

struct ValueCase {
    const char* name;
    std::string fleet;
    bool german;
    const char* line;
    int column, label, slider;
    Shown expected;
};

std::string DeskWith(std::string_view from, std::string_view to) {
    std::string fleet(test::kDesk);
    fleet.replace(fleet.find(from), from.size(), to);
    return fleet;
}

Shown Look(const sim::Simulator& s, const ValueCase& c) {
    return {s.core.list.Cell(0, c.column), s.view.Text(c.label), s.view.SliderPos(c.slider)};
}

// A value a command line wrote and the same value found by a refresh of the popup look
// alike: one function formats the cell, the label and the slider.
TEST(ShownValues, AWrittenValueAndARefreshedOneLookAlike) {
    const std::string desk(test::kDesk);
    const ValueCase cases[] = {
        {"brightness", desk, false, "b 37", kColumnBrightness, res::kBrightnessLabel, res::kBrightnessSlider,
         {"37", "Brightness 37", 63}},
        {"contrast in German", desk, true, "c 60", kColumnContrast, res::kContrastLabel, res::kContrastSlider,
         {"60", "Kontrast 60", 40}},
        {"gain", desk, false, "g 200", kColumnGreen, res::kRedLabel + 1, res::kRedSlider + 1, {"200", "G:200", 55}},
        // Raw 300 on a 0..255 range normalises above the scale: shown at the top.
        {"gain above 255", DeskWith("blue = 0 200 255", "blue = 0 300 255"), false, "b 37", kColumnBlue,
         res::kRedLabel + 2, res::kRedSlider + 2, {"255", "B:255", 0}},
        // Four raw steps: 50 is written as 2, which reads back as 67; the write failed, but
        // the popup shows what the monitor now holds.
        {"a write read back otherwise", DeskWith("brightness = 0 70 100", "brightness = 0 3 3"), false, "b 50",
         kColumnBrightness, res::kBrightnessLabel, res::kBrightnessSlider, {"67", "Brightness 67", 33}},
        {"laptop panel", "[display]\ntechnology = 0x80000000\n[monitor]\nddc = dead\n[panel]\ncurrent = 40\n", true,
         "b 60", kColumnBrightness, res::kBrightnessLabel, res::kBrightnessSlider, {"60", "Helligkeit 60", 40}},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto written = Seeded(c.fleet);
        written->core.settings.languageId = c.german ? win::kLangGerman : win::kLangEnglish;
        written->Run(c.line);
        EXPECT_EQ(Look(*written, c), c.expected);

        sim::Simulator found(written->fleet);  // the hardware as the line left it
        found.core.settings.languageId = written->core.settings.languageId;
        found.Seed();
        RefreshPopup(found.core, 0);
        EXPECT_EQ(Look(found, c), c.expected);
    }
}

TEST(ShownValues, SameValuesShowsEveryRowWrittenAndTheSelectedOnesControls) {
    auto s = Seeded();
    s->core.settings.samevalues = true;
    s->core.selectedMonitor = 1;
    const int redrawsBefore = s->view.RedrawCount();
    s->Run("b 40");
    EXPECT_EQ(s->core.list.Cell(0, kColumnBrightness), "40");
    EXPECT_EQ(s->core.list.Cell(1, kColumnBrightness), "40");
    EXPECT_EQ(s->core.list.Cell(2, kColumnBrightness), "?") << "a silent row keeps its mark";
    EXPECT_EQ(s->view.Text(res::kContrastLabel), "Contrast 40") << "the labels are the selected monitor's";
    EXPECT_EQ(s->view.RedrawCount(), redrawsBefore + 1);
    EXPECT_TRUE(s->core.ddc.changedRows.none());

    s->Run("v 20");  // no monitor value: the controls are left alone
    EXPECT_EQ(s->view.RedrawCount(), redrawsBefore + 1);
}

// Laptop mode and the gain area follow the selected row after each refresh.
TEST(PopupRefresh, LaptopModeAndGainAreaFollowTheSelectedRow) {
    struct Case {
        int row;
        bool contrast, laptopText, gainSliders, gainHint;
    };
    // Row 0 is in sRGB, row 1 in User2, row 2 (silent on DDC/CI, built in) is the laptop panel.
    std::string fleet = std::string(test::kDesk) + "[panel]\ndisplay = 3\ncurrent = 40\n";
    fleet.replace(fleet.find("friendly = ZETA 24"), 18, "friendly = ZETA 24\ntechnology = 0x80000000");
    for (const Case& c : {Case{0, true, false, false, true}, Case{1, true, false, true, false},
                          Case{2, false, true, false, true}}) {
        SCOPED_TRACE(c.row);
        auto s = Seeded(fleet);
        s->core.settings.showRGB = true;
        s->core.selectedMonitor = c.row;
        RefreshPopup(s->core, 0);
        EXPECT_EQ(s->view.Shown(res::kContrastSlider), c.contrast);
        EXPECT_EQ(s->view.Shown(res::kLaptopTextEn), c.laptopText);
        EXPECT_EQ(s->view.Shown(res::kRedSlider), c.gainSliders);
        EXPECT_EQ(s->view.Shown(res::kRgbHintEn), c.gainHint);
    }
}

}  // namespace
}  // namespace lv
