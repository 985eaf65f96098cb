#include "common/muldiv.h"

#include <climits>

#include <gtest/gtest.h>

namespace lv {
namespace {

TEST(MulDiv, RoundsHalfAwayFromZeroAndAnswersMinusOneWhenItCannot) {
    const int32_t cases[][4] = {
        {37, 60, 100, 22}, {50, 3, 100, 2},  {2, 100, 3, 67}, {1, 1, 2, 1},     {-1, 1, 2, -1},
        {5, 1, -2, -3},    {-1, 1, 4, 0},    {10, 10, 0, -1}, {INT_MAX, 2, 1, -1},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, 1, 1, -1}, {-INT_MAX, 1, 1, -INT_MAX},
    };
    for (const auto& c : cases) EXPECT_EQ(MulDiv(c[0], c[1], c[2]), c[3]) << c[0] << " * " << c[1] << " / " << c[2];
}

}  // namespace
}  // namespace lv
