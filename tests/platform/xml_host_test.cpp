#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "platform/host/expat_reader.h"
#include "platform/portable/xml_writer.h"
#include "platform/xml_cases.h"

namespace {

using lv::SimpleXmlWriter;

TEST(ExpatXmlReader, ReadsTheSharedCasesAndWhatXmlLiteWrote) {
    lv::ExpatXmlReader reader;
    lv::xml_cases::ExpectReadsEveryCase(reader);
    // The XmlLite writer's output, made under Wine by the test XmlLiteWriter.WritesTheFixture.
    std::ifstream file(LUMIVANE_SOURCE_DIR "/tests/platform/xmllite_written.xml", std::ios::binary);
    ASSERT_TRUE(file);
    const std::string document((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    lv::xml_cases::Elements elements;
    EXPECT_TRUE(lv::xml_cases::Read(reader, document, elements));
    EXPECT_EQ(elements, lv::xml_cases::ValuesAsRead());
}

TEST(SimpleXmlWriter, WritesTheSettingsDocumentAndAwkwardValuesReadBack) {
    for (const auto lineBreak : {SimpleXmlWriter::LineBreak::Lf, SimpleXmlWriter::LineBreak::CrLf}) {
        const std::string br = lineBreak == SimpleXmlWriter::LineBreak::Lf ? "\n" : "\r\n";
        SimpleXmlWriter writer(lineBreak);
        std::string document;
        ASSERT_TRUE(lv::xml_cases::WriteSettings(writer, {u"N", u""}, document));
        EXPECT_EQ(document, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + br + "<settings Lumivane=\"4.4\">" + br +
                                "  <set key0=\"N\"></set>" + br + "  <set key1=\"\"></set>" + br + "</settings>\n");
    }
    SimpleXmlWriter writer;
    std::string document;
    ASSERT_TRUE(lv::xml_cases::WriteSettings(writer, lv::xml_cases::WrittenValues(), document));
    lv::ExpatXmlReader reader;
    lv::xml_cases::Elements elements;
    EXPECT_TRUE(lv::xml_cases::Read(reader, document, elements)) << document;
    EXPECT_EQ(elements, lv::xml_cases::ValuesAsRead());
}

TEST(SimpleXmlWriter, RefusesCallsOutOfPlaceAndTheDocumentWithThem) {
    using Calls = std::function<bool(SimpleXmlWriter&)>;
    const Calls openRoot = [](SimpleXmlWriter& w) { return w.StartDocument() && w.StartElement(u"settings"); };
    const Calls closedRoot = [&](SimpleXmlWriter& w) { return openRoot(w) && w.WriteFullEndElement(); };
    const std::pair<const Calls*, Calls> cases[] = {
        {&openRoot, [](SimpleXmlWriter& w) { return w.StartElement(u"set") && w.WriteFullEndElement() &&
                                                    w.WriteAttribute(u"a", u"1"); }},  // attribute after a child
        {&openRoot, [](SimpleXmlWriter& w) { return w.WriteAttribute(u"a", u"1") && w.WriteAttribute(u"a", u"2"); }},
        {&closedRoot, [](SimpleXmlWriter& w) { return w.StartElement(u"more"); }},
        {&openRoot, [](SimpleXmlWriter& w) { return w.WriteAttribute(u"p:k", u"v"); }},
        {&openRoot, [](SimpleXmlWriter& w) { return w.WriteWhitespace(u" x"); }},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SimpleXmlWriter writer;
        ASSERT_TRUE((*cases[i].first)(writer)) << i;
        EXPECT_FALSE(cases[i].second(writer)) << i;
        std::string document = "untouched";
        EXPECT_FALSE(writer.EndDocument(document)) << i;
        EXPECT_EQ(document, "untouched") << i;
        EXPECT_TRUE(lv::xml_cases::WriteSettings(writer, {u"N"}, document)) << i;  // that document only
    }
}

}  // namespace
