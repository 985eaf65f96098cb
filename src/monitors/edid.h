// The model text of a monitor that has no friendly name, from its EDID base block.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace lv {

// The text of the last alphanumeric data string descriptor (tag 0xFE) among the four
// descriptors of a 128-byte base block that holds at least 6 characters, with spaces
// turned into '-' and the text ended by a line feed, carriage return or zero byte.
// Empty when there is none or the block is not exactly 128 bytes.
std::string EdidModelText(std::span<const uint8_t> block);

}  // namespace lv
