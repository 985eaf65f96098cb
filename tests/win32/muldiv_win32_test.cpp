// lv::MulDiv is the portable stand-in for the system's MulDiv; here both run side by
// side on the system that defines the expected answers.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <sstream>

#include "common/muldiv.h"

namespace {

struct Triple {
    int32_t number;
    int32_t numerator;
    int32_t denominator;
};

std::string Describe(const Triple& t) {
    std::ostringstream out;
    out << "MulDiv(" << t.number << ", " << t.numerator << ", " << t.denominator << ")";
    return out.str();
}

// Wine negates the number and the denominator to make the denominator positive, which
// overflows for INT_MIN: MulDiv(INT_MIN, 1, -2) answers -1073741824 instead of
// 1073741824, and a denominator of INT_MIN stays negative and rounds the wrong way
// (MulDiv(INT_MIN, -1, INT_MIN) answers 0 instead of -1). Windows documents the
// rounded true quotient, which is what lv::MulDiv computes, so these inputs are not
// compared.
bool WineNegationOverflows(const Triple& t) {
    return t.denominator == INT_MIN || (t.denominator < 0 && t.number == INT_MIN);
}

TEST(MulDivAgainstWindows, AwkwardCasesAgree) {
    const Triple cases[] = {
        // Halves round away from zero, in every sign combination.
        {1, 1, 2}, {3, 1, 2}, {-1, 1, 2}, {1, -1, 2}, {1, 1, -2}, {-1, -1, 2}, {-1, 1, -2}, {-3, 1, 2},
        {5, 1, 10}, {15, 1, 10}, {-15, 1, 10}, {255, 50, 100}, {255, 1, 2}, {7, 3, 6},
        // Just below and above a half.
        {1, 1, 3}, {2, 1, 3}, {-2, 1, 3}, {49, 1, 100}, {51, 1, 100}, {-51, 1, 100},
        // Typical scaling of monitor ranges and percentages.
        {50, 255, 100}, {100, 65535, 100}, {37, 100, 255}, {0, 100, 255}, {255, 100, 255}, {96, 120, 96},
        // Zero anywhere but the denominator.
        {0, 0, 1}, {0, 5, -7}, {5, 0, -7}, {0, INT_MIN, 3},
        // Division by zero.
        {0, 0, 0}, {1, 1, 0}, {INT_MAX, INT_MAX, 0}, {-5, 7, 0},
        // Extremes that still fit.
        {INT_MAX, 1, 1}, {INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, 1, 2}, {INT_MIN, 2, 4}, {INT_MAX, -1, 1},
        {INT_MAX, 2, 2}, {INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, -1, 2}, {INT_MIN, 1, 3}, {-INT_MAX, 1, 1},
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
        ASSERT_FALSE(WineNegationOverflows(t)) << Describe(t) << " is in the excluded set";
        EXPECT_EQ(lv::MulDiv(t.number, t.numerator, t.denominator), ::MulDiv(t.number, t.numerator, t.denominator))
            << Describe(t);
    }
}

// splitmix64: deterministic, so a failure names a triple that reproduces.
class Generator {
public:
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int32_t Full() { return static_cast<int32_t>(static_cast<uint32_t>(Next())); }
    int32_t Range(int32_t low, int32_t high) {
        const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(high) - low + 1);
        return static_cast<int32_t>(low + static_cast<int64_t>(Next() % span));
    }
    // A value of one of the shapes the program passes or that stress the edges.
    int32_t Mixed() {
        switch (Next() % 6) {
            case 0: return Range(0, 255);
            case 1: return Range(-255, 255);
            case 2: return Range(0, 65535);
            case 3: return Range(INT_MAX - 2, INT_MAX);
            case 4: return Range(INT_MIN + 1, INT_MIN + 3);
            default: return Full();
        }
    }

private:
    uint64_t state_ = 0x4C756D6976616E65ull;
};

TEST(MulDivAgainstWindows, PseudoRandomSweepAgrees) {
    Generator generator;
    constexpr int kTriples = 300000;
    int compared = 0;
    int mismatches = 0;
    for (int i = 0; i < kTriples; ++i) {
        Triple t{};
        if (i % 3 == 0) {
            // Small ranges, where the rounding matters most.
            t = {generator.Range(0, 255), generator.Range(0, 255), generator.Range(0, 255)};
        } else if (i % 3 == 1) {
            t = {generator.Full(), generator.Full(), generator.Full()};
        } else {
            t = {generator.Mixed(), generator.Mixed(), generator.Mixed()};
        }
        if (WineNegationOverflows(t)) continue;
        ++compared;
        const int32_t expected = ::MulDiv(t.number, t.numerator, t.denominator);
        const int32_t actual = lv::MulDiv(t.number, t.numerator, t.denominator);
        if (expected != actual && ++mismatches <= 10)
            ADD_FAILURE() << Describe(t) << ": system " << expected << ", lv " << actual;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(compared, kTriples * 9 / 10);
}

}  // namespace
