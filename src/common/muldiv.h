#pragma once

#include <cstdint>

namespace lv {

// number * numerator / denominator with a 64-bit intermediate, rounded to the nearest
// integer with halves away from zero, exactly as the Windows function of the same name;
// -1 when the denominator is 0 or the result lies outside -(2^31 - 1)..2^31 - 1.
int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator);

}  // namespace lv
