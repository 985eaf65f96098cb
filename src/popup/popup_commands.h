// The popup's own controls: sliders, preset buttons, mute, the area switches, the
// choices, factory reset and the close button.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/core.h"

namespace lv {

inline constexpr std::string_view kResetQuestionCaption[2] = {"Click No if you are unsure!",
                                                              "im Zweifelsfall klicke Nein!"};
inline constexpr std::string_view kResetQuestionText[2] = {
    "Click No if you are unsure!\n\nClick Yes if you really want to restore default monitor-settings,\n"
    "this will change brightness, colors and so on...",
    "im Zweifelsfall klicke Nein!\n\nKlicke Ja wenn die Monitor-Standard-Einstellungen\n"
    "(Helligkeit, Farben usw.) wiederhergestellt werden sollen."};

// 1038, 1039, 1040 and the three gain sliders.
bool IsPopupSlider(int id);

// One of the six sliders moved (WM_VSCROLL); `position` is the slider's own. Anything
// else is ignored, and so are the drag's intermediate steps and its end.
void OnSliderScroll(Core& core, int id, uint32_t code, int position);

// A command of one of the popup's controls; false when `id` is none of them.
bool OnControlCommand(Core& core, uint32_t id, uint32_t code);

// The factory-reset button: asked first, and sent to the monitor asked about.
void OnFactoryReset(Core& core);

}  // namespace lv
