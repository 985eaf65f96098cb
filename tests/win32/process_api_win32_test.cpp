// The process seam as start-up and the restart use it: the successor's marker in the
// environment, and whether another instance's window took a forwarded line.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "win32/win32_test_support.h"

namespace lv {
namespace {

constexpr char kVariable[] = "LUMIVANE_PROCESS_TEST";

TEST(Win32Process, EnvironmentVariablesAreSetReadAndRemoved) {
    Win32ProcessApi process;
    std::string value;
    // Longer than the first buffer the read tries.
    for (const std::string& text : {std::string("hidden"), std::string(300, 'x'), std::string()}) {
        ASSERT_TRUE(process.SetEnvironment(kVariable, text));
        EXPECT_TRUE(process.GetEnvironment(kVariable, value));
        EXPECT_EQ(value, text);
    }
    ASSERT_TRUE(process.SetEnvironment(kVariable, std::nullopt));
    EXPECT_FALSE(process.GetEnvironment(kVariable, value));
}

LRESULT copyDataAnswer = 0;

LRESULT CALLBACK AnsweringProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) return copyDataAnswer;
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// A window that answers 0 did not take the line (an instance on its way out), and a
// window that is gone cannot: either way the forwarding start looks again.
TEST(Win32Process, ALineCountsAsHandedOverOnlyWhenTheWindowSaysSo) {
    win32::UniqueWindow window(test::MessageWindow("LumivaneTestCopyDataAnswer", AnsweringProc));
    ASSERT_TRUE(window);
    const auto handle = reinterpret_cast<WindowHandle>(window.Get());
    Win32ProcessApi process;
    const char record[] = "b 30";
    copyDataAnswer = TRUE;
    EXPECT_TRUE(process.SendCopyData(handle, 4242, record));
    copyDataAnswer = FALSE;
    EXPECT_FALSE(process.SendCopyData(handle, 4242, record));
    window.Reset();
    EXPECT_FALSE(process.SendCopyData(handle, 4242, record));
}

}  // namespace
}  // namespace lv
