#include "tools/simulator.h"

#include "app/startup.h"
#include "popup/popup_proc.h"
#include "popup/program_actions.h"

namespace lv::sim {

Simulator::Simulator(sim::Fleet initial)
    : fleet(std::move(initial)),
      monitors(fleet, clock),
      window(clock),
      wmi(fleet),
      displayConfig(fleet),
      process(clock),
      xmlReader(MakeXmlReader()),
      xmlWriter(MakeXmlWriter()),
      core(Platform{monitors, clock, codec, window, audio, system, view, wmi, displayConfig, files, *xmlReader, *xmlWriter, process, tray}) {
    window.SetCopyDataHandler(
        [this](uint32_t source, std::span<const char> data) { return OnCopyData(core, source, data.data(), data.size()); });
    BindProgramActions(core);
    monitors.CaptureFactoryDefaults();
}

void Simulator::Start() { StartMonitorsAndIcons(core); }

void Simulator::Seed() {
    Start();
    clock.ClearPauses();
    monitors.ClearCallLog();
    wmi.ClearRequestLog();
    tray.ClearCalls();
}

void Simulator::Run(std::string_view line, uint32_t source) {
    SubmitCommandLine(core, line, source);
    Pump();
}

void Simulator::Pump() {
    while (auto command = window.PopCommand()) {
        if (command->id == res::kRunCommandBuffer)
            OnCommand(core, command->id, 0, command->lparam);
        else
            otherCommands.push_back(*command);
    }
}

}  // namespace lv::sim
