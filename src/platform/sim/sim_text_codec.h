// Code page 1252 <-> UTF-16, the conversion a Western European Windows does at its API
// boundaries. No best-fit mapping: a character 1252 lacks becomes '?'.
#pragma once

#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace lv::sim {

class SimTextCodec : public lv::TextCodec {
public:
    std::string WideToAnsi(std::u16string_view text) override;
    std::u16string AnsiToWide(std::string_view text) override;
};

}  // namespace lv::sim
