#include "popup/popup_refresh.h"

#include "monitors/enumeration.h"
#include "popup/popup_controls.h"

namespace lv {

void RefreshPopup(Core& core, int show) {
    (void)EnumerateUntilAnswered(core);
    SelectListRow(core);
    if (show == 1 && core.startupComplete && !core.platform.view.IsVisible()) core.ShowPopupNearIcon();
}

}  // namespace lv
