#include "platform/sim/fleet.h"

#include <gtest/gtest.h>

namespace lv::sim {
namespace {

Fleet MustParse(std::string_view text) {
    FleetParseResult result = ParseFleet(text);
    EXPECT_TRUE(result.ok) << "line " << result.error.line << ": " << result.error.message;
    return result.fleet;
}

// Every key, with values a careless writer would lose: negatives, the largest numbers,
// '#' and '=' inside text, an empty list, a reversed range. A '#' starts a comment only
// at the start of a line or value or after a blank; blanks and a CR around a value go.
constexpr std::string_view kEveryKey =
    "# heading\n   # indented\n[display] # trailing\ndevice = \\\\.\\DISPLAY7\nrect = -1920 -100 0 980\n"
    "friendly = a=b#c\t# note\r\npath = \\\\?\\DISPLAY#DEL4220#5&1a\ntechnology = 4294967295\n  serial=7MT0  \n"
    "year = 2019\nedid = 00 0A ff\nphysical = fail\n"
    "[monitor]\ndescription = \xC3\x89" "cran A\nbrightness = 80 10 20\ncontrast = 0 75 100\nred = 0 128 255\n"
    "green = 1 2 3\nblue = 4 5 6\ncapabilities = (vcp(10 14(05 08)))\npreset = 0x0B\ninput = 15\n"
    "ddc = flaky 4294967295\n"
    "[monitor]\nddc = dead\n[display]\n[panel]\nlevels =\ncurrent = 33\nwmi = fail\n";

TEST(Fleet, EveryKeyIsReadAndWrittenBackLosslessly) {
    const Fleet fleet = MustParse(kEveryKey);
    ASSERT_EQ(fleet.displays.size(), 2u);
    const FleetDisplay& d = fleet.displays[0];
    EXPECT_EQ(d.rect, (Rect{-1920, -100, 0, 980}));
    EXPECT_EQ(d.friendly, "a=b#c");
    EXPECT_EQ(d.path, "\\\\?\\DISPLAY#DEL4220#5&1a");
    EXPECT_EQ(d.serial, "7MT0");
    EXPECT_EQ(d.technology, 4294967295u);
    EXPECT_EQ(d.edid, (std::vector<uint8_t>{0x00, 0x0A, 0xFF}));
    EXPECT_FALSE(d.physicalOk);
    EXPECT_EQ(d.monitors[0].brightness, (FleetRange{80, 10, 20}));  // kept as reported
    EXPECT_EQ(d.monitors[0].preset, 0x0Bu);
    EXPECT_EQ(d.monitors[0].flakyFailures, 4294967295u);
    EXPECT_EQ(MonitorAt(fleet, 1)->ddc, DdcMode::Dead);  // numbered across displays
    EXPECT_EQ(MonitorCount(fleet), 2u);
    EXPECT_EQ(fleet.displays[1].device, "\\\\.\\DISPLAY2");  // defaults
    EXPECT_EQ(fleet.displays[1].rect, (Rect{0, 0, 1920, 1080}));  // right of the first
    EXPECT_TRUE(fleet.panel->levels.empty());
    EXPECT_FALSE(fleet.panel->wmiOk);

    const std::string written = WriteFleet(fleet);
    EXPECT_EQ(MustParse(written), fleet);
    EXPECT_EQ(WriteFleet(MustParse(written)), written);
    for (const char* name : {"two-monitors.fleet", "laptop.fleet"}) {
        const FleetFileResult read = ReadFleetFile(std::string(LUMIVANE_SOURCE_DIR) + "/examples/" + name);
        ASSERT_TRUE(read.ok) << read.error;
        EXPECT_EQ(MustParse(WriteFleet(read.fleet)), read.fleet) << name;
    }
}

// A file's errors, behind its path, are the simulator command line's (sim_cli_test).
TEST(Fleet, ErrorsNameTheirLineAndReason) {
    const std::tuple<std::string_view, int, std::string_view> cases[] = {
        {"[display]\n[monitor]\nrect = 0 0 1 1\n", 3, "unknown key 'rect' in [monitor]"},
        {"\n[screen]\n", 2, "unknown section [screen]"},
        {"# first\n[monitor]\n", 2, "[monitor] before any [display]"},
        {"[display]\njust words\n", 2, "expected 'key = value'"},
        {"[display]\nyear = 1\nyear = 2\n", 3, "duplicate key 'year' in [display]"},
        {"[panel]\n[panel]\n", 2, "second [panel]; a fleet has at most one"},
        {"[display]\n[monitor]\nbrightness = 0 50\n", 3, "brightness: expected three numbers: minimum current maximum"},
        {"[display]\n[monitor]\npreset = -1\n", 3, "preset: bad number '-1'"},
        {"[display]\n[monitor]\ninput = 0x100000000\n", 3, "input: number out of range '0x100000000'"},
        {"[display]\nrect = 0 0 2147483648 1\n", 2, "rect: number out of range '2147483648'"},
        {"[display]\n[monitor]\nddc = flaky 1 2\n", 3, "ddc: expected ok, dead or flaky N"},
        {"[display]\nphysical = maybe\n", 2, "physical: expected ok or fail"},
        {"[display]\nedid = 0ff\n", 2, "edid: odd number of hex digits"},
    };
    for (const auto& [text, line, message] : cases) {
        const FleetParseResult result = ParseFleet(text);
        EXPECT_FALSE(result.ok) << text;
        EXPECT_EQ(result.error.line, line) << text;
        EXPECT_EQ(result.error.message, message);
    }
}

}  // namespace
}  // namespace lv::sim
