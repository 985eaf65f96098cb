// Conversion between the system's ANSI code page and UTF-16 at platform boundaries.
#pragma once

#include <string>
#include <string_view>

namespace lv {

class TextCodec {
public:
    virtual ~TextCodec() = default;
    virtual std::string WideToAnsi(std::u16string_view text) = 0;
    virtual std::u16string AnsiToWide(std::string_view text) = 0;
};

}  // namespace lv
