// A stand-in for dxva2.dll's Monitor Configuration calls, driving the simulated fleet
// named by LUMIVANE_FLEET, so the real program can be run end to end under Wine.
//
// - The fleet is read on the first call, and read again at the start of any later call
//   when the file changed since this DLL last read or wrote it (another identity, size or
//   modification time), so a test can swap the hardware while the program runs. A fleet
//   of the same shape keeps the open handles, which then see the new values; the values
//   a factory reset restores become the new ones. An unusable fleet is logged with its
//   reason once per change: at the start every call fails, later the last good fleet stays.
// - Real display monitors map to fleet displays by enumeration order: the i-th HMONITOR of
//   EnumDisplayMonitors is fleet display i. Fleet displays beyond the real ones cannot be
//   reached, and a real display without a fleet display has no physical monitors to open.
// - Physical-monitor handles are SimMonitorApi's, which also decides every DDC/CI answer.
// - Each Set* call writes the fleet back through a temporary file and a rename, so a
//   reader never sees half a file. Should the file change while the call runs, the write
//   is dropped: the outside edit wins and is read at the next call. A test that edits the
//   fleet should therefore replace it by a rename too (the DLL never reads half a file),
//   and expect a set made during its edit to be lost, as on a monitor swapped meanwhile.
// - With LUMIVANE_DXVA2_LOG set, every call appends SimMonitorApi's log line, its time
//   counted in milliseconds since the fleet was first read.
// - No exception leaves an export: a failure inside one becomes FALSE.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_monitor_api.h"
#include "platform/sim/fleet.h"
#include "platform/win32/lowlevel_monitor.h"

namespace {

using lv::sim::SimClock;
using lv::sim::SimMonitorApi;
using lv::sim::Fleet;

std::optional<std::wstring> Environment(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return std::nullopt;
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    if (length == 0 || length >= size) return std::nullopt;
    value.resize(length);
    return value;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

class File {
public:
    explicit File(HANDLE handle) : handle_(handle) {}
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() {
        if (valid()) CloseHandle(handle_);
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view text) {
    while (!text.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1u << 20));
        if (!WriteFile(file, text.data(), chunk, &written, nullptr) || written == 0) return false;
        text.remove_prefix(written);
    }
    return true;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return std::nullopt;
    std::string text;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    return text;
}

// What tells one version of the fleet file from another; a missing file has its own.
struct FileStamp {
    bool exists = false;
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    DWORD sizeHigh = 0;
    DWORD sizeLow = 0;
    FILETIME written{};

    bool operator==(const FileStamp& other) const {
        return exists == other.exists && volume == other.volume && indexHigh == other.indexHigh &&
               indexLow == other.indexLow && sizeHigh == other.sizeHigh && sizeLow == other.sizeLow &&
               CompareFileTime(&written, &other.written) == 0;
    }
};

FileStamp StampOf(const std::wstring& path) {
    FileStamp stamp;
    File file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !GetFileInformationByHandle(file.get(), &info)) return stamp;
    stamp.exists = true;
    stamp.volume = info.dwVolumeSerialNumber;
    stamp.indexHigh = info.nFileIndexHigh;
    stamp.indexLow = info.nFileIndexLow;
    stamp.sizeHigh = info.nFileSizeHigh;
    stamp.sizeLow = info.nFileSizeLow;
    stamp.written = info.ftLastWriteTime;
    return stamp;
}

// Written beside the target, so the rename stays on one volume and replaces it at once.
bool ReplaceFile(const std::wstring& path, std::string_view text) {
    const std::wstring temporary = path + L".tmp" + std::to_wstring(GetCurrentProcessId());
    {
        File file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
        if (!file.valid() || !WriteAll(file.get(), text)) {
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(temporary.c_str());
    return false;
}

void AppendToFile(const std::wstring& path, std::string_view text) {
    File file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid()) WriteAll(file.get(), text);
}

class Simulation {
public:
    // Runs one call against the fake; false when the fleet is unusable.
    template <typename Call>
    bool Run(Call&& call, bool changesFleet = false) {
        std::lock_guard lock(mutex_);
        Load();
        if (!api_) return false;
        clock_.AdvanceTo(GetTickCount64() - start_);
        const bool ok = call(*api_);
        if (changesFleet) WriteBack();
        FlushLog();
        return ok;
    }

    // The fleet display that stands for a real display monitor.
    static lv::DisplayHandle DisplayFor(HMONITOR monitor) {
        struct Search {
            HMONITOR wanted;
            std::size_t index = 0;
            bool found = false;
        } search{monitor};
        EnumDisplayMonitors(
            nullptr, nullptr,
            [](HMONITOR each, HDC, LPRECT, LPARAM data) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(data);
                if (each == s.wanted) {
                    s.found = true;
                    return FALSE;
                }
                ++s.index;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        // An unknown HMONITOR gets a handle the fake knows no display by, so it fails and logs.
        return search.found ? SimMonitorApi::DisplayHandleAt(search.index) : 0;
    }

private:
    // Reads the fleet on the first call and again whenever the file changed since.
    void Load() {
        if (!configured_) {
            configured_ = true;
            logPath_ = Environment(L"LUMIVANE_DXVA2_LOG");
            const std::optional<std::wstring> fleetPath = Environment(L"LUMIVANE_FLEET");
            if (!fleetPath) {
                Log("no fleet: LUMIVANE_FLEET is not set\n");
                return;
            }
            fleetPath_ = *fleetPath;
        } else if (fleetPath_.empty()) {
            return;
        }
        const FileStamp stamp = StampOf(fleetPath_);
        if (read_ && stamp == stamp_) return;
        const bool again = read_;
        read_ = true;
        stamp_ = stamp;
        const std::string unusable = (api_ ? "fleet change ignored: " : "no fleet: ") + Narrow(fleetPath_);
        stale_ = true;
        const std::optional<std::string> text = ReadWholeFile(fleetPath_);
        if (!text) {
            Log(unusable + ": cannot read the file\n");
            return;
        }
        lv::sim::FleetParseResult parsed = lv::sim::ParseFleet(*text);
        if (!parsed.ok) {
            Log(unusable + ":" + std::to_string(parsed.error.line) + ": " + parsed.error.message + "\n");
            return;
        }
        stale_ = false;
        // Assigned in place: the fake refers to this fleet and keeps its open handles.
        fleet_ = std::move(parsed.fleet);
        if (api_) {
            api_->CaptureFactoryDefaults();
        } else {
            start_ = GetTickCount64();
            api_ = std::make_unique<SimMonitorApi>(fleet_, clock_);
        }
        if (again) Log("fleet read again: " + Narrow(fleetPath_) + "\n");
    }

    // Skipped when the file changed during the call: that edit wins and is read next time.
    // A file that could not be read stays as it is, too.
    void WriteBack() {
        if (stale_) {
            Log("fleet file unusable, not written back\n");
            return;
        }
        if (!(StampOf(fleetPath_) == stamp_)) {
            Log("fleet changed meanwhile, not written back\n");
            return;
        }
        if (!ReplaceFile(fleetPath_, lv::sim::WriteFleet(fleet_))) {
            Log("cannot write the fleet back to " + Narrow(fleetPath_) + "\n");
            return;
        }
        stamp_ = StampOf(fleetPath_);
    }

    void Log(std::string_view text) {
        if (logPath_) AppendToFile(*logPath_, text);
    }

    void FlushLog() {
        std::string text;
        for (const std::string& line : api_->CallLog()) text += line + "\n";
        api_->ClearCallLog();
        Log(text);
    }

    std::mutex mutex_;
    bool configured_ = false;  // the environment has been read
    bool read_ = false;        // the fleet file has been read at least once
    FileStamp stamp_;          // the file as last read or written
    bool stale_ = false;       // the file's last version could not be read
    std::optional<std::wstring> logPath_;
    std::wstring fleetPath_;
    Fleet fleet_;
    SimClock clock_;
    ULONGLONG start_ = 0;
    std::unique_ptr<SimMonitorApi> api_;
};

Simulation& TheSimulation() {
    static Simulation simulation;
    return simulation;
}

template <typename Call>
BOOL Export(Call&& call, bool changesFleet = false) {
    bool ok = false;
    try {
        ok = TheSimulation().Run(call, changesFleet);
    } catch (...) {
        ok = false;
    }
    if (!ok) SetLastError(ERROR_GEN_FAILURE);
    return ok ? TRUE : FALSE;
}

lv::PhysicalHandle Physical(HANDLE monitor) { return reinterpret_cast<lv::PhysicalHandle>(monitor); }

// Runs a range read, filling the caller's values only when it succeeds.
template <typename Read>
bool ReadRange(Read&& read, LPDWORD outMin, LPDWORD outCurrent, LPDWORD outMax) {
    uint32_t min = 0, current = 0, max = 0;
    if (!read(min, current, max)) return false;
    *outMin = min;
    *outCurrent = current;
    *outMax = max;
    return true;
}

}  // namespace

extern "C" {

BOOL WINAPI GetNumberOfPhysicalMonitorsFromHMONITOR(HMONITOR hMonitor, LPDWORD pdwNumberOfPhysicalMonitors) {
    if (!pdwNumberOfPhysicalMonitors) return FALSE;
    return Export([&](SimMonitorApi& api) {
        uint32_t count = 0;
        const bool ok = api.GetNumberOfPhysicalMonitorsFromHMONITOR(Simulation::DisplayFor(hMonitor), count);
        if (ok) *pdwNumberOfPhysicalMonitors = count;
        return ok;
    });
}

BOOL WINAPI GetPhysicalMonitorsFromHMONITOR(HMONITOR hMonitor, DWORD dwPhysicalMonitorArraySize,
                                            LPPHYSICAL_MONITOR pPhysicalMonitorArray) {
    if (!pPhysicalMonitorArray) return FALSE;
    return Export([&](SimMonitorApi& api) {
        std::vector<lv::PhysicalMonitor> monitors;
        if (!api.GetPhysicalMonitorsFromHMONITOR(Simulation::DisplayFor(hMonitor), dwPhysicalMonitorArraySize,
                                                 monitors))
            return false;
        for (std::size_t i = 0; i < monitors.size() && i < dwPhysicalMonitorArraySize; ++i) {
            PHYSICAL_MONITOR& out = pPhysicalMonitorArray[i];
            out.hPhysicalMonitor = reinterpret_cast<HANDLE>(monitors[i].handle);
            const std::u16string& text = monitors[i].description;
            const std::size_t length = std::min<std::size_t>(text.size(), PHYSICAL_MONITOR_DESCRIPTION_SIZE - 1);
            for (std::size_t c = 0; c < length; ++c) out.szPhysicalMonitorDescription[c] = text[c];
            out.szPhysicalMonitorDescription[length] = L'\0';
        }
        return true;
    });
}

BOOL WINAPI DestroyPhysicalMonitors(DWORD dwPhysicalMonitorArraySize, LPPHYSICAL_MONITOR pPhysicalMonitorArray) {
    if (!pPhysicalMonitorArray && dwPhysicalMonitorArraySize) return FALSE;
    return Export([&](SimMonitorApi& api) {
        std::vector<lv::PhysicalMonitor> monitors(dwPhysicalMonitorArraySize);
        for (DWORD i = 0; i < dwPhysicalMonitorArraySize; ++i)
            monitors[i].handle = Physical(pPhysicalMonitorArray[i].hPhysicalMonitor);
        return api.DestroyPhysicalMonitors(monitors);
    });
}

BOOL WINAPI DestroyPhysicalMonitor(HANDLE hMonitor) {
    return Export([&](SimMonitorApi& api) {
        return api.DestroyPhysicalMonitors({lv::PhysicalMonitor{Physical(hMonitor), {}}});
    });
}

BOOL WINAPI GetMonitorBrightness(HANDLE hMonitor, LPDWORD pdwMinimumBrightness, LPDWORD pdwCurrentBrightness,
                                 LPDWORD pdwMaximumBrightness) {
    if (!pdwMinimumBrightness || !pdwCurrentBrightness || !pdwMaximumBrightness) return FALSE;
    return Export([&](SimMonitorApi& api) {
        return ReadRange(
            [&](uint32_t& min, uint32_t& current, uint32_t& max) {
                return api.GetMonitorBrightness(Physical(hMonitor), min, current, max);
            },
            pdwMinimumBrightness, pdwCurrentBrightness, pdwMaximumBrightness);
    });
}

BOOL WINAPI SetMonitorBrightness(HANDLE hMonitor, DWORD dwNewBrightness) {
    return Export([&](SimMonitorApi& api) { return api.SetMonitorBrightness(Physical(hMonitor), dwNewBrightness); },
                  true);
}

BOOL WINAPI GetMonitorContrast(HANDLE hMonitor, LPDWORD pdwMinimumContrast, LPDWORD pdwCurrentContrast,
                               LPDWORD pdwMaximumContrast) {
    if (!pdwMinimumContrast || !pdwCurrentContrast || !pdwMaximumContrast) return FALSE;
    return Export([&](SimMonitorApi& api) {
        return ReadRange(
            [&](uint32_t& min, uint32_t& current, uint32_t& max) {
                return api.GetMonitorContrast(Physical(hMonitor), min, current, max);
            },
            pdwMinimumContrast, pdwCurrentContrast, pdwMaximumContrast);
    });
}

BOOL WINAPI SetMonitorContrast(HANDLE hMonitor, DWORD dwNewContrast) {
    return Export([&](SimMonitorApi& api) { return api.SetMonitorContrast(Physical(hMonitor), dwNewContrast); },
                  true);
}

BOOL WINAPI GetMonitorRedGreenOrBlueGain(HANDLE hMonitor, MC_GAIN_TYPE gtGainType, LPDWORD pdwMinimumGain,
                                         LPDWORD pdwCurrentGain, LPDWORD pdwMaximumGain) {
    if (!pdwMinimumGain || !pdwCurrentGain || !pdwMaximumGain) return FALSE;
    return Export([&](SimMonitorApi& api) {
        const auto gain = static_cast<lv::GainType>(gtGainType);
        return ReadRange(
            [&](uint32_t& min, uint32_t& current, uint32_t& max) {
                return api.GetMonitorRedGreenOrBlueGain(Physical(hMonitor), gain, min, current, max);
            },
            pdwMinimumGain, pdwCurrentGain, pdwMaximumGain);
    });
}

BOOL WINAPI SetMonitorRedGreenOrBlueGain(HANDLE hMonitor, MC_GAIN_TYPE gtGainType, DWORD dwNewGain) {
    return Export(
        [&](SimMonitorApi& api) {
            return api.SetMonitorRedGreenOrBlueGain(Physical(hMonitor), static_cast<lv::GainType>(gtGainType),
                                                    dwNewGain);
        },
        true);
}

// The code type and both values are optional, as they are for dxva2.
BOOL WINAPI GetVCPFeatureAndVCPFeatureReply(HANDLE hMonitor, BYTE bVCPCode, LPMC_VCP_CODE_TYPE pvct,
                                            LPDWORD pdwCurrentValue, LPDWORD pdwMaximumValue) {
    return Export([&](SimMonitorApi& api) {
        lv::VcpReply reply;
        if (!api.GetVCPFeatureAndVCPFeatureReply(Physical(hMonitor), bVCPCode, reply)) return false;
        if (pvct) *pvct = MC_SET_PARAMETER;
        if (pdwCurrentValue) *pdwCurrentValue = reply.current;
        if (pdwMaximumValue) *pdwMaximumValue = reply.maximum;
        return true;
    });
}

BOOL WINAPI SetVCPFeature(HANDLE hMonitor, BYTE bVCPCode, DWORD dwNewValue) {
    return Export([&](SimMonitorApi& api) { return api.SetVCPFeature(Physical(hMonitor), bVCPCode, dwNewValue); },
                  true);
}

BOOL WINAPI GetCapabilitiesStringLength(HANDLE hMonitor, LPDWORD pdwCapabilitiesStringLengthInCharacters) {
    if (!pdwCapabilitiesStringLengthInCharacters) return FALSE;
    return Export([&](SimMonitorApi& api) {
        uint32_t length = 0;
        const bool ok = api.GetCapabilitiesStringLength(Physical(hMonitor), length);
        if (ok) *pdwCapabilitiesStringLengthInCharacters = length;
        return ok;
    });
}

BOOL WINAPI CapabilitiesRequestAndCapabilitiesReply(HANDLE hMonitor, LPSTR pszASCIICapabilitiesString,
                                                    DWORD dwCapabilitiesStringLengthInCharacters) {
    if (!pszASCIICapabilitiesString) return FALSE;
    return Export([&](SimMonitorApi& api) {
        std::string text;
        if (!api.CapabilitiesRequestAndCapabilitiesReply(Physical(hMonitor), dwCapabilitiesStringLengthInCharacters,
                                                         text))
            return false;
        // The fake has checked that the text and its terminator fit.
        text.copy(pszASCIICapabilitiesString, text.size());
        pszASCIICapabilitiesString[text.size()] = '\0';
        return true;
    });
}

BOOL WINAPI SaveCurrentMonitorSettings(HANDLE hMonitor) {
    return Export([&](SimMonitorApi& api) { return api.SaveCurrentMonitorSettings(Physical(hMonitor)); });
}

}  // extern "C"
