#include "fakes/fleet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace lv::fake {
namespace {

std::string ExamplePath(const char* name) { return std::string(LUMIVANE_SOURCE_DIR) + "/examples/" + name; }

Fleet MustParse(std::string_view text) {
    FleetParseResult result = ParseFleet(text);
    EXPECT_TRUE(result.ok) << "line " << result.error.line << ": " << result.error.message;
    return result.fleet;
}

TEST(FleetExamples, ReadAsWritten) {
    const FleetFileResult two = ReadFleetFile(ExamplePath("two-monitors.fleet"));
    ASSERT_TRUE(two.ok) << two.error;
    ASSERT_EQ(two.fleet.displays.size(), 2u);
    EXPECT_FALSE(two.fleet.panel);
    const FleetDisplay& first = two.fleet.displays[0];
    EXPECT_EQ(first.rect, (Rect{0, 0, 2560, 1440}));
    EXPECT_EQ(first.path, "\\\\?\\DISPLAY#DEL4220#5&1a2b3c4d&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}");
    EXPECT_EQ(first.monitors.at(0).input, 0x0Fu);
    EXPECT_EQ(first.monitors.at(0).capabilities.substr(0, 15), "(prot(monitor)t");
    const FleetDisplay& second = two.fleet.displays[1];
    EXPECT_EQ(second.technology, 5u);
    EXPECT_EQ(second.monitors.at(0).brightness, (FleetRange{20, 50, 80}));
    EXPECT_EQ(second.monitors.at(0).preset, 0x0Bu);

    const FleetFileResult laptop = ReadFleetFile(ExamplePath("laptop.fleet"));
    ASSERT_TRUE(laptop.ok) << laptop.error;
    const FleetDisplay& display = laptop.fleet.displays.at(0);
    EXPECT_EQ(display.technology, 0x80000000u);
    ASSERT_EQ(display.edid.size(), 128u);
    EXPECT_EQ(display.edid[1], 0xFF);
    EXPECT_EQ(display.monitors.at(0).ddc, DdcMode::Dead);
    ASSERT_TRUE(laptop.fleet.panel);
    EXPECT_EQ(laptop.fleet.panel->levels.size(), 11u);
    EXPECT_EQ(laptop.fleet.panel->current, 40u);
}

TEST(FleetRoundTrip, WriteThenParseGivesTheSameFleet) {
    for (const char* name : {"two-monitors.fleet", "laptop.fleet"}) {
        SCOPED_TRACE(name);
        const FleetFileResult read = ReadFleetFile(ExamplePath(name));
        ASSERT_TRUE(read.ok) << read.error;
        const std::string written = WriteFleet(read.fleet);
        const Fleet reparsed = MustParse(written);
        EXPECT_EQ(reparsed, read.fleet);
        EXPECT_EQ(WriteFleet(reparsed), written);
    }
}

TEST(FleetRoundTrip, UnusualValuesSurvive) {
    Fleet fleet = MustParse(
        "[display]\nrect = -1920 -100 0 980\ntechnology = 4294967295\nfriendly = a=b#c\nedid = 00 0A ff\n"
        "[monitor]\nbrightness = 80 10 20\ncapabilities =\nddc = flaky 4294967295\n"
        "[display]\n"
        "[panel]\nlevels =\nwmi = fail\n");
    EXPECT_EQ(fleet.displays[0].rect, (Rect{-1920, -100, 0, 980}));
    EXPECT_EQ(fleet.displays[0].friendly, "a=b#c");
    EXPECT_EQ(fleet.displays[0].edid, (std::vector<uint8_t>{0x00, 0x0A, 0xFF}));
    EXPECT_EQ(fleet.displays[0].monitors[0].brightness, (FleetRange{80, 10, 20}));  // kept as reported
    EXPECT_EQ(fleet.displays[0].monitors[0].flakyFailures, 4294967295u);
    EXPECT_TRUE(fleet.displays[1].monitors.empty());
    EXPECT_TRUE(fleet.panel->levels.empty());
    EXPECT_EQ(MustParse(WriteFleet(fleet)), fleet);
}

TEST(FleetDefaults, MissingKeysTakeDefaults) {
    const Fleet fleet = MustParse("[display]\n[monitor]\n[display]\n[panel]\n");
    ASSERT_EQ(fleet.displays.size(), 2u);
    EXPECT_EQ(fleet.displays[0].device, "\\\\.\\DISPLAY1");
    EXPECT_EQ(fleet.displays[1].device, "\\\\.\\DISPLAY2");
    EXPECT_EQ(fleet.displays[0].rect, (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(fleet.displays[1].rect, (Rect{1920, 0, 3840, 1080}));  // to the right of the first
    EXPECT_TRUE(fleet.displays[0].physicalOk);
    const FleetMonitor& monitor = fleet.displays[0].monitors.at(0);
    EXPECT_EQ(monitor.description, "Generic PnP Monitor");
    for (const FleetRange& range : {monitor.brightness, monitor.contrast, monitor.red, monitor.green, monitor.blue}) {
        EXPECT_EQ(range, (FleetRange{0, 50, 100}));
    }
    EXPECT_EQ(monitor.preset, 0u);
    EXPECT_EQ(monitor.input, 0u);
    EXPECT_EQ(monitor.ddc, DdcMode::Ok);
    EXPECT_EQ(fleet.panel->current, 50u);
    EXPECT_TRUE(fleet.panel->wmiOk);
}

TEST(FleetComments, HashStartsACommentOnlyAtLineOrValueStartOrAfterABlank) {
    struct Case {
        std::string_view line;
        std::string_view friendly;
    };
    const Case cases[] = {
        {"friendly = \\\\?\\DISPLAY#DEL4220#5&1a", "\\\\?\\DISPLAY#DEL4220#5&1a"},
        {"friendly = A # note", "A"},
        {"friendly = A\t# note", "A"},
        {"friendly = A#B", "A#B"},
        {"friendly =# note", ""},
        {"friendly = # note", ""},
        {"friendly = a = b", "a = b"},
        {"friendly = CRLF\r", "CRLF"},
        {"  friendly=x  ", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Fleet fleet = MustParse("# heading\n   # indented\n[display] # trailing\n" + std::string(c.line) + "\n");
        ASSERT_EQ(fleet.displays.size(), 1u);
        EXPECT_EQ(fleet.displays[0].friendly, c.friendly);
    }
}

TEST(FleetErrors, ReportLineAndReason) {
    struct Case {
        std::string_view text;
        int line;
        std::string_view message;
    };
    const Case cases[] = {
        {"[display]\nfoo = 1\n", 2, "unknown key 'foo' in [display]"},
        {"[display]\n[monitor]\nrect = 0 0 1 1\n", 3, "unknown key 'rect' in [monitor]"},
        {"\n[screen]\n", 2, "unknown section [screen]"},
        {"# first\n[monitor]\n", 2, "[monitor] before any [display]"},
        {"device = x\n", 1, "key 'device' before any section"},
        {"[display]\njust words\n", 2, "expected 'key = value'"},
        {"[display]\n= 5\n", 2, "expected 'key = value'"},
        {"[display]\nyear = 1\nyear = 2\n", 3, "duplicate key 'year' in [display]"},
        {"[panel]\n[panel]\n", 2, "second [panel]; a fleet has at most one"},
        {"[display]\n[monitor]\nbrightness = 0 x 100\n", 3, "brightness: bad number 'x'"},
        {"[display]\n[monitor]\nbrightness = 0 50\n", 3, "brightness: expected three numbers: minimum current maximum"},
        {"[display]\n[monitor]\npreset = -1\n", 3, "preset: bad number '-1'"},
        {"[display]\n[monitor]\ninput = 0x\n", 3, "input: bad number '0x'"},
        {"[display]\n[monitor]\npreset = 4294967296\n", 3, "preset: number out of range '4294967296'"},
        {"[display]\n[monitor]\ninput = 0x100000000\n", 3, "input: number out of range '0x100000000'"},
        {"[display]\nrect = 0 0 2147483648 1\n", 2, "rect: number out of range '2147483648'"},
        {"[display]\nrect = 0 0 1\n", 2, "rect: expected four numbers: left top right bottom"},
        {"[display]\n[monitor]\nddc = flaky\n", 3, "ddc: expected ok, dead or flaky N"},
        {"[display]\n[monitor]\nddc = flaky 1 2\n", 3, "ddc: expected ok, dead or flaky N"},
        {"[display]\nphysical = maybe\n", 2, "physical: expected ok or fail"},
        {"[display]\nedid = 0ff\n", 2, "edid: odd number of hex digits"},
        {"[display]\nedid = 0g\n", 2, "edid: bad hex digit 'g'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const FleetParseResult result = ParseFleet(c.text);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error.line, c.line);
        EXPECT_EQ(result.error.message, c.message);
        EXPECT_TRUE(result.fleet.displays.empty());
    }
}

class FleetFileTest : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove(path_); }
    // One file per test, so tests running in parallel do not share it.
    const std::string path_ = (std::filesystem::temp_directory_path() /
                               (std::string("lumivane_") +
                                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".fleet"))
                                  .string();
};

TEST_F(FleetFileTest, ErrorsNameFileAndLineAndWritesReadBack) {
    EXPECT_EQ(ReadFleetFile(path_).error, path_ + ": cannot open the file");
    std::ofstream(path_) << "[display]\n\n[disply]\n";
    EXPECT_EQ(ReadFleetFile(path_).error, path_ + ":3: unknown section [disply]");
    const Fleet fleet = MustParse("[display]\n[monitor]\nbrightness = 0 37 100\n");
    ASSERT_EQ(WriteFleetFile(path_, fleet), "");
    const FleetFileResult result = ReadFleetFile(path_);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.fleet, fleet);
}

TEST(FleetIndexing, MonitorsAreNumberedAcrossDisplays) {
    Fleet fleet = MustParse(
        "[display]\n[monitor]\ndescription = a\n[monitor]\ndescription = b\n"
        "[display]\n[display]\n[monitor]\ndescription = c\n");
    EXPECT_EQ(MonitorCount(fleet), 3u);
    EXPECT_EQ(MonitorAt(fleet, 1)->description, "b");
    EXPECT_EQ(MonitorAt(fleet, 2)->description, "c");
    EXPECT_EQ(MonitorAt(fleet, 3), nullptr);
}

}  // namespace
}  // namespace lv::fake
