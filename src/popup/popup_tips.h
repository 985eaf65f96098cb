// The popup's control tooltips: a slider shows its value, the buttons, check boxes and
// choices a text of the string table, whose ids are the control ids.
#pragma once

#include <span>
#include <string>

namespace lv {

inline constexpr int kTipMaxChars = 79;  // the tooltip record's 80-byte buffer

struct ControlTip {
    enum class Kind { None, Value, String } kind = Kind::None;
    std::string value;  // Kind::Value: the slider's value as a decimal number
    int stringId = 0;   // Kind::String
    bool operator==(const ControlTip&) const = default;
};

// `sliderPosition` is read only for the sliders.
ControlTip TipOf(int id, int sliderPosition);
// The controls that get a tool with a callback text (the sliders bring their own).
std::span<const int> TipControls();

}  // namespace lv
