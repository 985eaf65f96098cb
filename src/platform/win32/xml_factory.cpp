#include "platform/win32/win32_files.h"

namespace lv {

std::unique_ptr<XmlReader> MakeXmlReader() { return std::make_unique<XmlLiteReader>(); }
std::unique_ptr<XmlWriter> MakeXmlWriter() { return std::make_unique<XmlLiteWriter>(); }

}  // namespace lv
