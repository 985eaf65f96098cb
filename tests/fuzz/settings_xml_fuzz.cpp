// A settings document is a file anyone may edit: any bytes. Whatever the reader reports
// is well-formed UTF-16 with a name, and goes through the writer and back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/host/expat_reader.h"
#include "platform/portable/xml_writer.h"

namespace {

bool IsUtf16(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (text[i] >= 0xD800 && text[i] <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

using Elements = std::vector<std::pair<std::u16string, std::u16string>>;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lv::ExpatXmlReader reader;
    Elements elements;
    reader.ReadFirstAttributes(std::string_view(reinterpret_cast<const char*>(data), size),
                               [&elements](std::u16string_view key, std::u16string_view value) {
                                   if (key.empty() || !IsUtf16(key) || !IsUtf16(value)) std::abort();
                                   elements.emplace_back(key, value);
                               });

    lv::SimpleXmlWriter writer;
    Elements written;
    bool ok = writer.StartDocument() && writer.StartElement(u"settings");
    for (const auto& [key, value] : elements) {
        // Only names both sides take: the writer's name rule is broader than expat's tables
        // (a combining mark may not begin a name for expat), and keys of ours are ASCII.
        lv::SimpleXmlWriter probe;
        std::string alone;
        if (!(probe.StartDocument() && probe.StartElement(u"set") && probe.WriteAttribute(key, value) &&
              probe.WriteFullEndElement() && probe.EndDocument(alone)))
            continue;
        if (!reader.ReadFirstAttributes(alone, [](std::u16string_view, std::u16string_view) {})) continue;
        ok = ok && writer.StartElement(u"set") && writer.WriteAttribute(key, value) && writer.WriteFullEndElement();
        written.emplace_back(key, lv::XmlSafeText(value));
    }
    std::string document;
    if (!writer.EndDocument(document) || !ok) std::abort();
    Elements read;
    const bool readBack = reader.ReadFirstAttributes(document, [&read](std::u16string_view key, std::u16string_view value) {
        read.emplace_back(key, value);
    });
    written.insert(written.begin(), {u"settings", u""});
    if (!readBack || read != written) std::abort();
    return 0;
}
