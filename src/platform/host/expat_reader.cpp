#include "platform/host/expat_reader.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "platform/portable/utf8.h"

namespace lv {

namespace {

struct ParserDeleter {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

struct Reading {
    XML_Parser parser;
    const XmlReader::ElementHandler& onElement;
    bool stopped = false;
};

// XmlLite reports local names: "p:key" is "key". What has no name after the colon
// (XmlLite refuses it) keeps its whole name.
std::u16string LocalName(const char* name) {
    const char* colon = std::strrchr(name, ':');
    return Utf16FromUtf8(colon && colon != name && colon[1] ? colon + 1 : name);
}

void Stop(Reading& reading) {
    reading.stopped = true;
    XML_StopParser(reading.parser, XML_FALSE);
}

void XMLCALL OnStartElement(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& reading = *static_cast<Reading*>(data);
    if (reading.stopped) return;
    // Nothing may unwind through expat's C frames.
    try {
        if (attributes[0]) {
            reading.onElement(LocalName(attributes[0]), Utf16FromUtf8(attributes[1]));
        } else {
            reading.onElement(LocalName(name), u"");
        }
    } catch (...) {
        Stop(reading);
    }
}

void XMLCALL OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    Stop(*static_cast<Reading*>(data));
}

// Unreachable while the document type is refused at its start; kept so that no change
// there can let an entity through.
void XMLCALL OnEntityDeclaration(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                 const XML_Char*, const XML_Char*, const XML_Char*) {
    Stop(*static_cast<Reading*>(data));
}

}  // namespace

bool ExpatXmlReader::ReadFirstAttributes(std::string_view document, const ElementHandler& onElement) {
    const std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreate(nullptr));
    if (!parser) return false;
    Reading reading{parser.get(), onElement};
    XML_SetUserData(parser.get(), &reading);
    XML_SetStartElementHandler(parser.get(), OnStartElement);
    XML_SetStartDoctypeDeclHandler(parser.get(), OnDoctype);
    XML_SetEntityDeclHandler(parser.get(), OnEntityDeclaration);
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);

    // XML_Parse takes an int length; larger documents go in pieces.
    do {
        const std::size_t piece = std::min<std::size_t>(document.size(), INT_MAX);
        const bool last = piece == document.size();
        if (XML_Parse(parser.get(), document.data(), static_cast<int>(piece), last ? XML_TRUE : XML_FALSE) !=
            XML_STATUS_OK)
            return false;
        document.remove_prefix(piece);
    } while (!document.empty());
    return !reading.stopped;
}

}  // namespace lv
