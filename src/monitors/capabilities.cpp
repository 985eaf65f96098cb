#include "monitors/capabilities.h"

#include <algorithm>

#include "common/text.h"

namespace lv {
namespace {

constexpr uint8_t kColorPresetCode = 0x14;
constexpr uint8_t kInputSourceCode = 0x60;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = ToLowerAscii(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// True when `word` names `keyword`: the word itself in any case, or ending in it right
// after a digit or sign, for model text glued to the keyword ("27UD58cmds"). A letter
// or '_' in front makes another keyword ("xvcp", "mpu_model").
bool IsKeyword(std::string_view word, std::string_view keyword) {
    if (word.size() < keyword.size()) return false;
    const std::size_t start = word.size() - keyword.size();
    if (!EqualsNoCase(word.substr(start), keyword)) return false;
    return start == 0 || (!IsAsciiLetter(word[start - 1]) && word[start - 1] != '_');
}

// Reading position over the whole text; every loop advances it, nothing recurses.
struct Cursor {
    std::string_view text;
    std::size_t pos = 0;

    bool AtEnd() const { return pos >= text.size(); }
    char Next() { return text[pos++]; }
};

// Skips to the parenthesis that closes a group already opened. False when the text
// ends first.
bool SkipGroup(Cursor& in) {
    int depth = 1;
    while (!in.AtEnd()) {
        const char c = in.Next();
        if (c == '(') ++depth;
        if (c == ')' && --depth == 0) return true;
    }
    return false;
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Two-digit hex numbers of one list. A line break may fall between the two digits
// (line-wrapped text); any other character, a space or tab too, drops a half-read number,
// so a stray digit cannot take the first digit of the code behind it.
class HexPairs {
public:
    // Feeds one character that is not a parenthesis; true with `value` set when it
    // completes a number.
    bool Feed(char c, uint8_t& value) {
        if (IsLineBreak(c)) return false;
        const int digit = HexValue(c);
        if (digit < 0) {
            high_ = -1;
            return false;
        }
        if (high_ < 0) {
            high_ = digit;
            return false;
        }
        value = static_cast<uint8_t>(high_ * 16 + digit);
        high_ = -1;
        return true;
    }
    void Drop() { high_ = -1; }

private:
    int high_ = -1;
};

void AddValue(std::vector<uint8_t>& values, uint8_t value) {
    if (std::find(values.begin(), values.end(), value) == values.end()) values.push_back(value);
}

std::size_t AddCode(std::vector<VcpCode>& vcp, uint8_t code) {
    for (std::size_t i = 0; i < vcp.size(); ++i)
        if (vcp[i].code == code) return i;
    vcp.push_back({code, {}});
    return vcp.size() - 1;
}

// A value list whose '(' was read. Values are added to `values` when it is not null;
// sub-lists belong to the value before them and are skipped. False when the text ends first; the
// values read up to there stay.
bool ReadValues(Cursor& in, std::vector<uint8_t>* values) {
    HexPairs pairs;
    while (!in.AtEnd()) {
        const char c = in.Next();
        if (c == ')') return true;
        if (c == '(') {
            pairs.Drop();
            if (!SkipGroup(in)) return false;
            continue;
        }
        uint8_t value = 0;
        if (pairs.Feed(c, value) && values) AddValue(*values, value);
    }
    return false;
}

// The code list of vcp(...) whose '(' was read: codes, each optionally followed by its
// value list. A list with no code right before it belongs to nothing. False when the
// text ends first.
bool ReadVcp(Cursor& in, std::vector<VcpCode>& vcp) {
    HexPairs pairs;
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t last = kNone;  // the code a '(' here would belong to
    while (!in.AtEnd()) {
        const char c = in.Next();
        if (c == ')') return true;
        if (c == '(') {
            pairs.Drop();
            const bool closed = ReadValues(in, last == kNone ? nullptr : &vcp[last].values);
            last = kNone;
            if (!closed) return false;
            continue;
        }
        uint8_t code = 0;
        if (pairs.Feed(c, code)) {
            last = AddCode(vcp, code);
        } else if (!IsBlank(c)) {
            last = kNone;  // a new code begins, or something that is none
        }
    }
    return false;
}

std::string WithoutLineBreaks(std::string_view text) {
    std::string result;
    for (char c : text)
        if (!IsLineBreak(c)) result += c;
    return result;
}

}  // namespace

const VcpCode* Capabilities::Find(uint8_t code) const {
    for (const VcpCode& entry : vcp)
        if (entry.code == code) return &entry;
    return nullptr;
}

PresetSet Capabilities::OfferedPresets() const {
    PresetSet offered;
    if (const VcpCode* presets = Find(kColorPresetCode))
        for (uint8_t value : presets->values)
            if (value >= 1 && value < offered.size()) offered.set(value);
    return offered;
}

InputSet Capabilities::OfferedInputs() const {
    InputSet offered;
    if (const VcpCode* inputs = Find(kInputSourceCode))
        for (uint8_t value : inputs->values)
            if (value >= 1 && value < offered.size()) offered.set(value);
    return offered;
}

// The top level is a run of keyword(...) groups. Parentheses with no keyword before them
// (the outer pair, or two of them) do not make a level of their own, so the groups inside
// count as top level; a stray ')' there is ignored.
Capabilities ParseCapabilities(std::string_view text) {
    Capabilities result;
    Cursor in{text};
    std::string_view word;  // the last word read, the keyword of a '(' that follows
    while (!in.AtEnd()) {
        const char c = text[in.pos];
        if (IsBlank(c) || c == ')') {
            if (c == ')') word = {};
            ++in.pos;
            continue;
        }
        if (c != '(') {
            const std::size_t start = in.pos;
            while (!in.AtEnd() && !IsBlank(text[in.pos]) && text[in.pos] != '(' && text[in.pos] != ')') ++in.pos;
            word = text.substr(start, in.pos - start);
            continue;
        }
        ++in.pos;
        const std::string_view keyword = word;
        word = {};
        if (keyword.empty()) continue;  // an outer parenthesis
        if (IsKeyword(keyword, "vcp")) {
            if (!ReadVcp(in, result.vcp)) break;
        } else if (IsKeyword(keyword, "model") && !result.hasModel) {
            const std::size_t open = in.pos;
            if (!SkipGroup(in)) break;
            result.model = WithoutLineBreaks(text.substr(open, in.pos - 1 - open));
            result.hasModel = true;
        } else if (!SkipGroup(in)) {
            break;
        }
    }
    return result;
}

}  // namespace lv
