#include "tools/sim_cli.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "commands/command_test_support.h"
#include "platform/sim/fleet.h"

namespace lv::sim {
namespace {

class SimCli : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("lumivane-sim-test-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir_);
        Write("fleet", std::string(test::kDesk));
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
    // On the desk of the command tests, leaving the fleet in "after".
    int RunOnDesk(std::vector<std::string> args) {
        args.insert(args.begin(), {"--fleet", PathOf("fleet"), "--out", PathOf("after")});
        return Run(args);
    }

    std::filesystem::path dir_;
    std::ostringstream out_, err_;
};

TEST_F(SimCli, PrintsTheStateLogsTheCallsAndWritesTheFleetInTheRawRange) {
    ASSERT_EQ(RunOnDesk({"--log", PathOf("log"), "--call-ms", "40", "2 b 37", "d"}), 0) << err_.str();
    // Brightness of the second monitor: set, save, read back; 40 ms each call.
    EXPECT_EQ(out_.str(),
              "NOVAU27\t70\t75\t128\t128\t200\n"
              "ORION243\t37\t40\t128\t128\t128\n"
              "ZETA24\t?\t?\t\t\t\n"
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
          "<settings><set samevalues=\"Y\"></set><set IDC_1M=\"ORION 243\"></set><set m1_B_MAX=\"00000028\"></set>"
          "<set selectedmonitor=\"00000001\"></set><set editbuffer0=\"b.20\"></set></settings>");
    ASSERT_EQ(RunOnDesk({"--settings", PathOf("settings.xml"), "--save", PathOf("saved.xml"), "b 90"}), 0) << err_.str();
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
    Write("settings.xml", "<settings><set ignoremonitor0=\"ORION243\"></set><set ignoremonitor1=\"GONE27\"></set></settings>");
    ASSERT_EQ(RunOnDesk({"--settings", PathOf("settings.xml"), "--save", PathOf("saved.xml")}), 0) << err_.str();
    EXPECT_NE(out_.str().find("ignore_ORION243\t?\t?\t\t\t\n"), std::string::npos) << out_.str();
    const std::string text = Read("saved.xml");
    EXPECT_NE(text.find("=\"ORION243\""), std::string::npos) << text;
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
