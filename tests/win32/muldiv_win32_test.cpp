// lv::MulDiv is the portable stand-in for the system's MulDiv; here both run side by
// side on the system that defines the expected answers.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "common/muldiv.h"

namespace {

struct Triple {
    int32_t number;
    int32_t numerator;
    int32_t denominator;
};

// Wine negates the number and the denominator to make the denominator positive, which
// overflows for INT_MIN: MulDiv(INT_MIN, 1, -2) answers -1073741824 instead of
// 1073741824, and a denominator of INT_MIN stays negative and rounds the wrong way
// (MulDiv(INT_MIN, -1, INT_MIN) answers 0 instead of -1). Windows documents the
// rounded true quotient, which is what lv::MulDiv computes, so the table below holds
// no denominator of INT_MIN and no INT_MIN over a negative denominator.

TEST(MulDivAgainstWindows, AwkwardCasesAgree) {
    const Triple cases[] = {
        // Halves round away from zero, in every sign combination.
        {1, 1, 2}, {3, 1, 2}, {-1, 1, 2}, {1, -1, 2}, {1, 1, -2}, {-1, -1, 2}, {-1, 1, -2}, {-15, 1, 10},
        // Just below and above a half.
        {1, 1, 3}, {2, 1, 3}, {-2, 1, 3}, {49, 1, 100}, {-51, 1, 100},
        // Typical scaling of monitor ranges and percentages.
        {50, 255, 100}, {100, 65535, 100}, {37, 100, 255}, {96, 120, 96},
        // Zero anywhere but the denominator.
        {0, 0, 1}, {0, 5, -7}, {5, 0, -7}, {0, INT_MIN, 3},
        // Division by zero.
        {0, 0, 0}, {1, 1, 0}, {INT_MAX, INT_MAX, 0}, {-5, 7, 0},
        // Extremes that still fit.
        {INT_MAX, 1, 1}, {INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, 1, 2}, {INT_MAX, -1, 1},
        {INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, -1, 2}, {INT_MIN, 1, 3}, {-INT_MAX, 1, 1},
        // Negative denominators.
        {7, 3, -2}, {-7, 3, -2}, {7, -3, -2}, {INT_MAX, 1, -1}, {INT_MAX, INT_MAX, -INT_MAX}, {1, 1, -3},
        // Results of exactly INT_MIN and just beyond either end count as overflow.
        {INT_MIN, 1, 1}, {INT_MIN, -1, 1}, {INT_MAX, 2, 1}, {INT_MAX, -2, 1}, {INT_MIN, INT_MIN, 1},
        {INT_MAX, INT_MAX, 1}, {65536, 65536, 1}, {65536, -65536, 2}, {46341, 46341, 1},
        // Rounding that carries the result over the edge.
        {INT_MAX, 2, 3}, {1073741824, 3, 2}, {-1073741824, 3, 2},
        // -1 as a genuine result is indistinguishable from the error, in both.
        {-1, 1, 1}, {1, -1, 1}, {-3, 1, 2},
    };
    for (const Triple& t : cases) {
        EXPECT_EQ(lv::MulDiv(t.number, t.numerator, t.denominator), ::MulDiv(t.number, t.numerator, t.denominator))
            << "MulDiv(" << t.number << ", " << t.numerator << ", " << t.denominator << ")";
    }
}

}  // namespace
