// The command language: "b 20 c 30", "2 b + 10", "pl2779q p 6500k", "t b 0 t b 90" ...
#pragma once

#include <string_view>

#include "core/core.h"

namespace lv {

// Runs one line, left to right, on the selected monitor. The only reaction to an error
// is to stop; commands already run stay done.
void CommandInterpreter(Core& core, std::string_view line);

// The row a monitor word selects, by the rules of a line: a single digit by number, any
// other word by list name, serial number or model. -1 when it selects none, or a row
// showing "?".
int RowSelectedBy(const Core& core, std::string_view word);

// A word (no spaces) of at most five characters that starts with its only letter or
// "?", or any word starting with "bl", is a command; other words name monitors.
bool IsCommandWord(std::string_view word);

}  // namespace lv
