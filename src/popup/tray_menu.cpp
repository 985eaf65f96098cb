#include "popup/tray_menu.h"

#include <string_view>

#include "commands/submission.h"
#include "resources/resource.h"

namespace lv {
namespace {

void RunUserMenuEntry(Core& core, uint32_t id) {
    const std::size_t index = id - kFirstUserEntryId;
    // No balloon for the values the entry's command line changes.
    core.ShowValueNotification(ChangeKind::BlockBalloons);
    const std::string line(core.settings.menuEntries[index].commandLine.View());
    SubmitCommandLine(core, line, kSourceInternal);
}

void ShutMonitorsOff(Core& core) {
    core.platform.view.HidePopup();
    // Lets the popup vanish before the screens go dark.
    core.platform.clock.Sleep(kMonitorsOffDelayMs);
    (void)core.platform.window.BroadcastMonitorPowerOff();
}

void OnEscape(Core& core) {
    core.platform.view.HidePopup();
    core.platform.clock.Sleep(kEscapeDelayMs);
    (void)core.platform.window.SetCursorPosition(core.cursorPos);
    core.infoTipText.clear();
    core.platform.view.UpdateInfoTip(core.infoTipText);
}

}  // namespace

std::string UserMenuEntryText(const MenuEntrySetting& entry) {
    const std::string_view comment = entry.comment.View();
    const std::string_view command = entry.commandLine.View();
    std::string text(comment.empty() ? command : comment);
    if (!comment.empty() && !entry.hide) {
        text += ' ';
        text += command;
    }
    if (text.find_first_not_of(' ') == std::string::npos) return {};
    return text;
}

std::vector<MenuItem> UserMenuItems(const AppSettings& settings) {
    std::vector<MenuItem> items;
    for (std::size_t i = 0; i < settings.menuEntries.size(); ++i) {
        const std::string text = UserMenuEntryText(settings.menuEntries[i]);
        if (text.empty()) continue;
        std::string shown;
        for (const char c : text) {
            if (c == '&') shown += '&';
            shown += c;
        }
        items.push_back({kFirstUserEntryId + static_cast<uint32_t>(i), std::move(shown)});
    }
    return items;
}

bool OnTrayMenuCommand(Core& core, uint32_t id) {
    if (id >= kFirstUserEntryId && id < kFirstUserEntryId + kMenuEntries) {
        RunUserMenuEntry(core, id);
        return true;
    }
    switch (id) {
        case res::kMonitorsOff:
        case res::kShutOff:
        case res::kShutOffWide:
            ShutMonitorsOff(core);
            return true;
        case res::kEscape:
            OnEscape(core);
            return true;
        case res::kSettings:
        case res::kHelp:
        case res::kUninstall:
            return true;  // their dialogs come later
        default:
            return false;
    }
}

}  // namespace lv
