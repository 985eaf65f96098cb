#include "core/requests.h"

namespace lv {

void RequestRestart(Core& core, RestartView view) {
    core.restartflag = true;
    if (view == RestartView::KeepHidden && !core.platform.view.IsVisible()) core.hiddenrestart = true;
    (void)core.platform.window.PostCommand(res::kExit, 1);
}

void RequestQuit(Core& core) {
    core.endingSession = true;
    (void)core.platform.window.PostCommand(res::kExit, 1);
}

}  // namespace lv
