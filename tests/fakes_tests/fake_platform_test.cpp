#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_audio.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_popup_view.h"
#include "fakes/fake_text_codec.h"
#include "fakes/fake_window.h"

namespace lv::fake {
namespace {

TEST(FakeClock, SleepRecordsPausesWhileAdvanceOnlyMovesTime) {
    FakeClock clock(1000);
    clock.Sleep(100);
    clock.Advance(7);
    clock.Sleep(50);
    clock.AdvanceTo(10);  // never backwards
    EXPECT_EQ(clock.TickCount(), 1157u);
    EXPECT_EQ(clock.Pauses(), (std::vector<uint32_t>{100, 50}));
    EXPECT_EQ(clock.TotalPaused(), 150u);
}

class FakeWindowTest : public ::testing::Test {
protected:
    // Records what the loop dispatched, with the virtual time of each.
    std::size_t Run(uint64_t until) {
        return window_.RunUntil(
            until,
            [&](uint32_t id, intptr_t lparam) {
                events_.push_back("t=" + std::to_string(clock_.Now()) + " cmd " + std::to_string(id) + " " +
                                  std::to_string(lparam));
                if (onCommand_) onCommand_(id);
            },
            [&](uint32_t id) {
                events_.push_back("t=" + std::to_string(clock_.Now()) + " timer " + std::to_string(id));
                if (onTimer_) onTimer_(id);
            });
    }

    FakeClock clock_;
    FakeWindowApi window_{clock_};
    std::vector<std::string> events_;
    std::function<void(uint32_t)> onCommand_;
    std::function<void(uint32_t)> onTimer_;
};

TEST_F(FakeWindowTest, CommandsRunBeforeTimersAndTimersRepeat) {
    window_.SetTimer(1, 200);
    window_.SetTimer(2, 500);
    window_.PostCommand(40072, 3);
    onTimer_ = [&](uint32_t id) {
        if (id == 2) window_.PostCommand(40074, 1);
    };
    EXPECT_EQ(Run(600), 6u);
    const std::vector<std::string> expected = {"t=0 cmd 40072 3",  "t=200 timer 1",   "t=400 timer 1",
                                               "t=500 timer 2",    "t=500 cmd 40074 1", "t=600 timer 1"};
    EXPECT_EQ(events_, expected);
    EXPECT_EQ(clock_.Now(), 600u);
    EXPECT_TRUE(window_.Commands().empty());
}

TEST_F(FakeWindowTest, KillResetAndLateTimers) {
    window_.SetTimer(7, 100);
    int ticks = 0;
    onTimer_ = [&](uint32_t id) {
        if (id != 7) return;
        if (++ticks == 1) {
            clock_.Sleep(350);  // a slow handler: the timer fires once afterwards, not three times
        } else {
            window_.KillTimer(7);
            window_.SetTimer(8, 1000);
        }
    };
    Run(2000);
    EXPECT_EQ(events_, (std::vector<std::string>{"t=100 timer 7", "t=450 timer 7", "t=1450 timer 8"}));
    EXPECT_FALSE(window_.HasTimer(7));
    EXPECT_EQ(window_.TimerPeriod(8), 1000u);
    EXPECT_FALSE(window_.KillTimer(7));
    EXPECT_EQ(window_.TimerCalls().back(), (TimerCall{false, 7, 0}));
    EXPECT_EQ(clock_.Now(), 2000u);

    window_.SetTimer(8, 300);  // setting again restarts with the new period
    Run(2299);
    EXPECT_EQ(events_.size(), 3u);
    Run(2300);
    EXPECT_EQ(events_.back(), "t=2300 timer 8");
}

TEST_F(FakeWindowTest, CopyDataRunsTheHandlerAtOnce) {
    const std::string line = "b 20";
    EXPECT_FALSE(window_.SendCopyData(0, line));  // no window to receive it
    std::vector<std::pair<uint32_t, std::string>> received;
    window_.SetCopyDataHandler([&](uint32_t source, std::span<const char> data) {
        received.emplace_back(source, std::string(data.begin(), data.end()));
    });
    EXPECT_TRUE(window_.SendCopyData(1, line));
    EXPECT_EQ(received, (std::vector<std::pair<uint32_t, std::string>>{{1, "b 20"}}));
    EXPECT_EQ(window_.CopyDataSent().size(), 2u);
    window_.PostThreadAnswer(5000, 37);
    window_.SendAppCommand(kAppCommandVolumeUp);
    EXPECT_EQ(window_.ThreadAnswers(), (std::vector<ThreadAnswer>{{5000, 37}}));
    EXPECT_EQ(window_.AppCommands(), (std::vector<int>{kAppCommandVolumeUp}));
}

TEST(FakeTextCodec, ConvertsCodePage1252) {
    FakeTextCodec codec;
    struct Case {
        std::string ansi;
        std::u16string wide;
    };
    const Case cases[] = {
        {"Helligkeit", u"Helligkeit"},
        {"\xE4\xF6\xFC\xDF", u"äöüß"},
        {"\x80 \x85 \x99 \x9F", u"€ … ™ Ÿ"},
        {"\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"},  // undefined in 1252: kept as C1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(codec.AnsiToWide(c.ansi), c.wide);
        EXPECT_EQ(codec.WideToAnsi(c.wide), c.ansi);
    }
    EXPECT_EQ(codec.WideToAnsi(u"\u4E2D\u0080\u0100x\U0001F600\xD800"), "???x??");
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    EXPECT_EQ(codec.WideToAnsi(codec.AnsiToWide(all)), all);
}

TEST(FakeAudioApi, RecordsSetsAndFailsWithoutDevice) {
    FakeAudioApi audio;
    EXPECT_TRUE(audio.SetMasterVolumeLevelScalar(0.25f));
    EXPECT_FALSE(audio.SetMasterVolumeLevelScalar(1.5f));
    EXPECT_TRUE(audio.SetMute(true));
    uint32_t step = 0, steps = 0;
    ASSERT_TRUE(audio.GetVolumeStepInfo(step, steps));
    EXPECT_EQ(step, 25u);
    EXPECT_EQ(steps, 101u);
    audio.SetAvailable(false);
    float level = 0;
    EXPECT_FALSE(audio.GetMasterVolumeLevelScalar(level));
    EXPECT_FALSE(audio.SetMute(false));
    EXPECT_TRUE(audio.Muted());
    EXPECT_EQ(audio.Level(), 0.25f);
    EXPECT_EQ(audio.Sets().at(1), (AudioSet{AudioSet::Kind::Level, 1.5f, false, false}));
    EXPECT_EQ(audio.Sets().at(3), (AudioSet{AudioSet::Kind::Mute, 0.0f, false, false}));
}

TEST(FakePopupView, DropsCellsOutsideTheRowsAndAnswersQuestionsFromTheScriptThenNo) {
    FakePopupView view;
    view.SetListRowCount(2);
    view.SetListCell(1, 5, "x");
    view.SetListCell(2, 0, "dropped");
    view.SetListCell(0, 6, "dropped");
    EXPECT_EQ(view.Cell(1, 5), "x");
    EXPECT_EQ(view.BadCellWrites(), 2u);
    view.SetListRowCount(1);
    view.SetListRowCount(2);
    EXPECT_EQ(view.Cell(1, 5), "");  // a removed row comes back empty

    view.ScriptAnswers({true});
    EXPECT_TRUE(view.AskYesNo("Lumivane", "Exit?"));
    EXPECT_FALSE(view.AskYesNo("Lumivane", "Reset?"));
    EXPECT_EQ(view.Questions(), (std::vector<YesNoQuestion>{{"Lumivane", "Exit?"}, {"Lumivane", "Reset?"}}));
}

}  // namespace
}  // namespace lv::fake
