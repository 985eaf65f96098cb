#include "popup/tray_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_test_support.h"
#include "popup/popup_placement.h"
#include "popup/popup_proc.h"

namespace lv {
namespace {

using test::Hw;
using test::Seeded;

MenuEntrySetting Entry(std::string_view command, std::string_view comment, bool hide = false) {
    MenuEntrySetting entry;
    entry.commandLine = command;
    entry.comment = comment;
    entry.hide = hide;
    return entry;
}

TEST(TrayMenuText, CommentCommandAndHideMakeTheText) {
    struct Case {
        const char* name;
        MenuEntrySetting entry;
        std::string text;
    };
    const Case cases[] = {
        {"comment and command", Entry("b 20", "Dim"), "Dim b 20"},
        {"hidden command", Entry("b 20", "Dim", true), "Dim"},
        {"command alone", Entry("b 20", ""), "b 20"},
        {"command alone, hide ignored", Entry("b 20", "", true), "b 20"},
        {"comment without command keeps the space", Entry("", "Dim"), "Dim "},
        {"empty", Entry("", ""), ""},
        {"blank command", Entry("   ", ""), ""},
        {"blank comment, hidden", Entry("b 20", "  ", true), ""},
        {"blank comment shows the command", Entry("b 20", " "), "  b 20"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UserMenuEntryText(c.entry), c.text);
    }
}

TEST(TrayMenu, UserEntriesFollowTheSettingsAtEveryOpening) {
    auto s = Seeded();
    s->core.settings.menuEntries[0] = Entry("b 20", "Dim & warm");
    s->core.settings.menuEntries[3] = Entry("  ", "");
    s->core.settings.menuEntries[14] = Entry("x", "");
    ShowTrayMenu(s->core, {10, 20});
    s->core.settings.menuEntries[3] = Entry("c 50", "Half", true);
    ShowTrayMenu(s->core, {10, 20});

    const auto& menus = s->window.TrayMenus();
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[0].extra, (std::vector<MenuItem>{{14, "Dim && warm b 20"}, {28, "x"}}));
    // A changed entry replaces nothing twice: the menu is built afresh.
    EXPECT_EQ(menus[1].extra, (std::vector<MenuItem>{{14, "Dim && warm b 20"}, {17, "Half"}, {28, "x"}}));
}

TEST(TrayMenu, AUserEntryBlocksBalloonsThenRunsItsLineAsSourceOne) {
    auto s = Seeded();
    s->core.settings.menuEntries[2] = Entry("b 37", "thirty-seven", true);
    s->core.settings.menuEntries[0] = Entry("b 5", "");
    bool blockedWhenRun = false;
    s->window.SetCopyDataHandler([&](uint32_t source, std::span<const char> data) {
        blockedWhenRun = s->core.trayState.balloonBlocked;
        return OnCopyData(s->core, source, data.data(), data.size());
    });

    OnCommand(s->core, 16, 0, 0);
    s->Pump();

    ASSERT_EQ(s->window.CopyDataSent().size(), 1u);
    EXPECT_EQ(s->window.CopyDataSent()[0].source, 1u);
    EXPECT_TRUE(blockedWhenRun);
    EXPECT_EQ(s->window.TimerPeriod(timer::kNotificationGuard), timer::kNotificationGuardMs);
    EXPECT_EQ(Hw(*s, 0).brightness.current, 37u);
}

TEST(TrayMenu, ShuttingOffHidesWaitsThenBroadcastsOnce) {
    for (const uint32_t id : {uint32_t(res::kMonitorsOff), uint32_t(res::kShutOff), uint32_t(res::kShutOffWide)}) {
        SCOPED_TRACE(id);
        auto s = Seeded();
        s->view.SetVisible(true);
        OnCommand(s->core, id, 0, 0);
        EXPECT_FALSE(s->view.IsVisible());
        EXPECT_EQ(s->clock.Pauses(), std::vector<uint32_t>{1500});
        EXPECT_EQ(s->window.MonitorPowerBroadcasts(), 1);
    }
}

// The x command posts the shut-off above rather than running it inside the line.
TEST(TrayMenu, TheXCommandPostsTheShutOff) {
    auto s = Seeded();
    s->Run("x");
    EXPECT_EQ(s->window.MonitorPowerBroadcasts(), 0);
    EXPECT_EQ(s->otherCommands, (std::vector<sim::PostedCommand>{{res::kMonitorsOff, 0}}));
}

TEST(TrayMenu, EscapeHidesAndPutsThePointerBack) {
    auto s = Seeded();
    s->view.SetVisible(true);
    s->core.cursorPos = {640, 480};
    s->core.infoTipText = "DISPLAY1";
    OnCommand(s->core, res::kEscape, 0, 0);
    EXPECT_FALSE(s->view.IsVisible());
    EXPECT_EQ(s->clock.Pauses(), std::vector<uint32_t>{100});
    EXPECT_EQ(s->window.CursorMoves(), (std::vector<Point>{Point{640, 480}}));
    EXPECT_TRUE(s->core.infoTipText.empty());
    ASSERT_FALSE(s->view.InfoTips().empty());
    EXPECT_EQ(s->view.InfoTips().back(), "");
}

TEST(TrayMenu, TheLaterDialogsCommandsDoNothingYet) {
    for (const uint32_t id : {uint32_t(res::kSettings), uint32_t(res::kHelp), uint32_t(res::kUninstall)}) {
        SCOPED_TRACE(id);
        auto s = Seeded();
        s->view.SetVisible(true);
        OnCommand(s->core, id, 0, 0);
        EXPECT_TRUE(s->view.IsVisible());
        EXPECT_TRUE(s->window.Commands().empty());
        EXPECT_TRUE(s->window.CopyDataSent().empty());
        EXPECT_EQ(s->window.MonitorPowerBroadcasts(), 0);
    }
}

}  // namespace
}  // namespace lv
