// Reading a DDC/CI capabilities string: "(prot(monitor)type(lcd)model(U2720Q)
// cmds(01 02 03)vcp(10 12 14(05 08 0B) 60(0F 11))mccs_ver(2.1))". Monitors write these
// loosely: without separators between codes, in any case, with stray blanks and line
// breaks, or cut short; the reader takes what is there and never reads past the end.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

struct VcpCode {
    uint8_t code = 0;
    std::vector<uint8_t> values;  // the value list in parentheses after the code, if any
};

struct Capabilities {
    std::string model;  // text of model(...), empty when there is none
    bool hasModel = false;
    std::vector<VcpCode> vcp;

    const VcpCode* Find(uint8_t code) const;
};

Capabilities ParseCapabilities(std::string_view text);

}  // namespace lv
