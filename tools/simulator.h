// The program's core on simulated hardware: a fleet of monitors, virtual time and
// recording stand-ins for the window, the popup and the audio endpoint. The host tool
// and the tests drive command lines through it exactly as the main window would.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>
#include <memory>

#include "commands/submission.h"
#include "core/core.h"
#include "platform/sim/fleet.h"
#include "platform/sim/sim_audio.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_display_config.h"
#include "platform/sim/sim_file_api.h"
#include "platform/sim/sim_monitor_api.h"
#include "platform/sim/sim_popup_view.h"
#include "platform/sim/sim_process.h"
#include "platform/sim/sim_text_codec.h"
#include "platform/sim/sim_tray.h"
#include "platform/sim/sim_window.h"
#include "platform/sim/sim_wmi.h"

namespace lv::sim {

class Simulator {
public:
    explicit Simulator(sim::Fleet initial);
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // The program's start-up steps that read the hardware: the icons, the panel's levels,
    // the first refresh, which reads every monitor (this takes virtual time), the limits.
    void Start();
    // Start(), then forgets the calls and pauses it caused, so that a test sees only its own.
    void Seed();

    // Submits a line from `source` and dispatches the posted commands it causes.
    void Run(std::string_view line, uint32_t source = kSourceInternal);
    // Dispatches posted commands until none is left. The run command goes to the main
    // window's handler, which executes a line and shows what it changed; the others are
    // kept in `otherCommands` for the caller to look at.
    void Pump();

    sim::Fleet fleet;
    sim::SimClock clock;
    sim::SimMonitorApi monitors;
    sim::SimTextCodec codec;
    sim::SimWindowApi window;
    sim::SimAudioApi audio;
    sim::SimSystemApi system;
    sim::SimPopupView view;
    sim::SimWmiApi wmi;
    sim::SimDisplayConfigApi displayConfig;
    sim::SimFileApi files;
    sim::SimProcessApi process;
    sim::SimTrayApi tray;
    std::unique_ptr<XmlReader> xmlReader;
    std::unique_ptr<XmlWriter> xmlWriter;
    Core core;  // bound to the program's actions

    std::vector<sim::PostedCommand> otherCommands;
};

}  // namespace lv::sim
