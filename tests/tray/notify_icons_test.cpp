#include "tray/notify_icons.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "commands/command_test_support.h"
#include "popup/popup_placement.h"
#include "popup/popup_proc.h"
#include "popup/program_actions.h"

namespace lv {
namespace {

using sim::NotifyCall;

std::string GuidText(const Guid& g) {
    char text[40];
    std::snprintf(text, sizeof(text), "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", g.data1, g.data2, g.data3,
                  g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
    return text;
}

// A seeded desk whose icons go through the real icon code; start-up added none yet.
std::unique_ptr<sim::Simulator> SeededWithoutIcons() {
    auto s = std::make_unique<sim::Simulator>(sim::ParseFleet(test::kDesk).fleet);
    s->core.actions.updateIcons = nullptr;
    s->Seed();
    BindProgramActions(s->core);
    return s;
}

struct Icons {
    std::unique_ptr<sim::Simulator> s = SeededWithoutIcons();
    Core& core = s->core;
    sim::SimTrayApi& tray = s->tray;

    Icons() {
        InitialiseNotifyIcons(core);
        s->view.SetText(res::kBrightnessLabel, "Brightness 70");
        s->view.SetText(res::kContrastLabel, "Contrast 75");
        s->view.SetText(res::kVolumeLabel, "Vol. 40");
    }
    void Switches(bool brightness, bool contrast, bool volume, bool combined) {
        core.settings.showbrightnessicon = brightness;
        core.settings.showcontrasticon = contrast;
        core.settings.showvolumeicon = volume;
        core.settings.showcombinedicon = combined;
    }
    // The shell requests as "message:icon identity byte".
    std::vector<std::string> Requests() const {
        std::vector<std::string> requests;
        const char* names[] = {"add", "modify", "delete", "", "version"};
        for (const NotifyCall& call : tray.Calls())
            requests.push_back(std::string(names[static_cast<int>(call.message)]) + ":" +
                               std::to_string(call.record.guid.data4[4]));
        return requests;
    }
};

TEST(IconGuids, SpellTheProgramsNameAndCountInTheLastTwoBytes) {
    EXPECT_EQ(GuidText(IconGuid(kVolumeIcon, 0)), "4C756D69-7661-6E65-4963-6F6E00000000");
    EXPECT_EQ(GuidText(IconGuid(kBrightnessIcon, 0)), "4C756D69-7661-6E65-4963-6F6E02000000");
    EXPECT_EQ(GuidText(IconGuid(kCombinedIcon, 0x0100)), "4C756D69-7661-6E65-4963-6F6E03000100");
    EXPECT_EQ(GuidCounter(IconGuid(kContrastIcon, 0xABCD)), 0xABCD);
}

TEST(UpdateIcons, RemovesFirstRefreshesThenAddsEachPassInItsOrder) {
    Icons i;
    UpdateIcons(i.core);
    EXPECT_EQ(i.Requests(), (std::vector<std::string>{"add:2", "version:2", "add:1", "version:1", "add:0", "version:0"}));

    i.tray.ClearCalls();
    i.Switches(false, true, true, true);
    UpdateIcons(i.core);
    // Removing clears the icon's balloon first, then deletes it.
    EXPECT_EQ(i.Requests(), (std::vector<std::string>{"modify:2", "delete:2", "modify:1", "modify:0", "add:3", "version:3"}));
    EXPECT_EQ(i.tray.Calls()[0].record.flags, win::kNifInfo | win::kNifGuid);
    EXPECT_EQ(i.tray.Calls()[1].record.flags, win::kNifGuid);
    EXPECT_EQ(i.tray.Calls()[2].record.flags, kNotifyIconFlags);
    EXPECT_EQ(i.tray.Calls()[2].record.callbackMessage, 0x80ABu);
    // The icon operated on last places a popup opened otherwise.
    EXPECT_EQ(i.core.trayState.defaultIconGuid, IconGuid(kCombinedIcon, 0));
}

TEST(UpdateIcons, ARefusedAddTriesTheNextGuid) {
    Icons i;
    i.Switches(true, false, false, false);
    i.tray.RefuseAdds(1);
    UpdateIcons(i.core);
    const Guid expected = IconGuid(kBrightnessIcon, 1);
    ASSERT_TRUE(i.tray.ShownIcon(expected));
    EXPECT_EQ(i.core.trayState.defaultIconGuid, expected);
    EXPECT_EQ(i.core.settings.iconIdentifierTails[kBrightnessIcon], 1);
    // Later updates modify the icon under its new identity.
    i.tray.ClearCalls();
    UpdateIcons(i.core);
    EXPECT_EQ(i.tray.Calls().at(0).record.guid, expected);
}

TEST(UpdateIcons, AShellThatNeverTakesTheIconEndsTheProgramWithoutAQuestion) {
    Icons i;
    i.Switches(false, false, true, false);
    i.tray.RefuseAdds(100000);
    UpdateIcons(i.core);
    EXPECT_EQ(i.tray.Calls().size(), 202u);  // the first add and 201 new GUIDs
    EXPECT_TRUE(i.core.endingSession);
    EXPECT_EQ(i.s->window.Commands().back(), (sim::PostedCommand{res::kExit, 1}));
}

// Balloons.
TEST(ValueNotification, AppearsAtTheIconOfTheValueOrTheFirstShownOne) {
    constexpr const char* kHint = "turn off notifications in settings";
    struct Case {
        ChangeKind kind;
        bool brightness, contrast, volume, combined;
        IconKind at;
        const char *title, *text;
    } cases[] = {
        {ChangeKind::Brightness, true, true, true, false, kBrightnessIcon, "Brightness 70", kHint},
        {ChangeKind::Brightness, false, false, true, false, kVolumeIcon, "Brightness 70", kHint},
        {ChangeKind::Contrast, false, false, false, true, kCombinedIcon, "Contrast 75", kHint},
        {ChangeKind::Red, true, false, false, false, kBrightnessIcon, "R:128", kHint},
        // The summary: three lines and no title.
        {ChangeKind::Summary, true, true, true, false, kBrightnessIcon, "", "Brightness 70\nContrast 75\nVol. 40"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        Icons i;
        i.s->view.SetText(res::kRedLabel, "R:128");
        i.Switches(c.brightness, c.contrast, c.volume, c.combined);
        UpdateIcons(i.core);
        i.tray.ClearCalls();
        ShowValueNotification(i.core, c.kind);
        ASSERT_EQ(i.tray.Calls().size(), 1u);
        const NotifyIconRecord& balloon = i.tray.Calls()[0].record;
        EXPECT_EQ(balloon.guid, IconGuid(c.at, 0));
        EXPECT_EQ(balloon.flags, kNotifyBalloonFlags);
        EXPECT_EQ(balloon.infoFlags, kBalloonInfoFlags);
        EXPECT_EQ(balloon.infoTitle, c.title);
        EXPECT_EQ(balloon.infoText, c.text);
        EXPECT_EQ(balloon.tip, i.core.trayState.slots[c.at].tip.Str());
        EXPECT_EQ(i.s->window.TimerPeriod(timer::kNotification), 5000u);
    }
}

TEST(ValueNotification, HeldBackWhileSomethingElseHasTheUsersAttention) {
    const std::function<void(Icons&)> reasons[] = {
        [](Icons& i) { i.s->view.SetVisible(true); },
        [](Icons& i) { i.core.trayState.settingsDialogOpen = true; },
        [](Icons& i) { i.Switches(false, false, false, false); },
        [](Icons& i) { i.core.settings.notifications = false; },
        [](Icons& i) { i.core.menuOpen = true; },
        [](Icons& i) { ShowValueNotification(i.core, ChangeKind::BlockBalloons); },
    };
    for (const auto& reason : reasons) {
        Icons i;
        UpdateIcons(i.core);
        reason(i);
        i.tray.ClearCalls();
        ShowValueNotification(i.core, ChangeKind::Brightness);
        ShowValueNotification(i.core, ChangeKind::NoBalloon);
        EXPECT_TRUE(i.tray.Calls().empty());
    }
}

TEST(ValueNotification, ABlockLastsThreeSeconds) {
    Icons i;
    UpdateIcons(i.core);
    ShowValueNotification(i.core, ChangeKind::BlockBalloons);
    i.tray.ClearCalls();
    const uint64_t start = i.s->clock.Now();
    i.s->window.RunUntil(start + 2999, [](uint32_t, intptr_t) {}, [&](uint32_t id) { OnTimer(i.core, id); });
    ShowValueNotification(i.core, ChangeKind::Brightness);
    EXPECT_TRUE(i.tray.Calls().empty());
    i.s->window.RunUntil(start + 3000, [](uint32_t, intptr_t) {}, [&](uint32_t id) { OnTimer(i.core, id); });
    ShowValueNotification(i.core, ChangeKind::Brightness);
    EXPECT_EQ(i.tray.Calls().size(), 1u);
}

// Placement and the icons' clicks.
struct Placement : Icons {
    Placement() {
        UpdateIcons(core);
        s->window.SetPopupRect({0, 0, 400, 390});
        tray.SetIconRect(IconGuid(kBrightnessIcon, 0), {1800, 1050, 1816, 1066});
        tray.SetIconRect(IconGuid(kVolumeIcon, 0), {1840, 1050, 1856, 1066});
    }
};

TEST(PopupPlacement, CentredAboveTheIconThatWasClickedSixPixelsDown) {
    Placement p;
    p.core.actions.refreshPopup = [&](int show) {
        if (show == 1) ShowPopupNearIcon(p.core);
    };
    OnIconCallback(p.core, 0x80AA, win::kNinSelect, 0);  // the volume icon
    EXPECT_EQ(p.s->window.LastPositionFlags(), kPopupPositionFlags);
    EXPECT_EQ(p.s->window.ShownAt(), (std::vector<Point>{{1848 - 200, 1050 - 390 + 6}}));
    EXPECT_EQ(p.s->window.ForegroundRequests(), 1);
    EXPECT_FALSE(p.core.openedFromIcon);

    // Opened otherwise, it goes to the icon operated on last (volume, the last added).
    ShowPopupNearIcon(p.core);
    EXPECT_EQ(p.s->window.ShownAt().back(), (Point{1848 - 200, 1050 - 390 + 6}));
    p.core.trayState.defaultIconGuid = IconGuid(kBrightnessIcon, 0);
    ShowPopupNearIcon(p.core);
    EXPECT_EQ(p.s->window.ShownAt().back(), (Point{1808 - 200, 1050 - 390 + 6}));
}

TEST(PopupPlacement, WithoutAnIconRectangle) {
    Placement p;
    p.core.trayState.defaultIconGuid = IconGuid(kContrastIcon, 0);  // no rectangle known
    ShowPopupNearIcon(p.core);
    EXPECT_TRUE(p.s->window.ShownAt().empty());
    EXPECT_EQ(p.s->window.ForegroundRequests(), 0);

    // A system without the service at all: the notification area's corner.
    p.tray.SetIconRectAnswer(IconRectResult::NotImplemented);
    p.s->window.SetWorkArea({0, 0, 1024, 670});
    ShowPopupNearIcon(p.core);
    EXPECT_EQ(p.s->window.ShownAt(), (std::vector<Point>{{1024 - 400, 670 - 390 - 6}}));

    // A failed calculation brings the hidden window forward without showing it.
    p.core.trayState.defaultIconGuid = IconGuid(kBrightnessIcon, 0);
    p.s->window.FailPositionCalculation(true);
    ShowPopupNearIcon(p.core);
    EXPECT_EQ(p.s->window.ShownAt().size(), 1u);
    EXPECT_EQ(p.s->window.ForegroundRequests(), 2);
}

}  // namespace
}  // namespace lv
