#include "settings/legacy_ini.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

namespace lv {
namespace {

using namespace std::string_literals;

// Colours without leading zeros, so a field read one byte off gives a different value.
std::string Head(char autostart = 'Y', char samevalues = 'N') {
    return "1A2B3C4D 2B3C4D5E "s + autostart + samevalues;
}
const std::string kShortTail = "3C4D5E6F 4D5E6F70 5E6F7081 Y";
// Icon switches combined Y, brightness N (the byte at L-3), contrast Y, volume N.
const std::string kLongTail = "3C4D5E6F 4D5E6F70 5E6F7081 N6F708192 708192A3 8192A3B4 YNYN";
const std::string kList = ",00000241 b+10,00000242 b-10.";

// Head, hot-key list, blanks (after the list's full stop, so never read), tail; at least
// 101 bytes unless a length is given.
std::string IniFile(const std::string& list, const std::string& tail, std::size_t length = 101) {
    std::string file = Head() + list;
    const std::size_t used = file.size() + tail.size();
    if (used < length) file.append(length - used, ' ');
    return file + tail;
}

std::string Hex(const std::optional<uint32_t>& value) {
    if (!value) return "-";
    char text[9];
    std::snprintf(text, sizeof text, "%08X", *value);
    return text;
}
std::string Flag(const std::optional<bool>& value) { return value ? (*value ? "Y" : "N") : "-"; }

std::string RenderHotKeys(const std::vector<LegacyHotKey>& hotKeys) {
    std::string text;
    for (const LegacyHotKey& entry : hotKeys) {
        char code[9] = "-";
        if (entry.hotkey) std::snprintf(code, sizeof code, "%X", static_cast<unsigned>(*entry.hotkey));
        text += text.empty() ? "" : ";";
        text += code + ('=' + entry.editbuffer);
    }
    return text;
}

// Every field, in file order, so one string compares a whole import.
std::string Render(const LegacyIniValues& v) {
    return Hex(v.ColorAreaBrightness) + " " + Hex(v.ColorAreaContrast) + " " + Flag(v.autostart) +
           Flag(v.samevalues) + " | " + Hex(v.ColorSliderBrightness) + " " + Hex(v.ColorSliderContrast) + " " +
           Hex(v.ColorSliderVolume) + " " + Flag(v.showvolume) + " | " + Hex(v.ColorBrightness) + " " +
           Hex(v.ColorContrast) + " " + Hex(v.ColorVolume) + " " + Flag(v.showcombinedicon) +
           Flag(v.showbrightnessicon) + Flag(v.showcontrasticon) + Flag(v.showvolumeicon) + " | " +
           RenderHotKeys(v.hotKeys);
}

struct LayoutCase {
    const char* name;
    std::string file;
    const char* expected;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class LegacyIniLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(LegacyIniLayout, ReadsTheFieldsTheFileHolds) {
    EXPECT_EQ(Render(ParseLegacyIni(GetParam().file)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    LegacyIni, LegacyIniLayout,
    testing::Values(
        LayoutCase{"Empty", "", "- - -- | - - - - | - - - ---- | "},
        // The old reader padded the file with zero bytes: the flags past the end read as N.
        LayoutCase{"ShorterThanTheHead", "1A2B3C4D",
                   "1A2B3C4D - NN | - - - - | - - - ---- | "},
        LayoutCase{"HundredBytesHoldOnlyTheHead", IniFile(kList, kShortTail, 100),
                   "1A2B3C4D 2B3C4D5E YN | - - - - | - - - ---- | "},
        LayoutCase{"ShortTailAt101Bytes", IniFile(kList, kShortTail),
                   "1A2B3C4D 2B3C4D5E YN | 3C4D5E6F 4D5E6F70 5E6F7081 Y | - - - ---- | "
                   "241=b+10;242=b-10"},
        LayoutCase{"LongTail", IniFile(kList, kLongTail),
                   "1A2B3C4D 2B3C4D5E YN | 3C4D5E6F 4D5E6F70 5E6F7081 N | 6F708192 708192A3 8192A3B4 YNYN | "
                   "241=b+10;242=b-10"},
        LayoutCase{"LastByteFullStopMeansNoTail", IniFile(kList, "."),
                   "1A2B3C4D 2B3C4D5E YN | - - - - | - - - ---- | "
                   "241=b+10;242=b-10"},
        // A zero byte ends the list, yet the tail is still found by counting from the end.
        LayoutCase{"EmbeddedZeroByte", IniFile(",00000241 b+10,00000242 b\0-10."s, kLongTail),
                   "1A2B3C4D 2B3C4D5E YN | 3C4D5E6F 4D5E6F70 5E6F7081 N | 6F708192 708192A3 8192A3B4 YNYN | "
                   "241=b+10"}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lv
