#include "common/fixed_text.h"

#include <string>

#include <gtest/gtest.h>

namespace lv {
namespace {

TEST(FixedText, CutsAtCapacityStopsAtATerminatorAndAssignIfFitsRefusesTooLong) {
    FixedText<6> code;  // five characters and the terminator
    code = "ABCD1234";
    EXPECT_EQ(code.View(), "ABCD1");
    EXPECT_EQ(code.CStr()[5], '\0');
    code = "xy";  // a shorter text leaves nothing of the longer one behind
    EXPECT_EQ(code.CStr()[3], '\0');
    code = std::string_view("DE\0junk", 7);
    EXPECT_EQ(code.View(), "DE");

    FixedText<4> field("abc");
    EXPECT_FALSE(field.AssignIfFits("abcd"));
    EXPECT_EQ(field.View(), "abc");
    EXPECT_TRUE(field.AssignIfFits(""));
    EXPECT_TRUE(field.Empty());
}

}  // namespace
}  // namespace lv
