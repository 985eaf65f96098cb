#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/host/expat_reader.h"
#include "platform/host/xml_writer.h"
#include "platform/xml_cases.h"

namespace {

using lv::SimpleXmlWriter;
using lv::xml_cases::Elements;

TEST(ExpatXmlReader, ReportsEveryElementsFirstAttributeUpToAFault) {
    lv::ExpatXmlReader reader;
    lv::xml_cases::ExpectReadsEveryCase(reader);
}

TEST(SimpleXmlWriter, WritesTheSettingsDocumentIndentedWithFullEndTags) {
    struct Case {
        SimpleXmlWriter::LineBreak lineBreak;
        std::string expected;
    };
    const Case cases[] = {
        {SimpleXmlWriter::LineBreak::Lf,
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<settings Lumivane=\"4.4\">\n  <set key0=\"N\"></set>\n"
         "  <set key1=\"\"></set>\n</settings>\n"},
        {SimpleXmlWriter::LineBreak::CrLf,
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<settings Lumivane=\"4.4\">\r\n  <set key0=\"N\"></set>\r\n"
         "  <set key1=\"\"></set>\r\n</settings>\n"},
    };
    for (const Case& c : cases) {
        SimpleXmlWriter writer(c.lineBreak);
        std::string document;
        ASSERT_TRUE(lv::xml_cases::WriteSettings(writer, {u"N", u""}, document));
        EXPECT_EQ(document, c.expected);
    }
}

TEST(SimpleXmlWriter, AwkwardValuesReadBackThroughExpat) {
    SimpleXmlWriter writer;
    lv::ExpatXmlReader reader;
    lv::xml_cases::ExpectValuesRoundTrip(writer, reader);
}

TEST(SimpleXmlWriter, RefusesCallsOutOfPlaceAndTheDocumentWithThem) {
    using Calls = std::function<bool(SimpleXmlWriter&)>;
    const Calls openRoot = [](SimpleXmlWriter& w) { return w.StartDocument() && w.StartElement(u"settings"); };
    const Calls afterChild = [&](SimpleXmlWriter& w) {
        return openRoot(w) && w.StartElement(u"set") && w.WriteFullEndElement();
    };
    const Calls closedRoot = [&](SimpleXmlWriter& w) { return openRoot(w) && w.WriteFullEndElement(); };
    const Calls withAttribute = [&](SimpleXmlWriter& w) { return openRoot(w) && w.WriteAttribute(u"a", u"1"); };
    struct Case {
        const char* name;
        const Calls& before;
        Calls outOfPlace;
    };
    const Case cases[] = {
        {"attribute after a child", afterChild, [](SimpleXmlWriter& w) { return w.WriteAttribute(u"a", u"1"); }},
        {"attribute of the same name", withAttribute, [](SimpleXmlWriter& w) { return w.WriteAttribute(u"a", u"2"); }},
        {"end tag with nothing open", closedRoot, [](SimpleXmlWriter& w) { return w.WriteFullEndElement(); }},
        {"second root", closedRoot, [](SimpleXmlWriter& w) { return w.StartElement(u"more"); }},
        {"second declaration", openRoot, [](SimpleXmlWriter& w) { return w.StartDocument(); }},
        {"name with a space", openRoot, [](SimpleXmlWriter& w) { return w.StartElement(u"a b"); }},
        {"name with a prefix", openRoot, [](SimpleXmlWriter& w) { return w.WriteAttribute(u"p:k", u"v"); }},
        {"name starting with a digit", openRoot, [](SimpleXmlWriter& w) { return w.WriteAttribute(u"1k", u"v"); }},
        {"empty name", openRoot, [](SimpleXmlWriter& w) { return w.StartElement(u""); }},
        {"whitespace that is not", openRoot, [](SimpleXmlWriter& w) { return w.WriteWhitespace(u" x"); }},
    };
    for (const Case& c : cases) {
        SimpleXmlWriter writer;
        ASSERT_TRUE(c.before(writer)) << c.name;
        EXPECT_FALSE(c.outOfPlace(writer)) << c.name;
        std::string document = "untouched";
        EXPECT_FALSE(writer.EndDocument(document)) << c.name;
        EXPECT_EQ(document, "untouched") << c.name;
        // The failure ended that document only.
        EXPECT_TRUE(lv::xml_cases::WriteSettings(writer, {u"N"}, document)) << c.name;
    }
}

TEST(SimpleXmlWriter, EndDocumentClosesWhatIsOpenAndNeedsAnElement) {
    SimpleXmlWriter writer;
    std::string document;
    EXPECT_FALSE(writer.StartDocument() && writer.EndDocument(document));
    ASSERT_TRUE(writer.StartDocument() && writer.StartElement(u"settings") && writer.StartElement(u"set"));
    ASSERT_TRUE(writer.EndDocument(document));
    EXPECT_EQ(document, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<settings>\n  <set />\n</settings>");
}

// The XmlLite writer's output, made under Wine by the test XmlLiteWriter.WritesTheFixture.
TEST(ExpatXmlReader, ReadsWhatXmlLiteWrote) {
    std::ifstream file(LUMIVANE_SOURCE_DIR "/tests/platform/xmllite_written.xml", std::ios::binary);
    ASSERT_TRUE(file);
    const std::string document((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    lv::ExpatXmlReader reader;
    Elements elements;
    EXPECT_TRUE(lv::xml_cases::Read(reader, document, elements));
    EXPECT_EQ(elements, lv::xml_cases::ValuesAsRead());
}

}  // namespace
