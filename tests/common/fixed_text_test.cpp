#include "common/fixed_text.h"

#include <string>

#include <gtest/gtest.h>

namespace lv {
namespace {

TEST(FixedText, AssignCutsAtCapacityAndKeepsTheTerminator) {
    FixedText<6> code;  // five characters and the terminator
    code = "ABCD1234";
    EXPECT_EQ(code.View(), "ABCD1");
    EXPECT_EQ(code.Size(), 5u);
    EXPECT_EQ(code.CStr()[5], '\0');

    code = "xy";  // a shorter text leaves nothing of the longer one behind
    EXPECT_EQ(code.View(), "xy");
    EXPECT_EQ(code.CStr()[3], '\0');
}

TEST(FixedText, EmbeddedTerminatorEndsTheText) {
    FixedText<32> name;
    name = std::string_view("DELL\0junk", 9);
    EXPECT_EQ(name.View(), "DELL");
}

TEST(FixedText, AssignIfFitsLeavesTheFieldAloneWhenTooLong) {
    FixedText<4> field("abc");
    EXPECT_FALSE(field.AssignIfFits("abcd"));
    EXPECT_EQ(field.View(), "abc");
    EXPECT_TRUE(field.AssignIfFits("xyz"));
    EXPECT_EQ(field.View(), "xyz");
    EXPECT_TRUE(field.AssignIfFits(""));
    EXPECT_TRUE(field.Empty());
}

}  // namespace
}  // namespace lv
