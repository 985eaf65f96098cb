#include "popup/program_actions.h"

#include "popup/popup_placement.h"
#include "popup/popup_refresh.h"
#include "tray/notify_icons.h"

namespace lv {

void BindProgramActions(Core& core) {
    // hotKeyHeld stays empty until there are hot keys: none is ever held.
    core.actions = CoreActions{
        .refreshPopup = [&core](int show) { RefreshPopup(core, show); },
        .updateIcons = [&core] { UpdateIcons(core); },
        .showPopupNearIcon = [&core] { ShowPopupNearIcon(core); },
        .showValueNotification = [&core](ChangeKind kind) { ShowValueNotification(core, kind); },
        .hotKeyHeld = {},
    };
}

}  // namespace lv
