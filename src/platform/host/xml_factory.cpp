#include "platform/host/expat_reader.h"
#include "platform/portable/xml_writer.h"

namespace lv {

std::unique_ptr<XmlReader> MakeXmlReader() { return std::make_unique<ExpatXmlReader>(); }
std::unique_ptr<XmlWriter> MakeXmlWriter() { return std::make_unique<SimpleXmlWriter>(); }

}  // namespace lv
