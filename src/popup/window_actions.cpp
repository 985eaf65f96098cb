#include "popup/window_actions.h"

namespace lv {

void RestartProgram(Core& core) {
    core.restartflag = true;
    if (!core.platform.view.IsVisible()) core.hiddenrestart = true;
    (void)core.platform.window.PostCommand(id::kCmdExit, 1);
}

}  // namespace lv
