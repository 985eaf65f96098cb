#include "monitors/capabilities.h"

#include "common/text.h"

namespace lv {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = ToLowerAscii(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Index just behind the parenthesis that closes the one opened before `from` (or the end).
std::size_t SkipGroup(std::string_view text, std::size_t from) {
    int depth = 1;
    std::size_t i = from;
    for (; i < text.size() && depth > 0; ++i) {
        if (text[i] == '(') ++depth;
        if (text[i] == ')') --depth;
    }
    return i;
}

// Two-digit hex codes, with or without separators. Stops at ')' of this level or '('.
std::vector<uint8_t> ReadCodes(std::string_view text, std::size_t& i) {
    std::vector<uint8_t> codes;
    int high = -1;
    while (i < text.size() && text[i] != ')' && text[i] != '(') {
        const int digit = HexValue(text[i]);
        if (digit >= 0) {
            if (high < 0) {
                high = digit;
            } else {
                codes.push_back(static_cast<uint8_t>(high * 16 + digit));
                high = -1;
            }
        } else if (!IsBlank(text[i])) {
            high = -1;  // anything else separates codes
        } else if (high >= 0 && i + 1 < text.size() && HexValue(text[i + 1]) < 0) {
            codes.push_back(static_cast<uint8_t>(high));  // a lone digit: "vcp(2 10)" style
            high = -1;
        }
        ++i;
    }
    if (high >= 0) codes.push_back(static_cast<uint8_t>(high));
    return codes;
}

void ParseVcp(std::string_view text, std::size_t i, std::vector<VcpCode>& vcp) {
    while (i < text.size() && text[i] != ')') {
        std::vector<uint8_t> codes = ReadCodes(text, i);
        for (uint8_t code : codes) vcp.push_back({code, {}});
        if (i < text.size() && text[i] == '(') {
            ++i;
            std::size_t inner = i;
            std::vector<uint8_t> values = ReadCodes(text, inner);
            if (!vcp.empty() && !codes.empty()) vcp.back().values = std::move(values);
            i = SkipGroup(text, i);
        }
    }
}

}  // namespace

const VcpCode* Capabilities::Find(uint8_t code) const {
    for (const VcpCode& entry : vcp)
        if (entry.code == code) return &entry;
    return nullptr;
}

Capabilities ParseCapabilities(std::string_view text) {
    Capabilities result;
    // Walk keyword(...) groups at any depth outside the vcp list; the keyword is the run
    // of letters (and '_') right before the parenthesis.
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '(') {
            ++i;
            continue;
        }
        std::size_t start = i;
        while (start > 0 && (IsAsciiLetter(text[start - 1]) || text[start - 1] == '_')) --start;
        const std::string_view keyword = text.substr(start, i - start);
        const std::size_t open = i + 1;
        if (EqualsNoCase(keyword, "vcp") && result.vcp.empty()) {
            ParseVcp(text, open, result.vcp);
            i = SkipGroup(text, open);
        } else if (EqualsNoCase(keyword, "model") && !result.hasModel) {
            const std::size_t end = SkipGroup(text, open);
            const std::size_t length = (end > open && end <= text.size() && text[end - 1] == ')') ? end - 1 - open : end - open;
            std::string model(text.substr(open, length));
            while (!model.empty() && IsBlank(model.back())) model.pop_back();
            while (!model.empty() && IsBlank(model.front())) model.erase(model.begin());
            result.model = std::move(model);
            result.hasModel = true;
            i = end;
        } else {
            i = open;  // descend: the outer parenthesis, and monitors that nest groups oddly
        }
    }
    return result;
}

}  // namespace lv
