// A small XML reader and writer: enough for the settings document, a root element with
// one child element per stored value. On Windows XmlLite serves, elsewhere expat.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace lv {

class XmlReader {
public:
    virtual ~XmlReader() = default;
    // Reads `document` (UTF-8 or with its own declared encoding) element by element. For
    // every start element, wherever it stands, calls `onElement` with the local name and
    // value of its first attribute, or with the element's own name and an empty value
    // when it has none. Document type declarations are refused: no entity is ever
    // expanded. Returns false for a malformed or refused document; the elements before
    // the fault have been reported by then.
    using ElementHandler = std::function<void(std::u16string_view key, std::u16string_view value)>;
    virtual bool ReadFirstAttributes(std::string_view document, const ElementHandler& onElement) = 0;
};

class XmlWriter {
public:
    virtual ~XmlWriter() = default;
    // Starts an indented UTF-8 document with the XML declaration (no standalone part).
    virtual bool StartDocument() = 0;
    virtual bool StartElement(std::u16string_view name) = 0;
    virtual bool WriteAttribute(std::u16string_view name, std::u16string_view value) = 0;
    // Closes the open element with a separate end tag, also when it is empty.
    virtual bool WriteFullEndElement() = 0;
    virtual bool WriteWhitespace(std::u16string_view whitespace) = 0;
    // Ends the document and hands over its bytes; the writer can then start anew.
    virtual bool EndDocument(std::string& document) = 0;
};

// The system's own reader and writer: XmlLite on Windows, expat elsewhere.
std::unique_ptr<XmlReader> MakeXmlReader();
std::unique_ptr<XmlWriter> MakeXmlWriter();

}  // namespace lv
