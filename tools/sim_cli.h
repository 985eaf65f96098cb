#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace lv::sim {

// lumivane-sim --fleet FILE [--out FILE] [--log FILE] [--call-ms N] LINE...
// Exit status 0 on success, 2 for a bad fleet file or bad arguments.
int RunSimulatorCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lv::sim
