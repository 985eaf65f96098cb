// The simulated dxva2.dll, loaded as the program would meet it, over a fleet file in a
// fresh folder. The DLL is copied there under another name: this executable already
// imports the system's dxva2.dll, and a second module of that name would be answered by
// the loaded one.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/fleet.h"
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
    decltype(&::DestroyPhysicalMonitor) destroyMonitor = nullptr;
    decltype(&::GetMonitorBrightness) getBrightness = nullptr;
    decltype(&::SetMonitorBrightness) setBrightness = nullptr;
    decltype(&::GetMonitorContrast) getContrast = nullptr;
    decltype(&::SetMonitorContrast) setContrast = nullptr;
    decltype(&::GetMonitorRedGreenOrBlueGain) getGain = nullptr;
    decltype(&::SetMonitorRedGreenOrBlueGain) setGain = nullptr;
    decltype(&::GetVCPFeatureAndVCPFeatureReply) getVcp = nullptr;
    decltype(&::SetVCPFeature) setVcp = nullptr;
    decltype(&::GetCapabilitiesStringLength) getCapabilitiesLength = nullptr;
    decltype(&::CapabilitiesRequestAndCapabilitiesReply) getCapabilities = nullptr;
    decltype(&::SaveCurrentMonitorSettings) save = nullptr;
};

template <typename Function>
void Bind(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    EXPECT_NE(function, nullptr) << name;
}

std::wstring ExecutableFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::string Narrow(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(size) - 1);
    return out;
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
        wchar_t temp[MAX_PATH + 1];
        const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
        folder_ = std::wstring(temp, length) + L"lumivane-dxva2-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++serial_) + L"\\";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        WriteFleet(kFleet);
        ::SetEnvironmentVariableW(L"LUMIVANE_FLEET", FleetPath().c_str());
        ::SetEnvironmentVariableW(L"LUMIVANE_DXVA2_LOG", LogPath().c_str());
    }

    ~SimulatedDxva2Test() override {
        if (module_) ::FreeLibrary(module_);
        ::SetEnvironmentVariableW(L"LUMIVANE_FLEET", nullptr);
        ::SetEnvironmentVariableW(L"LUMIVANE_DXVA2_LOG", nullptr);
        for (const wchar_t* name : {L"test.fleet", L"calls.log", L"simulated_dxva2.dll"})
            ::DeleteFileW((folder_ + name).c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }

    std::wstring FleetPath() const { return folder_ + L"test.fleet"; }
    std::wstring LogPath() const { return folder_ + L"calls.log"; }

    void WriteFleet(const std::string& text) const {
        std::ofstream(Narrow(FleetPath()), std::ios::binary) << text;
    }

    std::string ReadFile(const std::wstring& path) const {
        std::ifstream file(Narrow(path), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    lv::fake::Fleet ReadFleet() const {
        const lv::fake::FleetParseResult parsed = lv::fake::ParseFleet(ReadFile(FleetPath()));
        EXPECT_TRUE(parsed.ok) << parsed.error.line << ": " << parsed.error.message;
        return parsed.fleet;
    }

    // The log's lines without their times, which follow the real clock.
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::istringstream log(ReadFile(LogPath()));
        for (std::string line; std::getline(log, line);) {
            if (line.rfind("t=", 0) == 0) line.erase(0, line.find(' ') + 1);
            lines.push_back(line);
        }
        return lines;
    }

    // Loaded after the environment is set: the DLL reads it on its first call.
    const Dxva2& Load() {
        const std::wstring copy = folder_ + L"simulated_dxva2.dll";
        EXPECT_TRUE(::CopyFileW((ExecutableFolder() + L"simulated\\dxva2.dll").c_str(), copy.c_str(), FALSE));
        module_ = ::LoadLibraryW(copy.c_str());
        EXPECT_NE(module_, nullptr);
        if (!module_) return dxva2_;
        Bind(module_, "GetNumberOfPhysicalMonitorsFromHMONITOR", dxva2_.getCount);
        Bind(module_, "GetPhysicalMonitorsFromHMONITOR", dxva2_.getMonitors);
        Bind(module_, "DestroyPhysicalMonitors", dxva2_.destroyMonitors);
        Bind(module_, "DestroyPhysicalMonitor", dxva2_.destroyMonitor);
        Bind(module_, "GetMonitorBrightness", dxva2_.getBrightness);
        Bind(module_, "SetMonitorBrightness", dxva2_.setBrightness);
        Bind(module_, "GetMonitorContrast", dxva2_.getContrast);
        Bind(module_, "SetMonitorContrast", dxva2_.setContrast);
        Bind(module_, "GetMonitorRedGreenOrBlueGain", dxva2_.getGain);
        Bind(module_, "SetMonitorRedGreenOrBlueGain", dxva2_.setGain);
        Bind(module_, "GetVCPFeatureAndVCPFeatureReply", dxva2_.getVcp);
        Bind(module_, "SetVCPFeature", dxva2_.setVcp);
        Bind(module_, "GetCapabilitiesStringLength", dxva2_.getCapabilitiesLength);
        Bind(module_, "CapabilitiesRequestAndCapabilitiesReply", dxva2_.getCapabilities);
        Bind(module_, "SaveCurrentMonitorSettings", dxva2_.save);
        return dxva2_;
    }

    // Opens the physical monitors of the first display, which the fleet's first display stands for.
    std::vector<PHYSICAL_MONITOR> Open(const Dxva2& dxva2) {
        DWORD count = 0;
        EXPECT_TRUE(dxva2.getCount(FirstDisplay(), &count));
        std::vector<PHYSICAL_MONITOR> monitors(count);
        EXPECT_TRUE(dxva2.getMonitors(FirstDisplay(), count, monitors.data()));
        return monitors;
    }

    std::wstring folder_;
    HMODULE module_ = nullptr;
    Dxva2 dxva2_;
    static inline int serial_ = 0;
};

TEST_F(SimulatedDxva2Test, FirstDisplayOffersTheFleetsMonitors) {
    const Dxva2& dxva2 = Load();
    ASSERT_NE(dxva2.getCount, nullptr);
    const std::vector<PHYSICAL_MONITOR> monitors = Open(dxva2);
    ASSERT_EQ(monitors.size(), 2u);
    EXPECT_STREQ(monitors[0].szPhysicalMonitorDescription, L"Alpha Panel");
    EXPECT_STREQ(monitors[1].szPhysicalMonitorDescription, L"Beta Panel");
    EXPECT_NE(monitors[0].hPhysicalMonitor, monitors[1].hPhysicalMonitor);

    DWORD length = 0;
    ASSERT_TRUE(dxva2.getCapabilitiesLength(monitors[0].hPhysicalMonitor, &length));
    std::string capabilities(length, '?');
    ASSERT_TRUE(dxva2.getCapabilities(monitors[0].hPhysicalMonitor, capabilities.data(), length));
    EXPECT_EQ(capabilities, std::string("(prot(monitor)vcp(10 12 60(0F 11)))") + '\0');

    std::vector<PHYSICAL_MONITOR> copy = monitors;
    EXPECT_TRUE(dxva2.destroyMonitors(static_cast<DWORD>(copy.size()), copy.data()));
    // Closed handles no longer reach a monitor.
    DWORD min = 0, current = 0, max = 0;
    EXPECT_FALSE(dxva2.getBrightness(monitors[0].hPhysicalMonitor, &min, &current, &max));
    EXPECT_FALSE(dxva2.destroyMonitor(monitors[0].hPhysicalMonitor));
}

TEST_F(SimulatedDxva2Test, SetsAreWrittenBackToTheFleetFile) {
    const Dxva2& dxva2 = Load();
    ASSERT_NE(dxva2.getCount, nullptr);
    const HANDLE alpha = Open(dxva2).at(0).hPhysicalMonitor;
    DWORD min = 0, current = 0, max = 0;
    ASSERT_TRUE(dxva2.getBrightness(alpha, &min, &current, &max));
    EXPECT_EQ(min, 10u);
    EXPECT_EQ(current, 40u);
    EXPECT_EQ(max, 90u);

    using Monitor = lv::fake::FleetMonitor;
    struct Case {
        const char* name;
        std::function<BOOL()> set;
        bool accepted;
        std::function<uint32_t(const Monitor&)> value;
        uint32_t expected;
    };
    const Case cases[] = {
        {"brightness", [&] { return dxva2.setBrightness(alpha, 70); }, true,
         [](const Monitor& m) { return m.brightness.current; }, 70},
        {"contrast", [&] { return dxva2.setContrast(alpha, 20); }, true,
         [](const Monitor& m) { return m.contrast.current; }, 20},
        {"red gain", [&] { return dxva2.setGain(alpha, MC_RED_GAIN, 200); }, true,
         [](const Monitor& m) { return m.red.current; }, 200},
        {"input", [&] { return dxva2.setVcp(alpha, 0x60, 0x11); }, true,
         [](const Monitor& m) { return m.input; }, 0x11},
        // Outside the raw range: refused, the file keeps the last value.
        {"brightness too high", [&] { return dxva2.setBrightness(alpha, 91); }, false,
         [](const Monitor& m) { return m.brightness.current; }, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.set() != FALSE, c.accepted);
        EXPECT_EQ(c.value(ReadFleet().displays.at(0).monitors.at(0)), c.expected);
    }
    ASSERT_TRUE(dxva2.getBrightness(alpha, &min, &current, &max));
    EXPECT_EQ(current, 70u);
}

TEST_F(SimulatedDxva2Test, DeadMonitorFailsEveryCall) {
    const Dxva2& dxva2 = Load();
    ASSERT_NE(dxva2.getCount, nullptr);
    const HANDLE beta = Open(dxva2).at(1).hPhysicalMonitor;
    DWORD min = 0, current = 0, max = 0, length = 0;
    char text[32];
    const std::pair<const char*, std::function<BOOL()>> calls[] = {
        {"get brightness", [&] { return dxva2.getBrightness(beta, &min, &current, &max); }},
        {"set brightness", [&] { return dxva2.setBrightness(beta, 50); }},
        {"get contrast", [&] { return dxva2.getContrast(beta, &min, &current, &max); }},
        {"get gain", [&] { return dxva2.getGain(beta, MC_BLUE_GAIN, &min, &current, &max); }},
        {"get VCP", [&] { return dxva2.getVcp(beta, 0x10, nullptr, &current, &max); }},
        {"capabilities length", [&] { return dxva2.getCapabilitiesLength(beta, &length); }},
        {"capabilities", [&] { return dxva2.getCapabilities(beta, text, sizeof text); }},
        {"save", [&] { return dxva2.save(beta); }},
    };
    for (const auto& [name, call] : calls) EXPECT_FALSE(call()) << name;
    EXPECT_EQ(ReadFleet().displays.at(0).monitors.at(1).brightness.current, 50u);
}

TEST_F(SimulatedDxva2Test, LogsEveryCall) {
    const Dxva2& dxva2 = Load();
    ASSERT_NE(dxva2.getCount, nullptr);
    std::vector<PHYSICAL_MONITOR> monitors = Open(dxva2);
    ASSERT_EQ(monitors.size(), 2u);
    DWORD min = 0, current = 0, max = 0;
    dxva2.getBrightness(monitors[1].hPhysicalMonitor, &min, &current, &max);
    dxva2.setVcp(monitors[0].hPhysicalMonitor, 0x10, 60);
    dxva2.destroyMonitors(2, monitors.data());
    const std::vector<std::string> expected{
        "GetNumberOfPhysicalMonitorsFromHMONITOR display=0 -> ok",
        "GetPhysicalMonitorsFromHMONITOR display=0 count=2 -> ok",
        "GetMonitorBrightness mon=1 -> fail",
        "SetVCPFeature mon=0 code=0x10 value=60 -> ok",
        "DestroyPhysicalMonitors mons=0,1 -> ok",
    };
    EXPECT_EQ(LogLines(), expected);
}

// The harness swaps the hardware under a running program by replacing the fleet file.
TEST_F(SimulatedDxva2Test, ReadsTheFleetAgainWhenTheFileChanges) {
    const Dxva2& dxva2 = Load();
    ASSERT_NE(dxva2.getCount, nullptr);
    std::vector<PHYSICAL_MONITOR> monitors = Open(dxva2);
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
    lv::fake::Fleet fleet = ReadFleet();
    EXPECT_EQ(fleet.displays.at(0).monitors.at(0).brightness.current, 65u);
    EXPECT_EQ(fleet.displays.at(0).monitors.at(1).contrast.current, 30u);
    EXPECT_EQ(fleet.displays.at(0).monitors.at(1).ddc, lv::fake::DdcMode::Ok);

    // A file that cannot be read leaves the last fleet in use and is not overwritten.
    WriteFleet("[display]\ncolour = blue\n");
    ASSERT_TRUE(dxva2.getBrightness(alpha, &min, &current, &max));
    EXPECT_EQ(current, 65u);
    EXPECT_TRUE(dxva2.setBrightness(alpha, 20));
    EXPECT_EQ(ReadFile(FleetPath()), "[display]\ncolour = blue\n");

    // Physical monitors that could not be opened can be once the display allows it.
    std::string failing = kFleet;
    failing.replace(failing.find("rect = 0 0 1024 700"), 19, "rect = 0 0 1024 700\nphysical = fail");
    WriteFleet(failing);
    DWORD count = 0;
    ASSERT_TRUE(dxva2.getCount(FirstDisplay(), &count));
    std::vector<PHYSICAL_MONITOR> more(count);
    EXPECT_FALSE(dxva2.getMonitors(FirstDisplay(), count, more.data()));
    WriteFleet(kFleet);
    ASSERT_TRUE(dxva2.getCount(FirstDisplay(), &count));
    more.resize(count);
    EXPECT_TRUE(dxva2.getMonitors(FirstDisplay(), count, more.data()));

    const std::vector<std::string> lines = LogLines();
    const auto logged = [&lines](const std::string& text) {
        return std::count_if(lines.begin(), lines.end(),
                             [&text](const std::string& line) { return line.find(text) != std::string::npos; });
    };
    EXPECT_EQ(logged("fleet read again"), 3);
    EXPECT_EQ(logged("fleet change ignored"), 1);
    EXPECT_EQ(logged("not written back"), 1);
}

TEST_F(SimulatedDxva2Test, UnusableFleetFailsEveryCallAndSaysWhyOnce) {
    const struct {
        const char* name;
        const char* fleet;  // null: no file
        const char* reason;
    } cases[] = {
        {"missing", nullptr, "cannot read the file"},
        {"bad", "[display]\ncolour = blue\n", "test.fleet:2:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (module_) ::FreeLibrary(module_);
        module_ = nullptr;
        ::DeleteFileW(LogPath().c_str());
        if (c.fleet) {
            WriteFleet(c.fleet);
        } else {
            ::DeleteFileW(FleetPath().c_str());
        }
        const Dxva2& dxva2 = Load();
        ASSERT_NE(dxva2.getCount, nullptr);
        DWORD count = 7;
        EXPECT_FALSE(dxva2.getCount(FirstDisplay(), &count));
        EXPECT_FALSE(dxva2.getCount(FirstDisplay(), &count));
        EXPECT_EQ(count, 7u);
        const std::vector<std::string> lines = LogLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(c.reason), std::string::npos) << lines[0];
    }
}

}  // namespace
