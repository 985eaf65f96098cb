#include "monitors/edid.h"

#include <array>
#include <cstddef>

namespace lv {
namespace {

constexpr std::size_t kBlockSize = 128;
constexpr std::array<std::size_t, 4> kDescriptorOffsets = {54, 72, 90, 108};
constexpr std::size_t kDescriptorTextOffset = 5;
constexpr std::size_t kDescriptorTextSize = 13;
constexpr uint8_t kAlphanumericDataTag = 0xFE;
constexpr std::size_t kMinimumText = 6;
constexpr std::size_t kMaximumText = 15;

// A display descriptor, not a detailed timing: zero pixel clock (bytes 0-1), reserved
// bytes 2 and 4 zero, and the tag in byte 3.
bool IsAlphanumericData(std::span<const uint8_t> descriptor) {
    return descriptor[0] == 0 && descriptor[1] == 0 && descriptor[2] == 0 && descriptor[3] == kAlphanumericDataTag &&
           descriptor[4] == 0;
}

std::string DescriptorText(std::span<const uint8_t> descriptor) {
    std::string text;
    for (uint8_t byte : descriptor.subspan(kDescriptorTextOffset, kDescriptorTextSize)) {
        if (byte == '\n' || byte == '\r' || byte == 0) break;
        text += byte == ' ' ? '-' : static_cast<char>(byte);
    }
    return text;
}

}  // namespace

std::string EdidModelText(std::span<const uint8_t> block) {
    std::string model;
    if (block.size() != kBlockSize) return model;
    for (std::size_t offset : kDescriptorOffsets) {
        const std::span<const uint8_t> descriptor = block.subspan(offset, 18);
        if (!IsAlphanumericData(descriptor)) continue;
        std::string text = DescriptorText(descriptor);
        if (text.size() >= kMinimumText) model = text.substr(0, kMaximumText);
    }
    return model;
}

}  // namespace lv
