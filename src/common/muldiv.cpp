#include "common/muldiv.h"

#include <cstdlib>
#include <limits>

namespace lv {

int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator) {
    if (denominator == 0) return -1;
    const int64_t product = static_cast<int64_t>(number) * numerator;
    // |product| < 2^62 and |denominator| >= 1, so the doubled values below cannot overflow.
    const bool negative = (product < 0) != (denominator < 0);
    const uint64_t absProduct = product < 0 ? static_cast<uint64_t>(-product) : static_cast<uint64_t>(product);
    const uint64_t absDenominator =
        denominator < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(denominator)) : static_cast<uint64_t>(denominator);
    const uint64_t rounded = (absProduct + absDenominator / 2) / absDenominator;
    // The bound is symmetric: -2^31 counts as an overflow too.
    if (rounded > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return -1;
    const int64_t result = negative ? -static_cast<int64_t>(rounded) : static_cast<int64_t>(rounded);
    return static_cast<int32_t>(result);
}

}  // namespace lv
