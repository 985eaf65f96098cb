// Requests to end the program or start it anew. Both go through the exit command, posted,
// so the current message finishes first and the exit path saves and cleans up once.
#pragma once

#include "core/core.h"

namespace lv {

enum class RestartView : uint8_t {
    KeepHidden,  // a restart while the popup is hidden starts without showing it
    AsStarted,   // the new instance shows what its own start shows
};

void RequestRestart(Core& core, RestartView view = RestartView::KeepHidden);
// Ends the program without asking.
void RequestQuit(Core& core);

}  // namespace lv
