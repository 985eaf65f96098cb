// An XML writer without a system library: the host's, and the Windows tests' measure of
// what XmlLite writes. It writes what XmlLite writes with indentation on: the
// declaration, each element on its own line indented by two spaces per level, an end
// tag on the start tag's line when nothing stands between them, no byte order mark.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/xml_api.h"

namespace lv {

// XML 1.0 cannot carry most control characters, not even as character references, and
// a value's tabs and line breaks would come back as spaces anyway (attribute values are
// normalised when read). So every character below U+0020 becomes a space, and what is
// no character at all (a lone surrogate, U+FFFE, U+FFFF) becomes U+FFFD. Both writers
// pass values through this, so a value reads back the same whichever wrote it.
std::u16string XmlSafeText(std::u16string_view text);

class SimpleXmlWriter final : public XmlWriter {
public:
    // XmlLite breaks lines with CR LF; the host's files use LF.
    enum class LineBreak { Lf, CrLf };

    explicit SimpleXmlWriter(LineBreak lineBreak = LineBreak::Lf) : lineBreak_(lineBreak) {}

    // Every call that is out of place (an attribute after content, an end tag with no
    // element open, a second root, a name that is no XML name, whitespace that is not)
    // fails, and so does EndDocument after it: a document with a gap is never handed out.
    bool StartDocument() override;
    bool StartElement(std::u16string_view name) override;
    bool WriteAttribute(std::u16string_view name, std::u16string_view value) override;
    bool WriteFullEndElement() override;
    bool WriteWhitespace(std::u16string_view whitespace) override;
    // Closes elements still open, as XmlLite does (one without content as "<name />").
    // Fails when no element was written.
    bool EndDocument(std::string& document) override;

private:
    bool Fail();
    void CloseStartTag();
    void BreakLine();

    LineBreak lineBreak_;
    std::string out_;
    std::vector<std::string> open_;             // names of the open elements, UTF-8
    std::vector<std::u16string> attributes_;    // of the open start tag
    bool startTagOpen_ = false;
    bool rootWritten_ = false;
    bool failed_ = false;
};

}  // namespace lv
