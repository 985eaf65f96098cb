// Cases every XML reader and writer must pass alike: expat and the portable writer on the
// host, XmlLite under Wine.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/xml_api.h"

namespace lv::xml_cases {

using Elements = std::vector<std::pair<std::u16string, std::u16string>>;

struct ReadCase {
    const char* name;
    std::string document;
    bool ok;
    Elements elements;  // as reported, also when the document is refused
};

inline const std::vector<ReadCase>& ReadCases() {
    static const std::vector<ReadCase> cases = {
        {"settings document",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<settings Lumivane=\"4.4\">\r\n"
         "  <set restartflag=\"N\"></set>\r\n  <set hotkey10=\"00000731\"></set>\r\n"
         "  <set HotKey3=\"b 20 c 30\"></set>\r\n</settings>\n",
         true,
         {{u"Lumivane", u"4.4"}, {u"restartflag", u"N"}, {u"hotkey10", u"00000731"}, {u"HotKey3", u"b 20 c 30"}}},
        {"first attribute only, nested anywhere under another root",
         "<config><set a=\"1\" b=\"2\"/><group><deeper><x y=\"z\"/></deeper></group></config>", true,
         {{u"config", u""}, {u"a", u"1"}, {u"group", u""}, {u"deeper", u""}, {u"y", u"z"}}},
        {"UTF-8 byte order mark", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><s k=\"\xC3\xA4\"/>", true,
         {{u"k", u"\u00E4"}}},
        {"UTF-16 with byte order mark", std::string("\xFF\xFE<\0s\0 \0k\0=\0\"\0\xE4\0\"\0/\0>\0", 22), true,
         {{u"k", u"\u00E4"}}},
        {"comments, CDATA, instructions and text pass by",
         "<?xml-stylesheet href=\"a.css\"?><!-- <set c=\"1\"/> --><s><![CDATA[<set d=\"1\"/>]]><?pi x?>text"
         "<set k=\"v\"/></s><!-- end -->",
         true, {{u"s", u""}, {u"k", u"v"}}},
        {"references decoded", "<s k=\"a&amp;b&lt;&gt;&quot;&apos;&#65;&#x20AC;\"/>", true,
         {{u"k", u"a&b<>\"'A\u20AC"}}},
        {"line breaks and tabs in values read as spaces", "<s b=\"p\tq\r\nr\"/>", true, {{u"b", u"p q r"}}},
        {"local names without prefix", "<r><s p:k=\"v\" xmlns:p=\"urn:x\"/><p:e xmlns:p=\"urn:x\"/></r>", true,
         {{u"r", u""}, {u"k", u"v"}, {u"p", u"urn:x"}}},
        {"document type with an entity refused",
         "<?xml version=\"1.0\"?><!DOCTYPE s [<!ENTITY e \"boom\">]><s k=\"&e;\"/>", false, {}},
        {"external document type refused",
         "<!DOCTYPE s SYSTEM \"http://localhost:9/s.dtd\"><s k=\"v\"/>", false, {}},
        {"mismatched end tag", "<settings><set a=\"1\"></set><set b=\"2\"></sett></settings>", false,
         {{u"settings", u""}, {u"a", u"1"}, {u"b", u"2"}}},
        {"cut short", "<settings><set a=\"1\"></set><set b=\"", false, {{u"settings", u""}, {u"a", u"1"}}},
        {"character XML cannot carry", "<s><set a=\"1\"/><set b=\"&#1;\"/></s>", false, {{u"s", u""}, {u"a", u"1"}}},
        {"empty", "", false, {}},
    };
    return cases;
}

// Reads `document`, collecting what is reported.
inline bool Read(XmlReader& reader, std::string_view document, Elements& elements) {
    return reader.ReadFirstAttributes(document, [&elements](std::u16string_view key, std::u16string_view value) {
        elements.emplace_back(key, value);
    });
}

// What a writer is given and what any reader gives back (the same when `read` is absent).
struct ValueCase {
    const char* name;
    std::u16string written;
    std::optional<std::u16string> read;
};

inline const std::vector<ValueCase>& ValueCases() {
    static const std::vector<ValueCase> cases = {
        {"command line", u"b 20 c 30", {}},
        {"markup", u"&<>\"' &amp;", {}},
        {"German letters", u"Gr\u00F6\u00DFe \u00E4 \u00D6l \u20AC", {}},
        {"259 characters, a full edit field", std::u16string(259, u'b'), {}},
        {"empty", u"", {}},
        {"spaces kept", u"  two  spaces ", {}},
        {"character beyond the BMP", u"\U0001F600", {}},
        {"controls become spaces", u"a\tb\nc\r\nd\x01\x1F" u"e", u"a b c  d  e"},
        {"no characters become U+FFFD", std::u16string{u'a', 0xD800, u'b', 0xDC00, 0xFFFE, 0xFFFF},
         std::u16string{u'a', 0xFFFD, u'b', 0xFFFD, 0xFFFD, 0xFFFD}},
    };
    return cases;
}

inline std::u16string Key(std::size_t index) {
    const std::string digits = std::to_string(index);
    return u"key" + std::u16string(digits.begin(), digits.end());
}

// The settings document as the core writes it: the root with its version, one `set`
// per value (keys key0, key1, ...), a line break after the root.
inline bool WriteSettings(XmlWriter& writer, const std::vector<std::u16string>& values, std::string& document) {
    bool ok = writer.StartDocument() && writer.StartElement(u"settings") && writer.WriteAttribute(u"Lumivane", u"4.4");
    for (std::size_t i = 0; ok && i < values.size(); ++i) {
        ok = writer.StartElement(u"set") && writer.WriteAttribute(Key(i), values[i]) && writer.WriteFullEndElement();
    }
    ok = ok && writer.WriteFullEndElement() && writer.WriteWhitespace(u"\n");
    return writer.EndDocument(document) && ok;
}

// The awkward values as a writer is given them, and the elements a reader reports for
// the document that holds them.
inline std::vector<std::u16string> WrittenValues() {
    std::vector<std::u16string> values;
    for (const auto& c : ValueCases()) values.push_back(c.written);
    return values;
}

inline Elements ValuesAsRead() {
    Elements elements = {{u"Lumivane", u"4.4"}};
    for (std::size_t i = 0; i < ValueCases().size(); ++i) {
        elements.emplace_back(Key(i), ValueCases()[i].read.value_or(ValueCases()[i].written));
    }
    return elements;
}

inline void ExpectReadsEveryCase(XmlReader& reader) {
    for (const auto& c : ReadCases()) {
        Elements elements;
        EXPECT_EQ(Read(reader, c.document, elements), c.ok) << c.name;
        EXPECT_EQ(elements, c.elements) << c.name;
    }
}

}  // namespace lv::xml_cases
