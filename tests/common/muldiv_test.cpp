#include "common/muldiv.h"

#include <climits>

#include <gtest/gtest.h>

namespace lv {
namespace {

struct MulDivCase {
    int32_t number, numerator, denominator, expected;
};

class MulDivTest : public testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, RoundsLikeWindows) {
    const MulDivCase& c = GetParam();
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
        << c.number << " * " << c.numerator << " / " << c.denominator;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MulDivTest,
    testing::Values(
        // The conversions the monitor values rely on.
        MulDivCase{37, 60, 100, 22},     // 22.2 -> 22: brightness 37 on raw 20..80 is 42
        MulDivCase{50, 3, 100, 2},       // 1.5 rounds away from zero
        MulDivCase{2, 100, 3, 67},       // 66.67
        MulDivCase{1, 100, 3, 33},       // 33.33
        MulDivCase{128, 100, 255, 50},   // 50.196
        MulDivCase{1, 1, 2, 1},          // 0.5 -> 1
        MulDivCase{-1, 1, 2, -1},        // -0.5 -> -1
        MulDivCase{1, -1, 2, -1},
        MulDivCase{-1, -1, 2, 1},
        MulDivCase{5, 1, -2, -3},        // -2.5 -> -3
        MulDivCase{3, 1, 4, 1},          // 0.75
        MulDivCase{1, 1, 4, 0},          // 0.25
        MulDivCase{-1, 1, 4, 0},         // -0.25 truncates towards zero
        MulDivCase{0, 100, 7, 0},
        // Division by zero and results that do not fit.
        MulDivCase{10, 10, 0, -1},
        MulDivCase{INT_MAX, 2, 1, -1},
        MulDivCase{INT_MIN, 2, 1, -1},
        MulDivCase{INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        MulDivCase{INT_MIN, 1, 1, -1},  // the range is symmetric
        MulDivCase{-INT_MAX, 1, 1, -INT_MAX},
        MulDivCase{INT_MIN, -1, 1, -1},  // +2^31 does not fit
        MulDivCase{INT_MAX, INT_MAX, 1, -1}));

}  // namespace
}  // namespace lv
