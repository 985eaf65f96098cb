// The settings reader over expat, for the host build and the fuzz targets.
#pragma once

#include <string_view>

#include "platform/xml_api.h"

namespace lv {

// Takes UTF-8, UTF-16 with its byte order mark, and the encodings expat knows by their
// declared name (ISO-8859-1, US-ASCII). Names are given without their prefix, as
// XmlLite's local names. A document type declaration ends the reading where it stands,
// before any entity in it is declared; external entities are never fetched.
class ExpatXmlReader final : public XmlReader {
public:
    bool ReadFirstAttributes(std::string_view document, const ElementHandler& onElement) override;
};

}  // namespace lv
