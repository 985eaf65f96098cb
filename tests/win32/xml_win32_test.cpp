#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/portable/xml_writer.h"
#include "platform/win32/win32_files.h"
#include "platform/xml_cases.h"

namespace {

TEST(XmlLiteReader, ReportsEveryElementsFirstAttributeUpToAFault) {
    lv::XmlLiteReader reader;
    lv::xml_cases::ExpectReadsEveryCase(reader);
}

// The portable writer's document reads back as written (the host's reader test), so the
// same bytes from XmlLite do too.
TEST(XmlLiteWriter, WritesWhatThePortableWriterWrites) {
    const std::vector<std::u16string> values = lv::xml_cases::WrittenValues();
    lv::XmlLiteWriter xmlLite;
    lv::SimpleXmlWriter portable(lv::SimpleXmlWriter::LineBreak::CrLf);
    // Twice: the second document starts afresh.
    for (int i = 0; i < 2; ++i) {
        std::string expected;
        std::string written;
        ASSERT_TRUE(lv::xml_cases::WriteSettings(portable, values, expected));
        ASSERT_TRUE(lv::xml_cases::WriteSettings(xmlLite, values, written));
        EXPECT_EQ(written, expected);
    }
}

// Writes tests/platform/xmllite_written.xml, which the host's reader test reads. Run
// after a change to the value cases or to XmlLiteWriter, with
//   scripts/wine-run build/windows/lumivane_tests.exe --gtest_also_run_disabled_tests
//   --gtest_filter=XmlLiteWriter.DISABLED_WritesTheFixture
TEST(XmlLiteWriter, DISABLED_WritesTheFixture) {
    lv::XmlLiteWriter writer;
    std::string document;
    ASSERT_TRUE(lv::xml_cases::WriteSettings(writer, lv::xml_cases::WrittenValues(), document));
    std::ofstream file(LUMIVANE_SOURCE_DIR "/tests/platform/xmllite_written.xml", std::ios::binary);
    ASSERT_TRUE(file << document);
}

}  // namespace
