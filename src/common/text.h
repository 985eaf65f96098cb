// Small 8-bit text helpers. Character classes are ASCII only, so bytes of the ANSI
// code page above 0x7F never count as letters or digits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lv {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string ToLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Case-insensitive substring test; an empty needle is contained in everything.
bool ContainsNoCase(std::string_view haystack, std::string_view needle);
// Reads the decimal number that starts at text[0] (which must be a digit), saturating at
// UINT32_MAX; `length` receives the number of digits read.
uint32_t ParseDecimal(std::string_view text, std::size_t* length = nullptr);

}  // namespace lv
