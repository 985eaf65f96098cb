// The simulated dxva2.dll, loaded as the program would meet it, over a fleet file in a
// fresh folder. The DLL is copied there under another name: this executable already
// imports the system's dxva2.dll, and a second module of that name would be answered by
// the loaded one.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/fleet.h"
#include "platform/win32/lowlevel_monitor.h"

namespace {

constexpr char kFleet[] = R"([display]
device = \\.\DISPLAY1
rect = 0 0 1024 700

[monitor]
description = Alpha Panel
brightness = 10 40 90
contrast = 0 75 100
red = 0 50 255
capabilities = (prot(monitor)vcp(10 12 60(0F 11)))
input = 0x0F

[monitor]
description = Beta Panel
capabilities = (vcp(10))
ddc = dead
)";

struct Dxva2 {
    decltype(&::GetNumberOfPhysicalMonitorsFromHMONITOR) getCount = nullptr;
    decltype(&::GetPhysicalMonitorsFromHMONITOR) getMonitors = nullptr;
    decltype(&::DestroyPhysicalMonitors) destroyMonitors = nullptr;
    decltype(&::GetMonitorBrightness) getBrightness = nullptr;
    decltype(&::SetMonitorBrightness) setBrightness = nullptr;
    decltype(&::SetMonitorContrast) setContrast = nullptr;
    decltype(&::SetMonitorRedGreenOrBlueGain) setGain = nullptr;
    decltype(&::SetVCPFeature) setVcp = nullptr;
    decltype(&::GetCapabilitiesStringLength) getCapabilitiesLength = nullptr;
    decltype(&::CapabilitiesRequestAndCapabilitiesReply) getCapabilities = nullptr;
};

template <typename Function>
void Bind(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    EXPECT_NE(function, nullptr) << name;
}

HMONITOR FirstDisplay() {
    HMONITOR first = nullptr;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            *reinterpret_cast<HMONITOR*>(data) = monitor;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&first));
    return first;
}

class SimulatedDxva2Test : public ::testing::Test {
protected:
    SimulatedDxva2Test() {
        char temp[MAX_PATH + 1];
        folder_ = std::string(temp, ::GetTempPathA(MAX_PATH + 1, temp)) + "lumivane-dxva2-" +
                  std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++serial_) + "\\";
        ::CreateDirectoryA(folder_.c_str(), nullptr);
        WriteFleet(kFleet);
        ::SetEnvironmentVariableA("LUMIVANE_FLEET", FleetPath().c_str());
    }

    ~SimulatedDxva2Test() override {
        if (module_) ::FreeLibrary(module_);
        ::SetEnvironmentVariableA("LUMIVANE_FLEET", nullptr);
        for (const char* name : {"test.fleet", "simulated_dxva2.dll"}) ::DeleteFileA((folder_ + name).c_str());
        ::RemoveDirectoryA(folder_.c_str());
    }

    std::string FleetPath() const { return folder_ + "test.fleet"; }
    void WriteFleet(const std::string& text) const { std::ofstream(FleetPath(), std::ios::binary) << text; }

    std::string ReadFile(const std::string& path) const {
        std::ifstream file(path, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    lv::sim::Fleet ReadFleet() const {
        const lv::sim::FleetFileResult read = lv::sim::ReadFleetFile(FleetPath());
        EXPECT_TRUE(read.ok) << read.error;
        return read.fleet;
    }

    // Loaded after the environment is set (the DLL reads it on its first call), and opens
    // the physical monitors of the first display, which the fleet's first display stands for.
    std::vector<PHYSICAL_MONITOR> LoadAndOpen() {
        char path[MAX_PATH];
        std::string source(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
        source = source.substr(0, source.find_last_of("\\/") + 1) + "simulated\\dxva2.dll";
        const std::string copy = folder_ + "simulated_dxva2.dll";
        EXPECT_TRUE(::CopyFileA(source.c_str(), copy.c_str(), FALSE));
        module_ = ::LoadLibraryA(copy.c_str());
        if (!module_) {
            ADD_FAILURE() << "the simulated dxva2.dll does not load";
            return {};
        }
        Bind(module_, "GetNumberOfPhysicalMonitorsFromHMONITOR", dxva2.getCount);
        Bind(module_, "GetPhysicalMonitorsFromHMONITOR", dxva2.getMonitors);
        Bind(module_, "DestroyPhysicalMonitors", dxva2.destroyMonitors);
        Bind(module_, "GetMonitorBrightness", dxva2.getBrightness);
        Bind(module_, "SetMonitorBrightness", dxva2.setBrightness);
        Bind(module_, "SetMonitorContrast", dxva2.setContrast);
        Bind(module_, "SetMonitorRedGreenOrBlueGain", dxva2.setGain);
        Bind(module_, "SetVCPFeature", dxva2.setVcp);
        Bind(module_, "GetCapabilitiesStringLength", dxva2.getCapabilitiesLength);
        Bind(module_, "CapabilitiesRequestAndCapabilitiesReply", dxva2.getCapabilities);
        DWORD count = 0;
        if (!dxva2.getCount || !dxva2.getMonitors) return {};
        EXPECT_TRUE(dxva2.getCount(FirstDisplay(), &count));
        std::vector<PHYSICAL_MONITOR> monitors(count);
        EXPECT_TRUE(dxva2.getMonitors(FirstDisplay(), count, monitors.data()));
        return monitors;
    }

    std::string folder_;
    HMODULE module_ = nullptr;
    Dxva2 dxva2;
    static inline int serial_ = 0;
};

TEST_F(SimulatedDxva2Test, FirstDisplayOffersTheFleetsMonitors) {
    std::vector<PHYSICAL_MONITOR> monitors = LoadAndOpen();
    ASSERT_EQ(monitors.size(), 2u);
    EXPECT_STREQ(monitors[0].szPhysicalMonitorDescription, L"Alpha Panel");
    EXPECT_STREQ(monitors[1].szPhysicalMonitorDescription, L"Beta Panel");
    EXPECT_NE(monitors[0].hPhysicalMonitor, monitors[1].hPhysicalMonitor);

    DWORD length = 0;
    ASSERT_TRUE(dxva2.getCapabilitiesLength(monitors[0].hPhysicalMonitor, &length));
    std::string capabilities(length, '?');
    ASSERT_TRUE(dxva2.getCapabilities(monitors[0].hPhysicalMonitor, capabilities.data(), length));
    EXPECT_EQ(capabilities, std::string("(prot(monitor)vcp(10 12 60(0F 11)))") + '\0');

    const HANDLE alpha = monitors[0].hPhysicalMonitor;
    EXPECT_TRUE(dxva2.destroyMonitors(static_cast<DWORD>(monitors.size()), monitors.data()));
    DWORD min = 0, current = 0, max = 0;
    EXPECT_FALSE(dxva2.getBrightness(alpha, &min, &current, &max)) << "closed handles reach no monitor";
}

TEST_F(SimulatedDxva2Test, SetsAreWrittenBackToTheFleetFile) {
    const std::vector<PHYSICAL_MONITOR> monitors = LoadAndOpen();
    ASSERT_EQ(monitors.size(), 2u);
    const HANDLE alpha = monitors[0].hPhysicalMonitor;
    DWORD min = 0, current = 0, max = 0;
    ASSERT_TRUE(dxva2.getBrightness(alpha, &min, &current, &max));
    EXPECT_EQ((std::vector<DWORD>{min, current, max}), (std::vector<DWORD>{10, 40, 90}));

    auto inFile = [&](std::size_t monitor) { return ReadFleet().displays.at(0).monitors.at(monitor); };
    EXPECT_TRUE(dxva2.setBrightness(alpha, 70));
    EXPECT_EQ(inFile(0).brightness.current, 70u);
    EXPECT_TRUE(dxva2.setContrast(alpha, 20));
    EXPECT_EQ(inFile(0).contrast.current, 20u);
    EXPECT_TRUE(dxva2.setGain(alpha, MC_RED_GAIN, 200));
    EXPECT_EQ(inFile(0).red.current, 200u);
    EXPECT_TRUE(dxva2.setVcp(alpha, 0x60, 0x11));
    EXPECT_EQ(inFile(0).input, 0x11u);
    // Outside the raw range, or to the dead monitor: refused, the file keeps the last value.
    EXPECT_FALSE(dxva2.setBrightness(alpha, 91));
    EXPECT_EQ(inFile(0).brightness.current, 70u);
    EXPECT_FALSE(dxva2.setBrightness(monitors[1].hPhysicalMonitor, 60));
    EXPECT_EQ(inFile(1).brightness.current, 50u);
}

// The harness swaps the hardware under a running program by replacing the fleet file.
TEST_F(SimulatedDxva2Test, ReadsTheFleetAgainWhenTheFileChanges) {
    const std::vector<PHYSICAL_MONITOR> monitors = LoadAndOpen();
    ASSERT_EQ(monitors.size(), 2u);
    const HANDLE alpha = monitors[0].hPhysicalMonitor;
    const HANDLE beta = monitors[1].hPhysicalMonitor;
    DWORD min = 0, current = 0, max = 0;
    ASSERT_FALSE(dxva2.getBrightness(beta, &min, &current, &max));
    ASSERT_TRUE(dxva2.setBrightness(alpha, 60));

    // Same shape, new values, Beta now answers; the open handles stay valid.
    std::string edited = kFleet;
    edited.replace(edited.find("10 40 90"), 8, "10 65 90");
    edited.replace(edited.find("ddc = dead"), 10, "ddc = ok  # repaired");
    WriteFleet(edited);
    ASSERT_TRUE(dxva2.getBrightness(alpha, &min, &current, &max));
    EXPECT_EQ(current, 65u);
    EXPECT_TRUE(dxva2.getBrightness(beta, &min, &current, &max));
    // A set keeps the rest of the edit.
    ASSERT_TRUE(dxva2.setContrast(beta, 30));
    lv::sim::Fleet fleet = ReadFleet();
    EXPECT_EQ(fleet.displays.at(0).monitors.at(0).brightness.current, 65u);
    EXPECT_EQ(fleet.displays.at(0).monitors.at(1).contrast.current, 30u);
    EXPECT_EQ(fleet.displays.at(0).monitors.at(1).ddc, lv::sim::DdcMode::Ok);

    // A file that cannot be read leaves the last fleet in use and is not overwritten.
    WriteFleet("[display]\ncolour = blue\n");
    ASSERT_TRUE(dxva2.getBrightness(alpha, &min, &current, &max));
    EXPECT_EQ(current, 65u);
    EXPECT_TRUE(dxva2.setBrightness(alpha, 20));
    EXPECT_EQ(ReadFile(FleetPath()), "[display]\ncolour = blue\n");
}

}  // namespace
