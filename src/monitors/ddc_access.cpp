#include "monitors/ddc_access.h"

#include <algorithm>

#include "common/text.h"
#include "core/requests.h"
#include "monitors/laptop_panel.h"

namespace lv {
namespace {

constexpr int32_t kValueScale = 100;
constexpr int32_t kGainScale = 255;

// Up to `attempts` calls, `pauseMs` apart; true at the first success.
template <typename Call>
bool Attempt(Core& core, int attempts, uint32_t pauseMs, Call call) {
    for (int i = 0; i < attempts; ++i) {
        if (call()) return true;
        if (i + 1 < attempts) core.platform.clock.Sleep(pauseMs);
    }
    return false;
}

struct GainFields {
    uint32_t MonitorEntry::*min;
    uint32_t MonitorEntry::*value;
    uint32_t MonitorEntry::*max;
    ChangeKind changedKind;
};

const GainFields kGains[3] = {
    {&MonitorEntry::redMin, &MonitorEntry::red, &MonitorEntry::redMax, ChangeKind::Red},
    {&MonitorEntry::greenMin, &MonitorEntry::green, &MonitorEntry::greenMax, ChangeKind::Green},
    {&MonitorEntry::blueMin, &MonitorEntry::blue, &MonitorEntry::blueMax, ChangeKind::Blue},
};

uint32_t CutTo100(uint32_t value) { return std::min<uint32_t>(value, 100); }

uint32_t Clamp(uint32_t value, uint32_t low, uint32_t high) {
    // Low first, then high: limits entered the wrong way round cannot trap the value.
    if (value < low) value = low;
    if (value > high) value = high;
    return value;
}

// Brightness and contrast differ only in their fields and calls, and in two rules:
// only brightness falls back to the laptop panel, and a contrast write whose read-back
// never answers is judged by the contrast stored before.
struct ValueKind {
    uint32_t MonitorEntry::*min;
    uint32_t MonitorEntry::*value;
    uint32_t MonitorEntry::*max;
    bool (MonitorApi::*get)(PhysicalHandle, uint32_t&, uint32_t&, uint32_t&);
    bool (MonitorApi::*set)(PhysicalHandle, uint32_t);
    uint32_t DdcOperationState::*requested;
    bool DdcOperationState::*ok;
    bool isBrightness;
};

const ValueKind kBrightness{&MonitorEntry::brightnessMin, &MonitorEntry::brightness, &MonitorEntry::brightnessMax,
                            &MonitorApi::GetMonitorBrightness, &MonitorApi::SetMonitorBrightness,
                            &DdcOperationState::requestedBrightness, &DdcOperationState::brightnessOk, true};
const ValueKind kContrast{&MonitorEntry::contrastMin, &MonitorEntry::contrast, &MonitorEntry::contrastMax,
                          &MonitorApi::GetMonitorContrast, &MonitorApi::SetMonitorContrast,
                          &DdcOperationState::requestedContrast, &DdcOperationState::contrastOk, false};

bool GetValue(Core& core, const ValueKind& kind, PhysicalHandle monitor, MonitorEntry& entry) {
    uint32_t min = 0, current = 0, max = 0;
    if (!(core.platform.monitors.*kind.get)(monitor, min, current, max)) return false;
    entry.*kind.min = min;
    entry.*kind.max = max;
    entry.*kind.value = NormaliseValue(current, min, max, kValueScale);
    return true;
}

bool GetGain(Core& core, PhysicalHandle monitor, MonitorEntry& entry, int channel, bool requireRange) {
    const GainFields& f = kGains[channel];
    uint32_t min = 0, current = 0, max = 0;
    if (!core.platform.monitors.GetMonitorRedGreenOrBlueGain(monitor, static_cast<GainType>(channel), min, current, max))
        return false;
    if (requireRange && min == max) return false;
    entry.*f.min = min;
    entry.*f.max = max;
    entry.*f.value = NormaliseValue(current, min, max, kGainScale);
    return true;
}

// A monitor silent so far has no range (0..0), which would send every request as raw 0:
// such a range is read first. False when the monitor did not answer.
bool KnowRange(Core& core, const ValueKind& kind, PhysicalHandle monitor, MonitorEntry& entry) {
    return entry.*kind.min != entry.*kind.max || GetValue(core, kind, monitor, entry);
}

void WriteValue(Core& core, const ValueKind& kind, PhysicalHandle monitor) {
    MonitorEntry& entry = core.Selected();
    uint32_t request = core.ddc.*kind.requested;
    bool success = false;
    if (!KnowRange(core, kind, monitor, entry)) {
        // No DDC/CI answer: as after a refused write, only brightness has a fallback.
        if (kind.isBrightness && entry.isLaptopPanel) success = SetLaptopBrightness(core, CutTo100(request));
    } else if (!core.settings.rereadvalues && request == entry.*kind.value) {
        success = true;
    } else {
        request = CutTo100(request);
        const uint32_t raw = RawValue(request, entry.*kind.min, entry.*kind.max, kValueScale);
        if ((core.platform.monitors.*kind.set)(monitor, raw)) {
            (void)core.platform.monitors.SaveCurrentMonitorSettings(monitor);
            const bool read =
                Attempt(core, kReadAttempts, kReadPauseMs, [&] { return GetValue(core, kind, monitor, entry); });
            success = (read || !kind.isBrightness) && entry.*kind.value == request;
        } else if (kind.isBrightness && entry.isLaptopPanel) {
            // Only the row the pass found to be the panel: another monitor without DDC/CI
            // must not dim the laptop's own screen.
            success = SetLaptopBrightness(core, request);
        }
    }
    if (!success) return;
    core.ddc.*kind.ok = true;
    core.ddc.valueChanged = true;
}

void WriteGain(Core& core, PhysicalHandle monitor) {
    MonitorEntry& entry = core.Selected();
    const int channel = core.ddc.requestedChannel;
    const GainFields& f = kGains[channel];
    const uint32_t request = core.ddc.requestedGain;
    bool success = false;
    // A range never read would send the request as raw 0; one that cannot be read fails the attempt.
    if (entry.*f.min == entry.*f.max && !GetGain(core, monitor, entry, channel, false)) return;
    if (!core.settings.rereadvalues && request == entry.*f.value) {
        success = true;
    } else {
        const uint32_t raw = RawValue(request, entry.*f.min, entry.*f.max, kGainScale);
        if (core.platform.monitors.SetMonitorRedGreenOrBlueGain(monitor, static_cast<GainType>(channel), raw)) {
            (void)core.platform.monitors.SaveCurrentMonitorSettings(monitor);
            (void)Attempt(core, kReadAttempts, kReadPauseMs, [&] { return GetGain(core, monitor, entry, channel, false); });
            success = true;
        }
    }
    if (success) core.ddc.gainOk = true;
}

using WriteOperation = std::function<void(PhysicalHandle)>;

// Up to ten enumerations with the write operation, 100 ms after each failed one.
void WriteLoop(Core& core, const WriteOperation& write, bool& success) {
    if (!core.Selected().ignoreName.Empty()) return;  // an ignored monitor gets no DDC/CI traffic
    for (int attempt = 0; attempt < kSetterAttempts; ++attempt) {
        success = false;
        WithSelectedMonitor(core, write);
        if (success) return;
        core.platform.clock.Sleep(kSetterPauseMs);
    }
}

// The same request to the selected monitor or, with `samevalues`, to every row in turn.
// Each row tried is marked for the popup, written or not: a failed write may still have
// read the monitor's value back.
void RunSetter(Core& core, const WriteOperation& write, bool& success) {
    if (!core.settings.samevalues) {
        WriteLoop(core, write, success);
        core.ddc.changedRows.set(core.SelectedIndex());
        return;
    }
    const int64_t selected = core.selectedMonitor;
    for (int row = 0; row < core.list.Rows(); ++row) {
        core.selectedMonitor = row;
        WriteLoop(core, write, success);
        core.ddc.changedRows.set(static_cast<std::size_t>(row));
    }
    core.selectedMonitor = selected;
}

}  // namespace

bool WithSelectedMonitor(Core& core, const std::function<void(PhysicalHandle)>& operation) {
    MonitorApi& api = core.platform.monitors;
    bool reached = false;
    core.enumCounter = 0;
    api.EnumDisplayMonitors([&](DisplayHandle display, const Rect&) {
        uint32_t count = 0;
        std::vector<PhysicalMonitor> monitors;
        // The enumeration pass stops at such a display, so the rows end there: counting on
        // would give a row's number to a monitor of a later display.
        if (!api.GetNumberOfPhysicalMonitorsFromHMONITOR(display, count) ||
            !api.GetPhysicalMonitorsFromHMONITOR(display, count, monitors))
            return false;
        for (const PhysicalMonitor& monitor : monitors) {
            // The index the views show, so a selection outside the table acts where it is shown.
            if (core.enumCounter == static_cast<int64_t>(core.SelectedIndex())) {
                reached = true;
                operation(monitor.handle);
                (void)api.DestroyPhysicalMonitors(monitors);
                return false;
            }
            ++core.enumCounter;
        }
        (void)api.DestroyPhysicalMonitors(monitors);
        return true;
    });
    return reached;
}

void SetBrightness(Core& core, uint32_t value) {
    const MonitorEntry& entry = core.Selected();
    core.ddc.requestedBrightness = Clamp(value, entry.brightnessLow, entry.brightnessHigh);
    RunSetter(core, [&](PhysicalHandle monitor) { WriteValue(core, kBrightness, monitor); }, core.ddc.brightnessOk);
    if (!core.Selected().isLaptopPanel) core.lastChangedKind = ChangeKind::Brightness;
}

void SetContrast(Core& core, uint32_t value) {
    const MonitorEntry& entry = core.Selected();
    core.ddc.requestedContrast = Clamp(value, entry.contrastLow, entry.contrastHigh);
    RunSetter(core, [&](PhysicalHandle monitor) { WriteValue(core, kContrast, monitor); }, core.ddc.contrastOk);
    core.lastChangedKind = ChangeKind::Contrast;
}

void SetColorGain(Core& core, uint32_t value, int channel) {
    if (channel < 0 || channel > 2) return;
    core.ddc.requestedGain = value;
    core.ddc.requestedChannel = channel;
    RunSetter(core, [&](PhysicalHandle monitor) { WriteGain(core, monitor); }, core.ddc.gainOk);
    core.lastChangedKind = kGains[channel].changedKind;
}

bool ReadBrightness(Core& core) {
    bool success = false;
    WithSelectedMonitor(core, [&](PhysicalHandle monitor) {
        MonitorEntry& entry = core.Selected();
        const uint32_t before = entry.brightness;
        uint32_t min = 0, current = 0, max = 0;
        if (core.platform.monitors.GetMonitorBrightness(monitor, min, current, max)) {
            success = true;
            entry.brightnessMin = min;
            entry.brightnessMax = max;
            entry.brightness = current;
            if (max != min) {
                entry.brightness = NormaliseValue(current, min, max, kValueScale);
                core.ddc.readDone = true;
                if (entry.brightness != before) core.ddc.valueChanged = true;
            }
            return;
        }
        if (!ReadLaptopBrightness(core, static_cast<int>(core.SelectedIndex()))) return;
        success = true;
        core.ddc.readDone = true;
        if (entry.brightness != before) core.ddc.valueChanged = true;
    });
    return success;
}

bool FindEntryOfDisplay(Core& core, DisplayHandle target) {
    MonitorApi& api = core.platform.monitors;
    bool found = false;
    int64_t counter = 0;
    api.EnumDisplayMonitors([&](DisplayHandle display, const Rect&) {
        if (display == target) {
            core.selectedMonitor = counter;
            found = true;
            return false;
        }
        uint32_t count = 0;
        if (api.GetNumberOfPhysicalMonitorsFromHMONITOR(display, count)) counter += count;
        return true;
    });
    return found;
}

bool ReadBrightnessWithRetries(Core& core, PhysicalHandle monitor, MonitorEntry& entry) {
    return Attempt(core, kReadAttempts, kReadPauseMs, [&] { return GetValue(core, kBrightness, monitor, entry); });
}

bool ReadContrastWithRetries(Core& core, PhysicalHandle monitor, MonitorEntry& entry) {
    return Attempt(core, kReadAttempts, kReadPauseMs, [&] { return GetValue(core, kContrast, monitor, entry); });
}

bool ReadCurrentPreset(Core& core, PhysicalHandle monitor, MonitorEntry& entry) {
    VcpReply reply;
    if (!Attempt(core, kVcpAttempts, kVcpPauseMs,
                 [&] { return core.platform.monitors.GetVCPFeatureAndVCPFeatureReply(monitor, kVcpColorPreset, reply); }))
        return false;
    if (reply.current >= 1 && reply.current <= kMaxPreset) {
        entry.presetNames[0] = PresetName(static_cast<int>(reply.current));
        entry.userPresetActive = ContainsNoCase(entry.presetNames[0].View(), "user") ? 1 : 0;
    }
    return true;
}

bool ReadCurrentInput(Core& core, PhysicalHandle monitor, MonitorEntry& entry) {
    VcpReply reply;
    if (!Attempt(core, kVcpAttempts, kVcpPauseMs,
                 [&] { return core.platform.monitors.GetVCPFeatureAndVCPFeatureReply(monitor, kVcpInputSource, reply); }))
        return false;
    if (reply.current >= 1 && reply.current <= kMaxInput) entry.inputNames[0] = InputName(static_cast<int>(reply.current));
    return true;
}

void ReadGains(Core& core, PhysicalHandle monitor, MonitorEntry& entry) {
    for (int channel = 0; channel < 3; ++channel)
        (void)Attempt(core, kReadAttempts, kReadPauseMs, [&] { return GetGain(core, monitor, entry, channel, true); });
}

PendingWrites WritePendingValues(Core& core, PhysicalHandle monitor, MonitorEntry& entry, bool& presetWritten) {
    MonitorApi& api = core.platform.monitors;
    if (entry.factoryResetPending) {
        entry.factoryResetPending = 0;
        (void)api.SetVCPFeature(monitor, kVcpFactoryReset, 1);
        RequestRestart(core, RestartView::AsStarted);
        return PendingWrites::FactoryReset;
    }
    if (entry.pendingPreset < 0 || entry.pendingPreset > kMaxPreset) entry.pendingPreset = 0;
    if (entry.pendingInput < 0 || entry.pendingInput > kMaxInput) entry.pendingInput = 0;

    if (const int preset = entry.pendingPreset) {
        if (Attempt(core, kVcpAttempts, kVcpPauseMs,
                    [&] { return api.SetVCPFeature(monitor, kVcpColorPreset, static_cast<uint32_t>(preset)); })) {
            core.platform.clock.Sleep(kPresetSettleMs);
            entry.presetNames[0] = PresetName(preset);
            entry.userPresetActive = ContainsNoCase(entry.presetNames[0].View(), "user") ? 1 : 0;
            entry.pendingPreset = 0;
            entry.readMode = 2;
            (void)api.SaveCurrentMonitorSettings(monitor);
            presetWritten = true;
        }
    }
    if (const int input = entry.pendingInput) {
        if (Attempt(core, kVcpAttempts, kVcpPauseMs,
                    [&] { return api.SetVCPFeature(monitor, kVcpInputSource, static_cast<uint32_t>(input)); })) {
            core.platform.clock.Sleep(kInputSettleMs);
            entry.inputNames[0] = InputName(input);
            entry.pendingInput = 0;
            entry.contrastMax = 0;
            entry.readMode = 2;
            (void)api.SaveCurrentMonitorSettings(monitor);
        }
    }
    return PendingWrites::Done;
}

}  // namespace lv
