#include "common/text.h"

#include <algorithm>
#include <limits>

namespace lv {

std::string ToLower(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = ToLowerAscii(c);
    return result;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return ToLowerAscii(x) == ToLowerAscii(y); });
}

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return true;
    auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                          [](char x, char y) { return ToLowerAscii(x) == ToLowerAscii(y); });
    return it != haystack.end();
}

uint32_t ParseDecimal(std::string_view text, std::size_t* length) {
    uint64_t value = 0;
    std::size_t i = 0;
    while (i < text.size() && IsDigit(text[i])) {
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
        if (value > std::numeric_limits<uint32_t>::max()) value = std::numeric_limits<uint32_t>::max();
        ++i;
    }
    if (length) *length = i;
    return static_cast<uint32_t>(value);
}

}  // namespace lv
