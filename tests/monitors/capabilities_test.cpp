#include "monitors/capabilities.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>


namespace lv {
namespace {

// What the program needs from a string: the model and the offered presets and inputs.
struct Outcome {
    std::optional<std::string> model;
    PresetSet presets;
    InputSet inputs;

    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& outcome) {
    const std::string model = outcome.model ? '"' + *outcome.model + '"' : "none";
    return out << "model " << model << ", presets " << outcome.presets << ", inputs " << outcome.inputs;
}

template <typename Bits>
Bits Values(std::initializer_list<int> values) {
    Bits bits;
    for (int v : values) bits.set(static_cast<std::size_t>(v));
    return bits;
}

Outcome Make(std::optional<std::string> model, std::initializer_list<int> presets,
             std::initializer_list<int> inputs) {
    return {std::move(model), Values<PresetSet>(presets), Values<InputSet>(inputs)};
}

Outcome Parsed(std::string_view text) {
    const Capabilities caps = ParseCapabilities(text);
    Outcome outcome{std::nullopt, caps.OfferedPresets(), caps.OfferedInputs()};
    if (caps.hasModel) outcome.model = caps.model;
    return outcome;
}

// How the parser reads loosely written strings, among them each kind where a plain
// case-insensitive substring search for "vcp", "14", "60" and "model" gives another answer.
struct ReadCase {
    const char* name;
    const char* text;
    Outcome parsed;
};

const ReadCase kReads[] = {
    // A code listed without values has none: the next code's list is not its own.
    {"CodeWithoutValueList", "(model(X)vcp(10 12 14 16 60(01 03 11)))", Make("X", {}, {1, 3, 17})},
    // "14" among another code's values (OSD languages list 0x14) is no preset code.
    {"CodeInsideOtherValueList", "(model(X)vcp(10 12 60(0F 11) CC(02 03 04 0A 14 16) D6(01 04)))", Make("X", {}, {15, 17})},
    // Packed codes and values: no "60" across "06 08", no "10" across "01 0F".
    {"CodeAcrossPackedPairs", "(model(X)vcp(1014(050608)CC(0203)60(11)))", Make("X", {5, 6, 8}, {17})},
    {"ValueAcrossPackedPairs", "(model(X)vcp(1014(0B0C)60(010F1112)))", Make("X", {11, 12}, {1, 15, 17, 18})},
    // Cut short inside a value list: the values read before the cut count.
    {"TruncatedValueList", "(model(X)vcp(10 12 14(05 08 0B", Make("X", {5, 8, 11}, {})},
    // Model text without parentheses is no model, and the next group is not it either.
    {"ModelWithoutParentheses", "(model LCDPB287 cmds(01 02 03 07 0C F3) vcp(10 12))", Make(std::nullopt, {}, {})},
    {"ParenthesesInsideModel", "(model(U2720Q (rev A))vcp(10 12))", Make("U2720Q (rev A)", {}, {})},
    {"LineBreakInsideModel", "(model(U30\r\n11)vcp(10 12))", Make("U3011", {}, {})},
    // Line-wrapped text: a break between the two digits of a value or a code.
    {"LineBreakInsideValue", "(model(X)vcp(10 12 14(01 0\n5 08) 60(0\r\n3 11)))", Make("X", {1, 5, 8}, {3, 17})},
    {"LineBreakInsideCode", "(model(X)vcp(10 12 1\n4(05 08) 6\r\n0(11)))", Make("X", {5, 8}, {17})},
    // Sub-lists belong to the value before them, and their ")" does not end the list.
    {"NestedSubList", "(model(X)vcp(10 12 14(01 02 (03 04) 0B) 60(0F (10) 11)))", Make("X", {1, 2, 11}, {15, 17})},
    // The word "model" in another group's text ahead of the model group.
    {"ModelWordInOtherGroup", "(vcpname(DC(Model Select))mswhql(1)model(E2)vcp(10))", Make("E2", {}, {})},
    // v, c and p ahead of the vcp group, here in vcpname.
    {"VcpLettersBeforeVcpGroup", "(model(X)vcpname(14(sRGB))vcp(10 12 14(01 05 08)))", Make("X", {1, 5, 8}, {})},
    // A code listed twice gets the values of both lists.
    {"RepeatedCode", "(model(X)vcp(10 14(05 08) 60(11) 14(0B)))", Make("X", {5, 8, 11}, {17})},
    {"NoOuterParentheses", "prot(monitor)type(lcd)model(A1)vcp(14(05) 60(11))", Make("A1", {5}, {17})},
    {"BlanksBetweenEverything", " ( prot ( monitor ) model ( A1 ) vcp ( 14 ( 05 08 ) 60 ( 11 ) ) ) ",
     Make(" A1 ", {5, 8}, {17})},
    {"NoSeparators", "(vcp(101214(0508)60(0f11))model(A1))", Make("A1", {5, 8}, {15, 17})},
    {"VcpnameIsNotTheCodeList", "(model(A1)vcpname(14(05 08)60(11)))", Make("A1", {}, {})},
    {"PagedListIsNotTheCodeList", "(vcp(10)vcp_p02(14(05)60(11)))", Make(std::nullopt, {}, {})},
    {"LetterBeforeKeywordMakesAnotherKeyword", "(xvcp(14(05))mymodel(A1))", Make(std::nullopt, {}, {})},
    {"TextGluedBeforeKeyword", "(prot(monitor)type(lcd)27UD58vcp(14(05) 60(11)))", Make(std::nullopt, {5}, {17})},
    {"SecondListAfterAListBelongsToNothing", "(vcp(14(01 02 0B)(04 05)))", Make(std::nullopt, {1, 2, 11}, {})},
    {"FirstModelCountsOnlyAtTopLevel", "(vcpname(10(model(B2)))model(A1)model(B2))", Make("A1", {}, {})},
    {"EmptyModel", "(model()vcp(10))", Make("", {}, {})},
    {"ModelCutShort", "(model(U27", Make(std::nullopt, {}, {})},
    {"ValueCutShortIsDropped", "(model(A1)vcp(14(05 08 0", Make("A1", {5, 8}, {})},
    {"ValuesOutOfRangeAreNotOffered", "(vcp(14(00 01 0D 0E FF) 60(00 1F 20)))", Make(std::nullopt, {1, 13}, {31})},
    {"ListAfterHalfCodeBelongsToNothing", "(vcp(14 1(05)))", Make(std::nullopt, {}, {})},
};

TEST(Capabilities, ReadsModelPresetsAndInputsOfLooseStrings) {
    for (const ReadCase& c : kReads) EXPECT_EQ(Parsed(c.text), c.parsed) << c.name << ": " << c.text;
}

// A lone hex digit is dropped at the blank after it, not paired with the next digit, so
// the code or value behind it keeps its list.
TEST(Capabilities, StrayDigitIsDroppedAlone) {
    const ReadCase cases[] = {
        {"BeforePresetCode", "(prot(monitor)type(lcd)model(X)vcp(02 04 10 12 6 14(05 08 0B) 60(0F 11)))",
         Make("X", {5, 8, 11}, {15, 17})},
        {"BeforeInputCode", "(prot(monitor)type(lcd)model(X)vcp(10 12 14(05) 52 6 60(0F 11)))", Make("X", {5}, {15, 17})},
        {"InsideValueLists", "(model(X)vcp(14(05 0 08 B 0B) 60(1 0F 11 2)))", Make("X", {5, 8, 11}, {15, 17})},
    };
    for (const ReadCase& c : cases) EXPECT_EQ(Parsed(c.text), c.parsed) << c.name << ": " << c.text;
}

TEST(Capabilities, EachCodeOnceInTheOrderFirstListed) {
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"(vcp(02 04 1", {0x02, 0x04}}, {"(vcp(10 14(05) 10 60))", {0x10, 0x14, 0x60}},
        {"(vcp(10)vcp(12))", {0x10, 0x12}}, {"(vcp(1\n0 6 1\r\n2 1 4))", {0x10, 0x12}},
    };
    for (const auto& [text, expected] : cases) {
        std::vector<uint8_t> codes;
        for (const VcpCode& code : ParseCapabilities(text).vcp) codes.push_back(code.code);
        EXPECT_EQ(codes, expected) << text;
    }
}

// ---- Strings published by real monitors ----

struct RealString {
    int line = 0;
    std::string source;
    Outcome expected;
    std::string text;
};

std::string Unescape(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char next = field[i] == '\\' && i + 1 < field.size() ? field[++i] : 0;
        out += next == 0 ? field[i] : next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    return out;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> fields;
    std::stringstream in(text);
    for (std::string field; std::getline(in, field, separator);) fields.push_back(field);
    return fields;
}

// "-" or a comma-separated list of values.
template <typename Bits>
Bits ParseValues(const std::string& field) {
    Bits bits;
    for (const std::string& item : field == "-" ? std::vector<std::string>{} : Split(field, ',')) bits.set(std::stoul(item));
    return bits;
}

// All 41 strings of the table, each with the model, presets and inputs read by hand.
const std::vector<RealString>& RealStrings() {
    static const std::vector<RealString> rows = [] {
        std::vector<RealString> rows;
        std::ifstream file(LUMIVANE_SOURCE_DIR "/tests/monitors/capabilities_strings.tsv", std::ios::binary);
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::vector<std::string> fields = Split(line, '\t');
            if (number == 1 || fields.size() != 5) continue;
            RealString row{number, fields[0], {}, Unescape(fields[4])};
            if (fields[1] != "-") row.expected.model = Unescape(fields[1]);
            row.expected.presets = ParseValues<PresetSet>(fields[2]);
            row.expected.inputs = ParseValues<InputSet>(fields[3]);
            rows.push_back(std::move(row));
        }
        return rows;
    }();
    return rows;
}

TEST(CapabilitiesOfRealMonitors, ParserGivesTheModelPresetsAndInputsReadByHand) {
    EXPECT_EQ(RealStrings().size(), 41u);
    for (const RealString& row : RealStrings())
        EXPECT_EQ(Parsed(row.text), row.expected) << "line " << row.line << " " << row.source << "\n" << row.text;
}

// A string cut anywhere (a length limit, a failed read) gives no more than the whole:
// no code, value or model appears that the whole string does not have.
TEST(CapabilitiesOfRealMonitors, EveryCutGivesPartOfTheWhole) {
    for (const RealString& row : RealStrings()) {
        const Capabilities whole = ParseCapabilities(row.text);
        for (std::size_t length = 0; length <= row.text.size(); ++length) {
            const Capabilities part = ParseCapabilities(std::string_view(row.text).substr(0, length));
            SCOPED_TRACE(testing::Message() << "line " << row.line << " cut at " << length);
            if (part.hasModel) {
                ASSERT_TRUE(whole.hasModel);
                ASSERT_EQ(part.model, whole.model);
            }
            for (const VcpCode& code : part.vcp) {
                const VcpCode* full = whole.Find(code.code);
                ASSERT_NE(full, nullptr) << "code " << int{code.code};
                for (uint8_t value : code.values)
                    ASSERT_NE(std::find(full->values.begin(), full->values.end(), value), full->values.end())
                        << "code " << int{code.code} << " value " << int{value};
            }
        }
    }
}

}  // namespace
}  // namespace lv
