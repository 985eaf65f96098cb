#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_platform.h"

namespace {

// The program's 8-bit texts are code page 1252; Wine's default locale uses it too.
TEST(Win32TextCodec, GermanTextConvertsBothWays) {
    if (::GetACP() != 1252) GTEST_SKIP() << "ANSI code page is " << ::GetACP() << ", not 1252";
    struct Case {
        std::string ansi;
        std::u16string wide;
    };
    const Case cases[] = {
        {"Gr\xF6\xDF" "e \xFC" "ber \xD6l, \xC4nderung", u"Gr\u00F6\u00DFe \u00FCber \u00D6l, \u00C4nderung"},
        {"\x80 \x84 \x96 \x9F", u"\u20AC \u201E \u2013 \u0178"},  // the 0x80..0x9F block differs from Latin-1
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},     // the length comes from the view
        {"", u""},
    };
    lv::Win32TextCodec codec;
    for (const Case& c : cases) {
        EXPECT_EQ(codec.AnsiToWide(c.ansi), c.wide) << c.ansi;
        EXPECT_EQ(codec.WideToAnsi(c.wide), c.ansi) << c.ansi;
    }
    std::string all;
    for (int byte = 1; byte <= 0xFF; ++byte) all.push_back(static_cast<char>(byte));
    EXPECT_EQ(codec.WideToAnsi(codec.AnsiToWide(all)), all);
}

}  // namespace
