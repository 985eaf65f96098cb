#include "platform/sim/fleet.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

namespace lv::sim {

namespace {

// '\r' counts as a blank so that files with CRLF line ends read the same.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Device paths hold '#' ("\\?\DISPLAY#DEL4220#..."), so only a '#' that starts the line
// or follows a blank starts a comment. A value that starts with '#' is a comment too
// (see ParseLine), which keeps "key =# note" from reading as a value.
std::string_view StripComment(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || IsBlank(line[i - 1]))) return line.substr(0, i);
    }
    return line;
}

std::vector<std::string_view> SplitBlanks(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) ++i;
        if (i > start) tokens.push_back(text.substr(start, i - start));
    }
    return tokens;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Decimal, or hexadecimal with "0x". Never wraps: a value above 2^32 - 1 is an error.
std::optional<std::string> ParseUint32(std::string_view token, uint32_t& value) {
    const std::string quoted = "'" + std::string(token) + "'";
    unsigned base = 10;
    std::string_view digits = token;
    if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    if (digits.empty()) return "bad number " + quoted;
    uint64_t result = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) return "bad number " + quoted;
        result = result * base + static_cast<unsigned>(digit);
        if (result > std::numeric_limits<uint32_t>::max()) return "number out of range " + quoted;
    }
    value = static_cast<uint32_t>(result);
    return std::nullopt;
}

std::optional<std::string> ParseInt32(std::string_view token, int32_t& value) {
    const bool negative = !token.empty() && token[0] == '-';
    uint32_t magnitude = 0;
    if (auto error = ParseUint32(negative ? token.substr(1) : token, magnitude)) {
        return negative ? "bad number '" + std::string(token) + "'" : error;
    }
    const uint32_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    if (magnitude > limit) return "number out of range '" + std::string(token) + "'";
    value = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude)) : static_cast<int32_t>(magnitude);
    return std::nullopt;
}

std::optional<std::string> ParseUintList(std::string_view text, std::vector<uint32_t>& values) {
    values.clear();
    for (std::string_view token : SplitBlanks(text)) {
        uint32_t value = 0;
        if (auto error = ParseUint32(token, value)) return error;
        values.push_back(value);
    }
    return std::nullopt;
}

std::optional<std::string> ParseRange(std::string_view text, FleetRange& range) {
    std::vector<uint32_t> values;
    if (auto error = ParseUintList(text, values)) return error;
    if (values.size() != 3) return "expected three numbers: minimum current maximum";
    range = {values[0], values[1], values[2]};
    return std::nullopt;
}

std::optional<std::string> ParseRect(std::string_view text, Rect& rect) {
    const auto tokens = SplitBlanks(text);
    if (tokens.size() != 4) return "expected four numbers: left top right bottom";
    int32_t v[4] = {};
    for (std::size_t i = 0; i < 4; ++i) {
        if (auto error = ParseInt32(tokens[i], v[i])) return error;
    }
    rect = {v[0], v[1], v[2], v[3]};
    return std::nullopt;
}

std::optional<std::string> ParseOkFail(std::string_view text, bool& ok) {
    if (text == "ok") {
        ok = true;
    } else if (text == "fail") {
        ok = false;
    } else {
        return "expected ok or fail";
    }
    return std::nullopt;
}

std::optional<std::string> ParseDdc(std::string_view text, FleetMonitor& monitor) {
    const auto tokens = SplitBlanks(text);
    if (tokens.size() == 1 && tokens[0] == "ok") {
        monitor.ddc = DdcMode::Ok;
        monitor.flakyFailures = 0;
    } else if (tokens.size() == 1 && tokens[0] == "dead") {
        monitor.ddc = DdcMode::Dead;
        monitor.flakyFailures = 0;
    } else if (tokens.size() == 2 && tokens[0] == "flaky") {
        if (auto error = ParseUint32(tokens[1], monitor.flakyFailures)) return error;
        monitor.ddc = DdcMode::Flaky;
    } else {
        return "expected ok, dead or flaky N";
    }
    return std::nullopt;
}

// Blanks between the digits are allowed so a long block can be grouped by bytes.
std::optional<std::string> ParseHexBytes(std::string_view text, std::vector<uint8_t>& bytes) {
    bytes.clear();
    int high = -1;
    for (char c : text) {
        if (IsBlank(c)) continue;
        const int digit = HexDigit(c);
        if (digit < 0) return "bad hex digit '" + std::string(1, c) + "'";
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0) return "odd number of hex digits";
    return std::nullopt;
}

enum class Section { None, Display, Monitor, Panel };

constexpr std::string_view kDisplayKeys[] = {"device", "rect", "friendly", "path", "technology",
                                             "serial", "year", "edid", "physical"};
constexpr std::string_view kMonitorKeys[] = {"description", "brightness", "contrast", "red", "green",
                                             "blue", "capabilities", "capabilitieslength", "preset", "input", "ddc"};
constexpr std::string_view kPanelKeys[] = {"levels", "current", "wmi", "display"};

template <std::size_t N>
bool Contains(const std::string_view (&keys)[N], std::string_view key) {
    return std::find(std::begin(keys), std::end(keys), key) != std::end(keys);
}

bool IsKnownKey(Section section, std::string_view key) {
    switch (section) {
        case Section::Display: return Contains(kDisplayKeys, key);
        case Section::Monitor: return Contains(kMonitorKeys, key);
        case Section::Panel: return Contains(kPanelKeys, key);
        case Section::None: break;
    }
    return false;
}

const char* SectionName(Section section) {
    switch (section) {
        case Section::Display: return "[display]";
        case Section::Monitor: return "[monitor]";
        case Section::Panel: return "[panel]";
        case Section::None: break;
    }
    return "";
}

std::optional<std::string> SetDisplayKey(FleetDisplay& display, std::string_view key, std::string_view value) {
    if (key == "device") {
        display.device = value;
    } else if (key == "rect") {
        return ParseRect(value, display.rect);
    } else if (key == "friendly") {
        display.friendly = value;
    } else if (key == "path") {
        display.path = value;
    } else if (key == "technology") {
        return ParseUint32(value, display.technology);
    } else if (key == "serial") {
        display.serial = value;
    } else if (key == "year") {
        return ParseUint32(value, display.year);
    } else if (key == "edid") {
        return ParseHexBytes(value, display.edid);
    } else if (key == "physical") {
        return ParseOkFail(value, display.physicalOk);
    }
    return std::nullopt;
}

std::optional<std::string> SetMonitorKey(FleetMonitor& monitor, std::string_view key, std::string_view value) {
    if (key == "description") {
        monitor.description = value;
    } else if (key == "brightness") {
        return ParseRange(value, monitor.brightness);
    } else if (key == "contrast") {
        return ParseRange(value, monitor.contrast);
    } else if (key == "red") {
        return ParseRange(value, monitor.red);
    } else if (key == "green") {
        return ParseRange(value, monitor.green);
    } else if (key == "blue") {
        return ParseRange(value, monitor.blue);
    } else if (key == "capabilities") {
        monitor.capabilities = value;
    } else if (key == "capabilitieslength") {
        return ParseUint32(value, monitor.capabilitiesLength);
    } else if (key == "preset") {
        return ParseUint32(value, monitor.preset);
    } else if (key == "input") {
        return ParseUint32(value, monitor.input);
    } else if (key == "ddc") {
        return ParseDdc(value, monitor);
    }
    return std::nullopt;
}

std::optional<std::string> SetPanelKey(FleetPanel& panel, std::string_view key, std::string_view value) {
    if (key == "levels") {
        return ParseUintList(value, panel.levels);
    } else if (key == "current") {
        return ParseUint32(value, panel.current);
    } else if (key == "wmi") {
        return ParseOkFail(value, panel.wmiOk);
    } else if (key == "display") {
        return ParseUint32(value, panel.display);
    }
    return std::nullopt;
}

// A display without a rect goes to the right of all displays before it, so a fleet that
// names only its monitors still forms a desktop without overlaps.
FleetDisplay NewDisplay(std::size_t index, int32_t left) {
    FleetDisplay display;
    display.device = "\\\\.\\DISPLAY" + std::to_string(index + 1);
    const int64_t right = std::min<int64_t>(int64_t{left} + 1920, std::numeric_limits<int32_t>::max());
    display.rect = {left, 0, static_cast<int32_t>(right), 1080};
    return display;
}

class Parser {
public:
    FleetParseResult Run(std::string_view text) {
        int lineNumber = 0;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            ++lineNumber;
            if (auto error = ParseLine(text.substr(start, end - start))) {
                result_.ok = false;
                result_.fleet = {};
                result_.error = {lineNumber, *error};
                return std::move(result_);
            }
            start = end + 1;
        }
        result_.ok = true;
        return std::move(result_);
    }

private:
    std::optional<std::string> ParseLine(std::string_view rawLine) {
        const std::string_view line = Trim(StripComment(rawLine));
        if (line.empty()) return std::nullopt;
        if (line.front() == '[') return StartSection(line);

        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return "expected 'key = value'";
        const std::string_view key = Trim(line.substr(0, equals));
        std::string_view value = Trim(line.substr(equals + 1));
        if (!value.empty() && value.front() == '#') value = {};
        if (key.empty()) return "expected 'key = value'";
        if (section_ == Section::None) return "key '" + std::string(key) + "' before any section";
        if (!IsKnownKey(section_, key)) {
            return "unknown key '" + std::string(key) + "' in " + SectionName(section_);
        }
        if (std::find(seenKeys_.begin(), seenKeys_.end(), key) != seenKeys_.end()) {
            return "duplicate key '" + std::string(key) + "' in " + SectionName(section_);
        }

        Fleet& fleet = result_.fleet;
        std::optional<std::string> error;
        switch (section_) {
            case Section::Display: error = SetDisplayKey(fleet.displays.back(), key, value); break;
            case Section::Monitor: error = SetMonitorKey(fleet.displays.back().monitors.back(), key, value); break;
            case Section::Panel: error = SetPanelKey(*fleet.panel, key, value); break;
            case Section::None: break;
        }
        if (error) return std::string(key) + ": " + *error;
        seenKeys_.emplace_back(key);
        return std::nullopt;
    }

    std::optional<std::string> StartSection(std::string_view line) {
        Fleet& fleet = result_.fleet;
        seenKeys_.clear();
        if (line == "[display]") {
            // The display before is complete now, its rect included.
            if (!fleet.displays.empty()) rightmost_ = std::max(rightmost_, fleet.displays.back().rect.right);
            fleet.displays.push_back(NewDisplay(fleet.displays.size(), rightmost_));
            section_ = Section::Display;
        } else if (line == "[monitor]") {
            if (fleet.displays.empty()) return "[monitor] before any [display]";
            fleet.displays.back().monitors.emplace_back();
            section_ = Section::Monitor;
        } else if (line == "[panel]") {
            if (fleet.panel) return "second [panel]; a fleet has at most one";
            fleet.panel.emplace();
            section_ = Section::Panel;
        } else {
            return "unknown section " + std::string(line);
        }
        return std::nullopt;
    }

    FleetParseResult result_;
    Section section_ = Section::None;
    std::vector<std::string> seenKeys_;
    int32_t rightmost_ = 0;
};

void WriteKey(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += value.empty() ? " =" : " = ";
    out += value;
    out += '\n';
}

std::string RangeText(const FleetRange& range) {
    return std::to_string(range.min) + ' ' + std::to_string(range.current) + ' ' + std::to_string(range.max);
}

std::string DdcText(const FleetMonitor& monitor) {
    switch (monitor.ddc) {
        case DdcMode::Dead: return "dead";
        case DdcMode::Flaky: return "flaky " + std::to_string(monitor.flakyFailures);
        case DdcMode::Ok: break;
    }
    return "ok";
}

std::string HexText(const std::vector<uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

}  // namespace

FleetParseResult ParseFleet(std::string_view text) { return Parser().Run(text); }

std::string WriteFleet(const Fleet& fleet) {
    std::string out;
    for (const FleetDisplay& display : fleet.displays) {
        if (!out.empty()) out += '\n';
        out += "[display]\n";
        WriteKey(out, "device", display.device);
        WriteKey(out, "rect", std::to_string(display.rect.left) + ' ' + std::to_string(display.rect.top) + ' ' +
                                  std::to_string(display.rect.right) + ' ' + std::to_string(display.rect.bottom));
        WriteKey(out, "friendly", display.friendly);
        WriteKey(out, "path", display.path);
        WriteKey(out, "technology", std::to_string(display.technology));
        WriteKey(out, "serial", display.serial);
        WriteKey(out, "year", std::to_string(display.year));
        if (!display.edid.empty()) WriteKey(out, "edid", HexText(display.edid));
        WriteKey(out, "physical", display.physicalOk ? "ok" : "fail");
        for (const FleetMonitor& monitor : display.monitors) {
            out += "\n[monitor]\n";
            WriteKey(out, "description", monitor.description);
            WriteKey(out, "brightness", RangeText(monitor.brightness));
            WriteKey(out, "contrast", RangeText(monitor.contrast));
            WriteKey(out, "red", RangeText(monitor.red));
            WriteKey(out, "green", RangeText(monitor.green));
            WriteKey(out, "blue", RangeText(monitor.blue));
            WriteKey(out, "capabilities", monitor.capabilities);
            if (monitor.capabilitiesLength != 0)
                WriteKey(out, "capabilitieslength", std::to_string(monitor.capabilitiesLength));
            WriteKey(out, "preset", std::to_string(monitor.preset));
            WriteKey(out, "input", std::to_string(monitor.input));
            WriteKey(out, "ddc", DdcText(monitor));
        }
    }
    if (fleet.panel) {
        if (!out.empty()) out += '\n';
        out += "[panel]\n";
        std::string levels;
        for (uint32_t level : fleet.panel->levels) {
            if (!levels.empty()) levels += ' ';
            levels += std::to_string(level);
        }
        WriteKey(out, "levels", levels);
        WriteKey(out, "current", std::to_string(fleet.panel->current));
        WriteKey(out, "wmi", fleet.panel->wmiOk ? "ok" : "fail");
        WriteKey(out, "display", std::to_string(fleet.panel->display));
    }
    return out;
}

FleetFileResult ReadFleetFile(const std::string& path) {
    FleetFileResult result;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        result.error = path + ": cannot open the file";
        return result;
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        result.error = path + ": cannot read the file";
        return result;
    }
    FleetParseResult parsed = ParseFleet(text);
    if (!parsed.ok) {
        result.error = path + ":" + std::to_string(parsed.error.line) + ": " + parsed.error.message;
        return result;
    }
    result.ok = true;
    result.fleet = std::move(parsed.fleet);
    return result;
}

std::string WriteFleetFile(const std::string& path, const Fleet& fleet) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return path + ": cannot create the file";
    const std::string text = WriteFleet(fleet);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) return path + ": cannot write the file";
    return {};
}

std::size_t MonitorCount(const Fleet& fleet) {
    std::size_t count = 0;
    for (const FleetDisplay& display : fleet.displays) count += display.monitors.size();
    return count;
}

const FleetMonitor* MonitorAt(const Fleet& fleet, std::size_t index) {
    for (const FleetDisplay& display : fleet.displays) {
        if (index < display.monitors.size()) return &display.monitors[index];
        index -= display.monitors.size();
    }
    return nullptr;
}

FleetMonitor* MonitorAt(Fleet& fleet, std::size_t index) {
    return const_cast<FleetMonitor*>(MonitorAt(static_cast<const Fleet&>(fleet), index));
}

// Fleet files are UTF-8; a malformed sequence becomes U+FFFD, as a lenient decoder does.
std::u16string FleetTextToUtf16(std::string_view text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        uint32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            length = 4;
            code = lead & 0x07u;
        }
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0u) == 0x80u;
            code = (code << 6) | (next & 0x3Fu);
        }
        static constexpr uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid) valid = code >= kMinimum[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FFu));
        } else {
            out += static_cast<char16_t>(code);
        }
        i += length;
    }
    return out;
}

}  // namespace lv::sim
