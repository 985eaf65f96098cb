// The notification-area menu as Windows builds it: the fixed entries, then the user entries.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "popup/tray_menu.h"

namespace lv {
namespace {

std::string ItemText(HMENU menu, int position) {
    char text[2048] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(TrayMenuWin32, UserEntriesFollowTheFixedOnesWithTheirIds) {
    AppSettings settings;
    settings.menuEntries[0].commandLine = "b 20";
    settings.menuEntries[0].comment = "Dim & warm";
    settings.menuEntries[5].commandLine = "c 50";
    for (const bool german : {false, true}) {
        SCOPED_TRACE(german);
        const std::vector<MenuItem> extra = UserMenuItems(settings);
        const HMENU menu = LoadTrayMenu(german, extra);
        ASSERT_NE(menu, nullptr);
        const HMENU entries = ::GetSubMenu(menu, 0);
        const int count = ::GetMenuItemCount(entries);
        ASSERT_EQ(count, 13 + 2);
        EXPECT_EQ(::GetMenuItemID(entries, 0), 40064u);
        EXPECT_EQ(::GetMenuItemID(entries, count - 2), 14u);
        EXPECT_EQ(ItemText(entries, count - 2), "Dim && warm b 20");
        EXPECT_EQ(::GetMenuItemID(entries, count - 1), 19u);
        EXPECT_EQ(ItemText(entries, count - 1), "c 50");
        ::DestroyMenu(menu);
    }
}

}  // namespace
}  // namespace lv
