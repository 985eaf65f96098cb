// UTF-8 <-> UTF-16 for the portable platform code. Neither direction fails: what cannot
// be converted (a lone surrogate, a malformed byte sequence) becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace lv {

std::string Utf8FromUtf16(std::u16string_view text);
std::u16string Utf16FromUtf8(std::string_view text);

}  // namespace lv
