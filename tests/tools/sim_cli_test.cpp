#include "tools/sim_cli.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/fleet.h"

namespace lv::sim {
namespace {

constexpr const char* kFleet = R"(
[display]
friendly = DELL U2719D
[monitor]
brightness = 0 70 100
contrast = 0 75 100
capabilities = (prot(monitor)model(U2719D)vcp(10 12 14(05 08 0B) 60(0F 11)))
[display]
friendly = PHL 243V7
[monitor]
brightness = 20 50 80
[display]
[monitor]
ddc = dead
)";

class SimCli : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("lumivane-sim-test-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir_);
        Write("fleet", kFleet);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const std::string& text) { std::ofstream(PathOf(name)) << text; }
    std::string Read(const std::string& name) const {
        std::ifstream file(PathOf(name));
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    int Run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return RunSimulatorCli(args, out_, err_);
    }

    std::filesystem::path dir_;
    std::ostringstream out_, err_;
};

TEST_F(SimCli, PrintsTheStateLogsTheCallsAndWritesTheFleetInTheRawRange) {
    ASSERT_EQ(Run({"--fleet", PathOf("fleet"), "--out", PathOf("after"), "--log", PathOf("log"), "--call-ms", "40",
                   "2 b 37", "d"}),
              0)
        << err_.str();
    // Brightness of the second monitor: set, save, read back; 40 ms each call.
    EXPECT_EQ(out_.str(),
              "DELLU2719D\t70\t75\t128\t128\t128\n"
              "PHL243V7\t37\t50\t128\t128\t128\n"
              "DISPLAY3\t?\t?\t\t\t\n"
              "selected = 2\n"
              "query = 37\n"
              "elapsed_ms = 120\n");
    const std::string text = Read("log");
    EXPECT_NE(text.find("SetMonitorBrightness mon=1 value=42 -> ok"), std::string::npos) << text;
    const sim::Fleet fleet = sim::ReadFleetFile(PathOf("after")).fleet;
    EXPECT_EQ(fleet.displays[1].monitors[0].brightness.current, 42u);  // 37 % of 20..80
    EXPECT_EQ(fleet.displays[0].monitors[0].brightness.current, 70u);
}

TEST_F(SimCli, SettingsDocumentIsAppliedAsAtStartAndSavedAfterTheLines) {
    Write("settings.xml",
          "<settings><set samevalues=\"Y\"></set><set IDC_1M=\"PHL 243V7\"></set><set m1_B_MAX=\"00000028\"></set>"
          "<set selectedmonitor=\"00000001\"></set><set editbuffer0=\"b.20\"></set></settings>");
    ASSERT_EQ(Run({"--fleet", PathOf("fleet"), "--settings", PathOf("settings.xml"), "--save", PathOf("saved.xml"), "--out",
                   PathOf("after"), "b 90"}),
              0)
        << err_.str();
    EXPECT_NE(out_.str().find("selected = 2\n"), std::string::npos) << out_.str();
    // The limits of the selected monitor bound the value every monitor receives.
    const sim::Fleet fleet = sim::ReadFleetFile(PathOf("after")).fleet;
    EXPECT_EQ(fleet.displays[0].monitors[0].brightness.current, 40u);
    EXPECT_EQ(fleet.displays[1].monitors[0].brightness.current, 20u + 24u);
    const std::string text = Read("saved.xml");
    EXPECT_NE(text.find("<set editbuffer0=\"b 20\"></set>"), std::string::npos) << text;
    EXPECT_NE(text.find("<set m1_B_MAX=\"00000028\"></set>"), std::string::npos);

    EXPECT_EQ(Run({"--fleet", PathOf("fleet"), "--settings", PathOf("missing.xml")}), 2);
}

// The program's own start: an ignored monitor keeps its row silent, one that is gone is forgotten.
TEST_F(SimCli, StartsAsTheProgramStarts) {
    Write("settings.xml", "<settings><set ignoremonitor0=\"PHL243V7\"></set><set ignoremonitor1=\"GONE27\"></set></settings>");
    ASSERT_EQ(Run({"--fleet", PathOf("fleet"), "--settings", PathOf("settings.xml"), "--save", PathOf("saved.xml"),
                   "--out", PathOf("after")}),
              0)
        << err_.str();
    EXPECT_NE(out_.str().find("ignore_PHL243V7\t?\t?\t\t\t\n"), std::string::npos) << out_.str();
    const std::string text = Read("saved.xml");
    EXPECT_NE(text.find("=\"PHL243V7\""), std::string::npos) << text;
    EXPECT_EQ(text.find("GONE27"), std::string::npos) << text;
}

TEST_F(SimCli, BadInputIsRefusedWithExitStatusTwo) {
    Write("bad", "[display]\n[monitor]\nbrightness = 0 50\n");
    EXPECT_EQ(Run({"--fleet", PathOf("bad")}), 2);
    EXPECT_NE(err_.str().find(PathOf("bad") + ":3: brightness: expected three numbers"), std::string::npos) << err_.str();
    EXPECT_EQ(Run({"--fleet", PathOf("missing")}), 2);
    EXPECT_NE(err_.str().find(PathOf("missing") + ": cannot open the file"), std::string::npos) << err_.str();
    EXPECT_EQ(Run({"--fleet", PathOf("fleet"), "--frobnicate"}), 2);
    EXPECT_NE(err_.str().find("unknown option --frobnicate"), std::string::npos);
    EXPECT_EQ(Run({"b 20"}), 2);
}

}  // namespace
}  // namespace lv::sim
