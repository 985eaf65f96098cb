#include "popup/popup_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <string>

#include "commands/command_test_support.h"
#include "popup/popup_controls.h"

namespace lv {
namespace {

// One display with `count` answering physical monitors.
std::string FleetOf(int count) {
    std::string fleet = "[display]\nfriendly = DESK\n";
    for (int i = 0; i < count; ++i) fleet += "[monitor]\nbrightness = 0 50 100\n";
    return fleet;
}

std::unique_ptr<sim::Simulator> Started(const std::string& fleetText) {
    sim::FleetParseResult parsed = sim::ParseFleet(fleetText);
    EXPECT_TRUE(parsed.ok);
    auto s = std::make_unique<sim::Simulator>(std::move(parsed.fleet));
    s->Seed();
    return s;
}

std::map<int, Rect> AllControlRects(const sim::SimPopupView& view) {
    std::map<int, Rect> rects;
    for (int id : {res::kMonitorList, res::kShowRgb, res::kShowVolume, res::kClose}) rects[id] = *view.ControlRect(id);
    for (int id : ControlsBelowList()) rects[id] = *view.ControlRect(id);
    return rects;
}

int Height(Rect r) { return r.bottom - r.top; }

constexpr int kRowHeight = 19;  // the simulated list's rows

TEST(PopupLayout, ASecondMonitorMakesTheListOneRowTallerAndMovesEverythingBelowItDownByOneRow) {
    auto one = Started(FleetOf(1));
    auto two = Started(FleetOf(2));
    EXPECT_EQ(Height(two->view.PopupRect()) - Height(one->view.PopupRect()), kRowHeight);
    EXPECT_EQ(two->core.expectedPopupHeight - one->core.expectedPopupHeight, kRowHeight);
    EXPECT_EQ(Height(*two->view.ControlRect(res::kMonitorList)) - Height(*one->view.ControlRect(res::kMonitorList)),
              kRowHeight);
    const std::map<int, Rect> lower = AllControlRects(two->view);
    for (const auto& [id, rect] : AllControlRects(one->view)) {
        if (id == res::kMonitorList || id == res::kClose) continue;  // the list grows; 1214 stays at the top
        EXPECT_EQ(lower.at(id), Offset(rect, 0, kRowHeight)) << "control " << id;
    }
}

TEST(PopupLayout, StartUpFixesTheHeightBelowTheLowestPresetAndTheCheckBoxesBelowTheList) {
    auto s = Started(FleetOf(1));
    const sim::SimPopupView& view = s->view;
    const Rect popup = view.PopupRect();
    const Rect lowest = *view.ControlRect(res::kBrightnessPresetFirst);
    // Client top is one border below the window's.
    EXPECT_EQ(popup.bottom, popup.top + 1 + lowest.bottom + kRowHeight * 6 / 10);
    EXPECT_EQ(s->core.expectedPopupHeight, Height(popup) - 2);
    const Rect list = *view.ControlRect(res::kMonitorList);
    for (int id : {res::kShowRgb, res::kShowVolume}) {
        EXPECT_GE(view.ControlRect(id)->top, list.bottom) << id;
        EXPECT_LT(view.ControlRect(id)->bottom, view.ControlRect(res::kBrightnessLabel)->top) << id;
    }
    // The presets of each column keep their order below the list.
    EXPECT_GT(view.ControlRect(res::kBrightnessPresetLast)->top, view.ControlRect(res::kShowRgb)->bottom);
}

// The template's popup is 467 pixels wide with a one-pixel border; the list starts 15
// pixels in, so its inner width is the window's less 32.
struct AreaCase {
    const char* name;
    bool showRgb, showVolume;
    int width;
    std::array<int, 6> columns;
    bool wideShutOff;
};

TEST(PopupLayout, EachAreaChoiceHasItsWidthColumnsAndShutOffButton) {
    const AreaCase cases[] = {
        {"both", true, true, 467, {122, 74, 74, 52, 52, 52}, true},
        {"colour only", true, false, 368, {104, 50, 50, 40, 40, 40}, false},
        {"volume only", false, true, 293, {112, 65, 65, 3, 3, 3}, true},
        {"neither", false, false, 198, {71, 40, 40, 2, 2, 2}, false},
    };
    for (const AreaCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto s = Started(FleetOf(1));
        s->core.settings.showRGB = c.showRgb;
        s->core.settings.showvolume = c.showVolume;
        ShowColourArea(s->core);
        LayoutPopup(s->core);
        const sim::SimPopupView& view = s->view;
        EXPECT_EQ(view.PopupRect().right - view.PopupRect().left, c.width);
        for (int column = 0; column < 6; ++column)
            EXPECT_EQ(view.ColumnWidth(column), c.columns[static_cast<std::size_t>(column)]) << column;
        const Rect list = *view.ControlRect(res::kMonitorList);
        EXPECT_EQ(list.left, 15);
        EXPECT_EQ(list.right, 15 + c.width - 32);
        EXPECT_EQ(view.ControlRect(res::kShowVolume)->right, list.right);
        EXPECT_EQ(view.ControlRect(res::kClose)->left, list.right + 1);
        EXPECT_EQ(view.Shown(res::kShutOffWide), c.wideShutOff);
        EXPECT_EQ(view.Shown(res::kShutOff), !c.wideShutOff);
        EXPECT_EQ(view.Shown(res::kRedSlider), c.showRgb);
        // Without the colour area the value columns start at the list's margin.
        if (!c.showRgb) {
            EXPECT_EQ(view.ControlRect(res::kBrightnessLabel)->left, 15);
        }
    }
}

TEST(PopupLayout, ColourAreaOffThenOnRestoresEveryPosition) {
    auto s = Started(FleetOf(2));
    s->core.settings.showRGB = true;
    LayoutPopup(s->core);
    const std::map<int, Rect> before = AllControlRects(s->view);
    const int shift = s->core.popupMetrics.colourShift - s->core.popupMetrics.margin;
    ASSERT_GT(shift, 0);
    s->core.settings.showRGB = false;
    LayoutPopup(s->core);
    EXPECT_EQ(*s->view.ControlRect(res::kMute), Offset(before.at(res::kMute), -shift, 0));
    LayoutPopup(s->core);  // a second layout in the same state moves nothing further
    EXPECT_EQ(s->view.ControlRect(res::kBrightnessLabel)->left, s->core.popupMetrics.margin);
    s->core.settings.showRGB = true;
    LayoutPopup(s->core);
    EXPECT_EQ(AllControlRects(s->view), before);
}

TEST(PopupLayout, AnEmptyListIsMeasuredOnATemporaryRow) {
    auto s = Started("");
    EXPECT_EQ(s->core.popupMetrics.rowHeight, kRowHeight);
    EXPECT_TRUE(s->view.Rows().empty());
    EXPECT_GT(s->core.expectedPopupHeight, 0);
}

TEST(PopupLayout, AFailedMeasurementLeavesTheTemplateAlone) {
    for (int failing : {0, res::kMonitorList, -1, -2, res::kShowVolume, res::kBrightnessLabel}) {
        SCOPED_TRACE(failing);
        const auto s = std::make_unique<sim::Simulator>(sim::ParseFleet(FleetOf(1)).fleet);
        s->view.FailMeasurement(failing);
        const Rect popup = s->view.PopupRect();
        s->Seed();
        EXPECT_EQ(s->core.expectedPopupHeight, 0);
        EXPECT_FALSE(s->core.popupMetrics.measured);
        EXPECT_EQ(s->view.MoveCount(), 0);
        EXPECT_EQ(s->view.PopupRect(), popup);
        LayoutPopup(s->core);  // an area switch later does nothing either
        EXPECT_EQ(s->view.MoveCount(), 0);
    }
}

}  // namespace
}  // namespace lv
