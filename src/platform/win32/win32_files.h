// Files, folders and the settings XML on Windows: kernel32 and shell32 for the files,
// XmlLite (loaded from the system folder at run time; MinGW has no import library for
// it) for the XML.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/file_api.h"
#include "platform/xml_api.h"

namespace lv {

class Win32FileApi final : public FileApi {
public:
    bool GetRoamingAppDataFolder(std::u16string& folder) override;
    bool GetWorkingFolder(std::u16string& folder) override;
    bool CanOpenForWriting(std::u16string_view path) override;
    bool ReadWholeFile(std::u16string_view path, std::string& bytes) override;
    // An existing hidden or system file keeps those attributes: CreateFileW refuses to
    // truncate it otherwise. The data is flushed before success is reported, so a
    // replacement that follows cannot outrun it.
    bool WriteWholeFile(std::u16string_view path, std::string_view bytes) override;
    // Replaces a hidden target like any other (the result has the moved file's
    // attributes). Windows refuses a read-only target (Wine does not).
    bool ReplaceFileWith(std::u16string_view from, std::u16string_view to) override;
    // A file of that name is no folder: false.
    bool CreateFolder(std::u16string_view path) override;
    bool RemoveFile(std::u16string_view path) override;
    bool SetHidden(std::u16string_view path) override;
};

// CreateXmlReader with DTD processing prohibited, over a memory stream of the document.
class XmlLiteReader final : public XmlReader {
public:
    bool ReadFirstAttributes(std::string_view document, const ElementHandler& onElement) override;
};

// CreateXmlWriter with indentation, over a memory stream; EndDocument flushes and hands
// over the stream's bytes. It writes what SimpleXmlWriter(CrLf) writes:
// - values pass through XmlSafeText first, because XmlLite refuses or passes on what
//   XML cannot carry, depending on the version;
// - whitespace after the root's end tag is added after the document, because Wine's
//   XmlLite refuses it there;
// - where XmlLite writes attribute values unescaped (Wine's does), the writer escapes
//   them itself.
// After a failed call EndDocument fails, as SimpleXmlWriter's does.
class XmlLiteWriter final : public XmlWriter {
public:
    XmlLiteWriter();
    ~XmlLiteWriter() override;
    XmlLiteWriter(const XmlLiteWriter&) = delete;
    XmlLiteWriter& operator=(const XmlLiteWriter&) = delete;

    bool StartDocument() override;
    bool StartElement(std::u16string_view name) override;
    bool WriteAttribute(std::u16string_view name, std::u16string_view value) override;
    bool WriteFullEndElement() override;
    bool WriteWhitespace(std::u16string_view whitespace) override;
    bool EndDocument(std::string& document) override;

private:
    struct Document;
    bool Fail();
    // The document being written, begun on first use; null when XmlLite is missing.
    Document* Current();

    std::unique_ptr<Document> document_;
    bool failed_ = false;
};

}  // namespace lv
