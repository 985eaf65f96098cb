#include "tools/sim_cli.h"

#include <charconv>
#include <fstream>

#include "app/startup.h"
#include "settings/settings_file.h"
#include "tools/simulator.h"

namespace lv::sim {
namespace {

constexpr const char* kUsage =
    "usage: lumivane-sim --fleet FILE [--settings FILE] [--save FILE] [--out FILE] [--log FILE] [--call-ms N] LINE...";

struct Options {
    std::string fleet;
    std::string out;
    std::string log;
    std::string settings;
    std::string save;
    uint32_t callMs = 0;
    std::vector<std::string> lines;
};

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--fleet" || arg == "--out" || arg == "--log" || arg == "--call-ms" ||
                                arg == "--settings" || arg == "--save";
        if (takesValue) {
            if (i + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return false;
            }
            const std::string& value = args[++i];
            if (arg == "--fleet") options.fleet = value;
            if (arg == "--out") options.out = value;
            if (arg == "--log") options.log = value;
            if (arg == "--settings") options.settings = value;
            if (arg == "--save") options.save = value;
            if (arg == "--call-ms") {
                const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), options.callMs);
                if (ec != std::errc() || end != value.data() + value.size()) {
                    error = "--call-ms takes a whole number of milliseconds: " + value;
                    return false;
                }
            }
        } else if (arg.starts_with("--")) {
            error = "unknown option " + arg;
            return false;
        } else {
            options.lines.push_back(arg);
        }
    }
    if (options.fleet.empty()) {
        error = "--fleet FILE is required";
        return false;
    }
    return true;
}

}  // namespace

int RunSimulatorCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    std::string error;
    if (!ParseOptions(args, options, error)) {
        err << "lumivane-sim: " << error << "\n" << kUsage << "\n";
        return 2;
    }
    sim::FleetFileResult loaded = sim::ReadFleetFile(options.fleet);
    if (!loaded.ok) {
        err << "lumivane-sim: " << loaded.error << "\n";
        return 2;
    }

    Simulator sim(std::move(loaded.fleet));
    sim.monitors.SetDdcCallCost(options.callMs);
    if (!options.settings.empty()) {
        std::ifstream file(options.settings, std::ios::binary);
        const std::string document((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (!file) {
            err << "lumivane-sim: " << options.settings << ": cannot read the settings file\n";
            return 2;
        }
        // Beside the program, where start-up looks first.
        std::u16string folder;
        (void)sim.files.GetWorkingFolder(folder);
        sim.files.AddFile(folder + u'\\' + std::u16string(kSettingsFileName), document);
    }
    // The program's own start-up, as far as it reads settings and hardware.
    LoadStartupSettings(sim.core);
    sim.Start();
    const uint64_t start = sim.clock.Now();
    for (const std::string& line : options.lines) sim.Run(line);

    const MonitorList& list = sim.core.list;
    for (int row = 0; row < list.Rows(); ++row) {
        for (int column = 0; column < kListColumns; ++column) out << (column ? "\t" : "") << list.Cell(row, column);
        out << "\n";
    }
    out << "selected = " << sim.core.selectedMonitor + 1 << "\n";
    out << "query = " << sim.core.queryValue << "\n";
    out << "elapsed_ms = " << sim.clock.Now() - start << "\n";

    if (!options.log.empty()) {
        std::ofstream log(options.log);
        for (const std::string& call : sim.monitors.CallLog()) log << call << "\n";
        if (!log) {
            err << "lumivane-sim: " << options.log << ": cannot write the call log\n";
            return 2;
        }
    }
    if (!options.save.empty()) {
        std::ofstream file(options.save, std::ios::binary);
        file << SettingsDocument(sim.core);
        if (!file) {
            err << "lumivane-sim: " << options.save << ": cannot write the settings file\n";
            return 2;
        }
    }
    if (options.out.empty()) {
        out << sim::WriteFleet(sim.fleet);
    } else if (std::string failure = sim::WriteFleetFile(options.out, sim.fleet); !failure.empty()) {
        err << "lumivane-sim: " << failure << "\n";
        return 2;
    }
    return 0;
}

}  // namespace lv::sim
