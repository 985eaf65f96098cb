#include "tray/hidden_icons.h"

namespace lv {

void OnHiddenIconTimer(Core&) {}
void OnHiddenWarningTimer(Core&) {}
std::string_view HiddenWarningText(bool) { return {}; }
void OnHiddenWarningCheckBox(Core&, bool) {}
void OnHiddenWarningClosed(Core&) {}

}  // namespace lv
