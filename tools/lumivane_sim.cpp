// Runs command lines against a simulated monitor fleet: a way to try the command
// language without hardware.
#include <iostream>
#include <string>
#include <vector>

#include "tools/sim_cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return lv::sim::RunSimulatorCli(args, std::cout, std::cerr);
}
