// Reading a DDC/CI capabilities string: "(prot(monitor)type(lcd)model(U2720Q)
// cmds(01 02 03)vcp(10 12 14(05 08 0B) 60(0F 11))mccs_ver(2.1))".
//
// Monitors write these loosely, and the reader takes them as they come:
// - keywords in any case, with or without the outer parentheses, with blanks, tabs and
//   line breaks between anything; a line break may also split the two digits of a code
//   or value, a blank may not ("6 14(05)" is a stray 6 and code 14 with its values);
// - codes and values with or without separators ("vcp(101214(0508)60(0F11))");
// - extra parentheses around the whole ("((prot(monitor)...))") count as the outer ones;
// - model text written without parentheses ("modelVG278H", "model LCDPB287") is no
//   model: only a model(...) group counts, and only at the top level;
// - only the keyword vcp itself opens the code list, not vcpname(...) or vcp_p02(...);
//   text glued in front of a keyword after a digit ("27UD58cmds(") still leaves it a
//   keyword;
// - a value list may hold sub-lists ("DC(00 (00 10 13) 01 02)"): their contents belong
//   to the value before them, not to the code;
// - a code listed twice gets the values of both lists.
// A string cut short (a length limit, a failed read) ends the reading without harm:
// whatever was complete stays, and so do the values of a list that was cut off midway,
// but not a half-read code or value, and not a model text whose group never closed.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

struct VcpCode {
    uint8_t code = 0;
    std::vector<uint8_t> values;  // the value list in parentheses after the code, if any
};

// Offered values by index: bit v set when value v is listed.
using PresetSet = std::bitset<14>;  // VCP 0x14 values 1..13
using InputSet = std::bitset<32>;   // VCP 0x60 values 1..31

struct Capabilities {
    std::string model;  // text of model(...) without line breaks, empty when there is none
    bool hasModel = false;
    std::vector<VcpCode> vcp;  // each code once, in the order first listed

    const VcpCode* Find(uint8_t code) const;
    PresetSet OfferedPresets() const;
    InputSet OfferedInputs() const;
};

Capabilities ParseCapabilities(std::string_view text);

}  // namespace lv
