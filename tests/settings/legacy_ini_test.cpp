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
        if (!text.empty()) text += ';';
        if (entry.hotkey) {
            char code[9];
            std::snprintf(code, sizeof code, "%X", static_cast<unsigned>(*entry.hotkey));
            text += code;
        } else {
            text += '-';
        }
        text += '=' + entry.editbuffer;
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

struct HexCase {
    const char* name;
    std::string head;  // 20 bytes
    const char* expected;
};

void PrintTo(const HexCase& c, std::ostream* os) { *os << c.name; }

class LegacyIniHex : public testing::TestWithParam<HexCase> {};

TEST_P(LegacyIniHex, ReadsAreaColoursLikeScanf) {
    const LegacyIniValues values = ParseLegacyIni(GetParam().head);
    EXPECT_EQ(Hex(values.ColorAreaBrightness) + " " + Hex(values.ColorAreaContrast), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    LegacyIni, LegacyIniHex,
    testing::Values(HexCase{"LeadingWhiteSpace", "  A2B3C4 \t5E6F70  YN", "00A2B3C4 005E6F70"},
                    HexCase{"LowerCaseDigits", "1a2b3c4d 5e6f7081 YN", "1A2B3C4D 5E6F7081"},
                    HexCase{"StopsAtANonDigit", "FF+00000 5E6F7081 YN", "000000FF 5E6F7081"},
                    HexCase{"NoDigitLeavesTheFieldAbsent", "GGGGGGGG ZZZZZZZZ YN", "- -"},
                    HexCase{"AtMostEightDigits", "1A2B3C4DE5E6F7081FYN", "1A2B3C4D 5E6F7081"},
                    HexCase{"WhiteSpaceRunsIntoTheNextField", "         5E6F7081 YN", "5E6F7081 5E6F7081"}),
    [](const testing::TestParamInfo<HexCase>& info) { return std::string(info.param.name); });

TEST(LegacyIniFlag, OnlyCapitalYIsYes) {
    const LegacyIniValues values = ParseLegacyIni(Head('y', 'Y'));
    EXPECT_EQ(values.autostart, std::optional<bool>(false));
    EXPECT_EQ(values.samevalues, std::optional<bool>(true));
}

struct HotKeyCase {
    const char* name;
    std::string list;
    std::string expected;
};

void PrintTo(const HotKeyCase& c, std::ostream* os) { *os << c.name; }

std::string Entries(int count) {
    std::string list;
    char entry[32];
    for (int k = 0; k < count; ++k) {
        std::snprintf(entry, sizeof entry, ",%08X c%d", 0x300 + k, k);
        list += entry;
    }
    return list + ".";
}

class LegacyIniHotKeys : public testing::TestWithParam<HotKeyCase> {};

TEST_P(LegacyIniHotKeys, ReadsTheList) {
    EXPECT_EQ(RenderHotKeys(ParseLegacyIni(IniFile(GetParam().list, kShortTail)).hotKeys), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    LegacyIni, LegacyIniHotKeys,
    testing::Values(
        HotKeyCase{"TwentyEntriesKeepTheFirstTen", Entries(20),
                   "300=c0;301=c1;302=c2;303=c3;304=c4;305=c5;306=c6;307=c7;308=c8;309=c9"},
        // The tail holds neither comma nor full stop, so the last entry runs to the end.
        HotKeyCase{"UnterminatedLastEntryDropped", ",00000241 b+10,00000242 b-10", "241=b+10"},
        HotKeyCase{"EntryOf254BytesKept", ",00000241 " + std::string(254, 'x') + ",00000242 b.",
                   "241=" + std::string(254, 'x') + ";242=b"},
        HotKeyCase{"EntryOf255BytesEndsTheList", ",00000240 a,00000241 " + std::string(255, 'x') + ",00000242 b.",
                   "240=a"},
        HotKeyCase{"CodeWithoutHexDigits", ",GGGGGGGG b+10,00000242 b.", "-=b+10;242=b"},
        HotKeyCase{"CodeAfterWhiteSpace", ",  000241 b+10.", "241=b+10"},
        // Only a comma carries a code; text straight at the list start is an entry without one.
        HotKeyCase{"EntryWithoutComma", "b+10,00000242 b.", "-=b+10;242=b"}),
    [](const testing::TestParamInfo<HotKeyCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lv
