#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_platform.h"

namespace {

// The program's 8-bit texts are code page 1252; Wine's default locale uses it too.
void RequireCodePage1252() {
    if (::GetACP() != 1252) GTEST_SKIP() << "ANSI code page is " << ::GetACP() << ", not 1252";
}

TEST(Win32TextCodec, GermanTextConvertsBothWays) {
    RequireCodePage1252();
    struct Case {
        std::string ansi;
        std::u16string wide;
    };
    const Case cases[] = {
        {"Helligkeit", u"Helligkeit"},
        {"\xC4nderung", u"\u00C4nderung"},
        {"Gr\xF6\xDF" "e \xFC" "ber \xD6l", u"Gr\u00F6\u00DFe \u00FCber \u00D6l"},
        {"Ton \xD8", u"Ton \u00D8"},
        {"\x80 \x84 \x96 \x9F", u"\u20AC \u201E \u2013 \u0178"},  // the 0x80..0x9F block differs from Latin-1
    };
    lv::Win32TextCodec codec;
    for (const Case& c : cases) {
        EXPECT_EQ(codec.AnsiToWide(c.ansi), c.wide) << c.ansi;
        EXPECT_EQ(codec.WideToAnsi(c.wide), c.ansi) << c.ansi;
    }
}

TEST(Win32TextCodec, EveryByteOfTheCodePageRoundTrips) {
    RequireCodePage1252();
    std::string all;
    for (int byte = 1; byte <= 0xFF; ++byte) all.push_back(static_cast<char>(byte));
    lv::Win32TextCodec codec;
    const std::u16string wide = codec.AnsiToWide(all);
    ASSERT_EQ(wide.size(), all.size());
    EXPECT_EQ(codec.WideToAnsi(wide), all);
}

TEST(Win32TextCodec, LengthComesFromTheViewNotFromATerminator) {
    lv::Win32TextCodec codec;
    EXPECT_EQ(codec.AnsiToWide(""), u"");
    EXPECT_EQ(codec.WideToAnsi(u""), "");
    EXPECT_EQ(codec.AnsiToWide(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(codec.WideToAnsi(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
    // A view into a longer buffer converts only its own part.
    const std::string buffer = "DISPLAY1 and more";
    EXPECT_EQ(codec.AnsiToWide(std::string_view(buffer).substr(0, 8)), u"DISPLAY1");
}

TEST(Win32TextCodec, LongTextConvertsCompletely) {
    RequireCodePage1252();
    std::string ansi;
    std::u16string wide;
    for (int i = 0; i < 100000; ++i) {
        ansi += (i % 7 == 0) ? '\xE4' : static_cast<char>('a' + i % 26);
        wide += (i % 7 == 0) ? u'\u00E4' : static_cast<char16_t>(u'a' + i % 26);
    }
    lv::Win32TextCodec codec;
    EXPECT_EQ(codec.AnsiToWide(ansi), wide);
    EXPECT_EQ(codec.WideToAnsi(wide), ansi);
}

TEST(Win32TextCodec, CharactersOutsideTheCodePageBecomeTheDefaultCharacter) {
    RequireCodePage1252();
    lv::Win32TextCodec codec;
    // How many question marks a surrogate pair gives is the system's business.
    const std::string converted = codec.WideToAnsi(u"A\u4E2DB\U0001F600C");
    EXPECT_EQ(converted.front(), 'A');
    EXPECT_EQ(converted.back(), 'C');
    EXPECT_NE(converted.find('B'), std::string::npos);
    EXPECT_EQ(converted.find_first_not_of("ABC?"), std::string::npos) << converted;
}

}  // namespace
