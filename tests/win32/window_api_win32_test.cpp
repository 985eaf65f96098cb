#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/win32/win32_platform.h"
#include "test_window.h"

namespace {

using lv::test::RecordingWindow;

// Removes and returns the next message of `filter` (a window, or (HWND)-1 for thread
// messages); the messages are already queued, so nothing waits.
std::optional<MSG> TakeMessage(HWND filter, UINT message) {
    MSG msg{};
    if (!::PeekMessageW(&msg, filter, message, message, PM_REMOVE)) return std::nullopt;
    return msg;
}

HWND ThreadMessages() { return reinterpret_cast<HWND>(static_cast<intptr_t>(-1)); }

class Win32WindowApiTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(window.Get(), nullptr); }
    void TearDown() override {
        // Leave no stray messages for the next test.
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    RecordingWindow window;
};

TEST_F(Win32WindowApiTest, PostCommandQueuesWmCommandWithIdAndLparam) {
    lv::Win32WindowApi api(window.Get());
    struct Case {
        uint32_t id;
        intptr_t lparam;
    };
    const Case cases[] = {{40001, 0}, {1038, 17}, {0xFFFF, -1}, {1, static_cast<intptr_t>(0x123456789ABCll)}};
    for (const Case& c : cases) ASSERT_TRUE(api.PostCommand(c.id, c.lparam));
    for (const Case& c : cases) {
        const auto msg = TakeMessage(window.Get(), WM_COMMAND);
        ASSERT_TRUE(msg.has_value()) << c.id;
        EXPECT_EQ(msg->wParam, c.id);
        EXPECT_EQ(msg->lParam, c.lparam);
    }
    EXPECT_FALSE(TakeMessage(window.Get(), WM_COMMAND).has_value());
}

TEST_F(Win32WindowApiTest, SendCopyDataHandsOverSourceBytesAndSender) {
    lv::Win32WindowApi api(window.Get());
    const std::string text("b 50\0tail", 9);  // the whole span travels, terminators included
    ASSERT_TRUE(api.SendCopyData(2, text));
    ASSERT_EQ(window.copyData.size(), 1u);
    EXPECT_EQ(window.copyData[0].sender, window.Get());
    EXPECT_EQ(window.copyData[0].source, 2u);
    EXPECT_EQ(window.copyData[0].data, text);

    ASSERT_TRUE(api.SendCopyData(0, std::span<const char>()));
    ASSERT_EQ(window.copyData.size(), 2u);
    EXPECT_EQ(window.copyData[1].data, "");
}

TEST_F(Win32WindowApiTest, SendCopyDataReportsTheReceiversAnswer) {
    lv::Win32WindowApi api(window.Get());
    window.copyDataAnswer = FALSE;
    EXPECT_FALSE(api.SendCopyData(1, std::string_view("x")));
    EXPECT_EQ(window.copyData.size(), 1u);
}

TEST_F(Win32WindowApiTest, SendCopyDataGoesToTheSeparateTargetWhenOneIsSet) {
    RecordingWindow running;
    ASSERT_NE(running.Get(), nullptr);
    lv::Win32WindowApi api(window.Get());
    api.SetCopyDataTarget(running.Get());
    ASSERT_TRUE(api.SendCopyData(7, std::string_view("d 1")));
    EXPECT_TRUE(window.copyData.empty());
    ASSERT_EQ(running.copyData.size(), 1u);
    EXPECT_EQ(running.copyData[0].sender, window.Get());
    EXPECT_EQ(running.copyData[0].source, 7u);
    EXPECT_EQ(running.copyData[0].data, "d 1");

    // A forwarding start without a window of its own still reaches the target.
    lv::Win32WindowApi forwarding;
    forwarding.SetCopyDataTarget(running.Get());
    ASSERT_TRUE(forwarding.SendCopyData(3, std::string_view("q")));
    ASSERT_EQ(running.copyData.size(), 2u);
    EXPECT_EQ(running.copyData[1].sender, nullptr);
}

TEST_F(Win32WindowApiTest, PostThreadAnswerQueuesAThreadMessage) {
    lv::Win32WindowApi api;  // the answer needs no window
    ASSERT_TRUE(api.PostThreadAnswer(::GetCurrentThreadId(), 42));
    EXPECT_FALSE(TakeMessage(window.Get(), WM_COMMAND).has_value());
    const auto msg = TakeMessage(ThreadMessages(), WM_COMMAND);
    ASSERT_TRUE(msg.has_value());
    EXPECT_EQ(msg->hwnd, nullptr);
    EXPECT_EQ(msg->wParam, 42u);
    EXPECT_EQ(msg->lParam, 0);
}

TEST_F(Win32WindowApiTest, AppCommandCarriesTheCommandInTheHighWord) {
    lv::Win32WindowApi api(window.Get());
    api.SendAppCommand(lv::kAppCommandVolumeUp);
    api.SendAppCommand(lv::kAppCommandVolumeDown);
    ASSERT_EQ(window.appCommands.size(), 2u);
    EXPECT_EQ(window.appCommands[0].wparam, reinterpret_cast<WPARAM>(window.Get()));
    EXPECT_EQ(window.appCommands[0].lparam, 0xA0000);
    EXPECT_EQ(GET_APPCOMMAND_LPARAM(window.appCommands[0].lparam), APPCOMMAND_VOLUME_UP);
    EXPECT_EQ(window.appCommands[1].lparam, 0x90000);
    EXPECT_EQ(GET_APPCOMMAND_LPARAM(window.appCommands[1].lparam), APPCOMMAND_VOLUME_DOWN);
}

TEST_F(Win32WindowApiTest, TimersBelongToTheWindow) {
    lv::Win32WindowApi api(window.Get());
    ASSERT_TRUE(api.SetTimer(5, 60000));
    EXPECT_TRUE(::KillTimer(window.Get(), 5));  // proves the window and the id

    ASSERT_NE(::SetTimer(window.Get(), 6, 60000, nullptr), 0u);
    EXPECT_TRUE(api.KillTimer(6));
    EXPECT_FALSE(::KillTimer(window.Get(), 6));
    EXPECT_FALSE(api.KillTimer(6));
}

TEST_F(Win32WindowApiTest, WithoutAWindowNothingIsSent) {
    lv::Win32WindowApi api;
    EXPECT_FALSE(api.PostCommand(40001, 0));
    EXPECT_FALSE(api.SetTimer(1, 1000));
    EXPECT_FALSE(api.KillTimer(1));
    EXPECT_FALSE(api.SendCopyData(1, std::string_view("x")));
    api.SendAppCommand(lv::kAppCommandVolumeUp);
    // A null window would have turned these into thread messages.
    EXPECT_FALSE(TakeMessage(ThreadMessages(), WM_COMMAND).has_value());
    EXPECT_FALSE(TakeMessage(ThreadMessages(), WM_TIMER).has_value());
}

TEST_F(Win32WindowApiTest, SetWindowRedirectsLaterCalls) {
    RecordingWindow other;
    ASSERT_NE(other.Get(), nullptr);
    lv::Win32WindowApi api(window.Get());
    api.SetWindow(other.Get());
    ASSERT_TRUE(api.PostCommand(1, 2));
    EXPECT_FALSE(TakeMessage(window.Get(), WM_COMMAND).has_value());
    EXPECT_TRUE(TakeMessage(other.Get(), WM_COMMAND).has_value());
}

}  // namespace
