#include <objidl.h>
#include <xmllite.h>

#include <climits>
#include <string>

#include "platform/portable/utf8.h"
#include "platform/portable/xml_writer.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_handles.h"

namespace lv {

namespace {

using win32::ComPtr;

// g++ has no __uuidof, and there is no import library to define these.
constexpr IID kIidIXmlReader = {0x7279FC81, 0x709D, 0x4095, {0xB6, 0x3D, 0x69, 0xFE, 0x4B, 0x0D, 0x90, 0x30}};
constexpr IID kIidIXmlWriter = {0x7279FC88, 0x709D, 0x4095, {0xB6, 0x3D, 0x69, 0xFE, 0x4B, 0x0D, 0x90, 0x30}};

using CreateFunction = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

// From the system folder only, so no xmllite.dll beside the program is ever loaded. The
// library stays for the life of the process.
CreateFunction XmlLiteFunction(const char* name) {
    static const HMODULE module = [] {
        wchar_t folder[MAX_PATH];
        const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return HMODULE{};
        return ::LoadLibraryW((std::wstring(folder, length) + L"\\xmllite.dll").c_str());
    }();
    if (!module) return nullptr;
    // Through void(*)() so that the cast between function types is not warned about.
    return reinterpret_cast<CreateFunction>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string_view View(const WCHAR* text, UINT length) {
    return {reinterpret_cast<const char16_t*>(text), length};
}

bool StreamWithBytes(std::string_view bytes, ComPtr<IStream>& stream) {
    if (bytes.size() > ULONG_MAX || FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())) || !stream)
        return false;
    ULONG written = 0;
    return SUCCEEDED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) &&
           written == bytes.size() && SUCCEEDED(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr));
}

bool StreamBytes(IStream& stream, std::string& bytes) {
    STATSTG status{};
    if (FAILED(stream.Stat(&status, STATFLAG_NONAME)) || status.cbSize.QuadPart > ULONG_MAX) return false;
    std::string content(static_cast<std::size_t>(status.cbSize.QuadPart), '\0');
    ULONG read = 0;
    if (FAILED(stream.Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr)) ||
        FAILED(stream.Read(content.data(), static_cast<ULONG>(content.size()), &read)) || read != content.size())
        return false;
    bytes = std::move(content);
    return true;
}

bool NewWriter(ComPtr<IXmlWriter>& writer, ComPtr<IStream>& stream) {
    const CreateFunction create = XmlLiteFunction("CreateXmlWriter");
    return create && SUCCEEDED(create(kIidIXmlWriter, writer.PutVoid(), nullptr)) && writer &&
           SUCCEEDED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())) && stream &&
           SUCCEEDED(writer->SetOutput(stream.Get()));
}

// Wine's XmlLite writes attribute values as given, which leaves a document no reader
// takes once a value holds & or <. One attribute written at the first use tells.
bool WriterEscapesAttributes() {
    static const bool escapes = [] {
        ComPtr<IXmlWriter> writer;
        ComPtr<IStream> stream;
        std::string bytes;
        if (!NewWriter(writer, stream) || FAILED(writer->WriteStartElement(nullptr, L"a", nullptr)) ||
            FAILED(writer->WriteAttributeString(nullptr, L"b", nullptr, L"&")) || FAILED(writer->WriteEndDocument()) ||
            FAILED(writer->Flush()) || !StreamBytes(*stream.Get(), bytes))
            return true;
        return bytes.find("&amp;") != std::string::npos;
    }();
    return escapes;
}

std::u16string Escaped(std::u16string_view text) {
    std::u16string out;
    for (const char16_t c : text) {
        switch (c) {
            case u'&': out += u"&amp;"; break;
            case u'<': out += u"&lt;"; break;
            case u'>': out += u"&gt;"; break;
            case u'"': out += u"&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

bool XmlLiteReader::ReadFirstAttributes(std::string_view document, const ElementHandler& onElement) {
    const CreateFunction create = XmlLiteFunction("CreateXmlReader");
    ComPtr<IStream> stream;
    ComPtr<IXmlReader> reader;
    if (!create || !StreamWithBytes(document, stream) || FAILED(create(kIidIXmlReader, reader.PutVoid(), nullptr)) ||
        !reader || FAILED(reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
        FAILED(reader->SetInput(stream.Get())))
        return false;
    for (;;) {
        XmlNodeType type = XmlNodeType_None;
        const HRESULT read = reader->Read(&type);
        if (read == S_FALSE) return true;
        if (read != S_OK) return false;
        if (type != XmlNodeType_Element) continue;
        // Without attributes the reader stays on the element and names it.
        const HRESULT moved = reader->MoveToFirstAttribute();
        const WCHAR* name = nullptr;
        UINT nameLength = 0;
        const WCHAR* value = L"";
        UINT valueLength = 0;
        if (FAILED(moved) || FAILED(reader->GetLocalName(&name, &nameLength)) ||
            (moved == S_OK && FAILED(reader->GetValue(&value, &valueLength))))
            return false;
        onElement(View(name, nameLength), View(value, valueLength));
    }
}

struct XmlLiteWriter::Document {
    ComPtr<IXmlWriter> writer;
    ComPtr<IStream> stream;
    int depth = 0;
    bool rootClosed = false;
    std::string trailing;  // whitespace after the root, UTF-8
};

XmlLiteWriter::XmlLiteWriter() = default;
XmlLiteWriter::~XmlLiteWriter() = default;

bool XmlLiteWriter::Fail() {
    failed_ = true;
    return false;
}

XmlLiteWriter::Document* XmlLiteWriter::Current() {
    if (!document_) {
        auto document = std::make_unique<Document>();
        if (!NewWriter(document->writer, document->stream) ||
            FAILED(document->writer->SetProperty(XmlWriterProperty_Indent, TRUE)))
            return nullptr;
        document_ = std::move(document);
    }
    return document_.get();
}

bool XmlLiteWriter::StartDocument() {
    const bool fresh = !document_;
    Document* document = Current();
    if (!document || !fresh || FAILED(document->writer->WriteStartDocument(XmlStandalone_Omit))) return Fail();
    return true;
}

bool XmlLiteWriter::StartElement(std::u16string_view name) {
    Document* document = Current();
    if (!document || document->rootClosed ||
        FAILED(document->writer->WriteStartElement(nullptr, Wide(name).c_str(), nullptr)))
        return Fail();
    ++document->depth;
    return true;
}

bool XmlLiteWriter::WriteAttribute(std::u16string_view name, std::u16string_view value) {
    Document* document = Current();
    const std::u16string safe = XmlSafeText(value);
    if (!document ||
        FAILED(document->writer->WriteAttributeString(
            nullptr, Wide(name).c_str(), nullptr, Wide(WriterEscapesAttributes() ? safe : Escaped(safe)).c_str())))
        return Fail();
    return true;
}

bool XmlLiteWriter::WriteFullEndElement() {
    Document* document = Current();
    if (!document || document->depth == 0 || FAILED(document->writer->WriteFullEndElement())) return Fail();
    document->rootClosed = --document->depth == 0;
    return true;
}

bool XmlLiteWriter::WriteWhitespace(std::u16string_view whitespace) {
    Document* document = Current();
    if (!document) return Fail();
    if (!document->rootClosed) {
        if (FAILED(document->writer->WriteWhitespace(Wide(whitespace).c_str()))) return Fail();
        return true;
    }
    for (const char16_t c : whitespace) {
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n') return Fail();
    }
    document->trailing += Utf8FromUtf16(whitespace);
    return true;
}

bool XmlLiteWriter::EndDocument(std::string& document) {
    const std::unique_ptr<Document> current = std::move(document_);
    const bool failed = std::exchange(failed_, false);
    std::string bytes;
    if (failed || !current || (current->depth == 0 && !current->rootClosed) ||
        FAILED(current->writer->WriteEndDocument()) || FAILED(current->writer->Flush()) ||
        !StreamBytes(*current->stream.Get(), bytes))
        return false;
    document = bytes + current->trailing;
    return true;
}

}  // namespace lv
