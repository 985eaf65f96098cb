// The program's core on simulated hardware: a fleet of monitors, virtual time and
// recording stand-ins for the window, the popup and the audio endpoint. The host tool
// and the tests drive command lines through it exactly as the main window would.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include <memory>

#include "app/core.h"
#include "commands/submission.h"
#include "fakes/fake_audio.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_display_config.h"
#include "fakes/fake_file_api.h"
#include "fakes/fake_monitor_api.h"
#include "fakes/fake_popup_view.h"
#include "fakes/fake_process.h"
#include "fakes/fake_text_codec.h"
#include "fakes/fake_window.h"
#include "fakes/fake_wmi.h"
#include "fakes/fleet.h"

namespace lv::sim {

class Simulator {
public:
    explicit Simulator(fake::Fleet initial);
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // What start-up does for the monitors: the panel's levels, then a refresh of the
    // monitor list, which reads every monitor (this takes virtual time).
    void Start();
    // Start(), then forgets the calls and pauses it caused, so that a test sees only its own.
    void Seed();
    // A refresh of the monitor list, as the popup's refresh makes it.
    void Refresh();

    // Submits a line from `source` and dispatches the posted commands it causes.
    void Run(std::string_view line, uint32_t source = kSourceInternal);
    // Dispatches posted commands until none is left. The run command executes a line;
    // the others are kept in `otherCommands` for the caller to look at.
    void Pump();

    fake::Fleet fleet;
    fake::FakeClock clock;
    fake::FakeMonitorApi monitors;
    fake::FakeTextCodec codec;
    fake::FakeWindowApi window;
    fake::FakeAudioApi audio;
    fake::FakeSystemApi system;
    fake::FakePopupView view;
    fake::FakeWmiApi wmi;
    fake::FakeDisplayConfigApi displayConfig;
    fake::FakeFileApi files;
    fake::FakeProcessApi process;
    std::unique_ptr<XmlReader> xmlReader;
    std::unique_ptr<XmlWriter> xmlWriter;
    Core core;

    int refreshRequests = 0;  // RefreshPopup calls the core made
    std::vector<fake::PostedCommand> otherCommands;
};

}  // namespace lv::sim
