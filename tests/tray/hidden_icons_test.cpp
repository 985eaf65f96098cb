#include "tray/hidden_icons.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "popup/popup_proc.h"
#include "tools/simulator.h"

namespace lv {
namespace {

constexpr char kTip[] = "Lumivane: brightness 70";
constexpr uint64_t kNever = ~uint64_t{0};

// From `at` on, the overflow area answers `answer`, with or without the program's icon.
struct OverflowChange {
    uint64_t at = 0;
    OverflowScan answer = OverflowScan::Scanned;
    bool iconHidden = false;
};

// The main window's loop in virtual time with only the check's timer started, as start-up
// starts it. The warning runs a loop of its own until a check lets timer 11 close it, or
// until the user presses OK after `userClosesAfter`.
class CheckRun {
public:
    explicit CheckRun(std::vector<OverflowChange> changes = {}) : changes_(std::move(changes)) {
        s.core.trayState.iconRecord.tip = kTip;
        s.tray.SetOverflow(OverflowScan::Scanned, {"Volume 40"});
        s.tray.SetDuringWarning([this] { RunWarning(); });
        (void)s.window.SetTimer(timer::kHiddenIcons, timer::kHiddenIconsMs);
    }

    void RunUntil(uint64_t time) {
        s.window.RunUntil(time, [](uint32_t, intptr_t) {}, [this](uint32_t id) { Tick(id); });
    }
    std::optional<uint32_t> CheckPeriod() const { return s.window.TimerPeriod(timer::kHiddenIcons); }

    sim::Simulator s{sim::Fleet{}};
    uint64_t userClosesAfter = 300000;
    std::vector<uint64_t> checks;  // when the overflow area was looked into
    std::vector<uint64_t> warnings;
    std::optional<uint64_t> closedAt;  // timer 11 closed the warning
    std::optional<uint32_t> watchPeriod;  // timer 11 while the warning was open
    uint64_t warningEnded = 0;
    uint64_t missesAtWarning = 0;

private:
    void Tick(uint32_t id) {
        for (; next_ < changes_.size() && changes_[next_].at <= s.clock.Now(); ++next_) {
            const OverflowChange& change = changes_[next_];
            s.tray.SetOverflow(change.answer, change.iconHidden ? std::vector<std::string>{"Volume 40", kTip}
                                                                : std::vector<std::string>{"Volume 40"});
        }
        const int scans = s.tray.Scans();
        const int closes = s.tray.WarningCloses();
        OnTimer(s.core, id);
        if (s.tray.Scans() > scans) checks.push_back(s.clock.Now());
        if (s.tray.WarningCloses() > closes) closedAt = s.clock.Now();
    }
    void RunWarning() {
        warnings.push_back(s.clock.Now());
        watchPeriod = s.window.TimerPeriod(timer::kHiddenWarning);
        missesAtWarning = s.core.trayState.hidden.hiddenCheckMisses;
        const uint64_t userCloses = s.clock.Now() + userClosesAfter;
        while (!closedAt && s.clock.Now() < userCloses) RunUntil(s.clock.Now() + 100);
        warningEnded = s.clock.Now();
    }

    std::vector<OverflowChange> changes_;
    std::size_t next_ = 0;
};

TEST(HiddenIconCheck, FindingNothingSlowsDownAfterSevenChecksAndStopsAfterEleven) {
    CheckRun run;
    run.RunUntil(600000);
    EXPECT_EQ(run.checks, (std::vector<uint64_t>{5000, 10000, 15000, 20000, 25000, 30000, 35000, 95000, 155000,
                                                 215000, 275000}));
    EXPECT_FALSE(run.CheckPeriod());
    EXPECT_TRUE(run.warnings.empty());
}

TEST(HiddenIconCheck, ChecksThatCannotLookAreNoMisses) {
    for (OverflowScan answer : {OverflowScan::NoToolbar, OverflowScan::Failed}) {
        SCOPED_TRACE(static_cast<int>(answer));
        // The toolbar can be read again after ten minutes; the count starts from there.
        CheckRun run({{0, answer}, {600001, OverflowScan::Scanned}});
        run.RunUntil(600000);
        EXPECT_EQ(run.checks.size(), 120u);  // every 5 s: none counted as a miss
        run.RunUntil(635000);
        EXPECT_EQ(run.checks.size(), 127u);
        EXPECT_EQ(run.CheckPeriod(), 60000u);
    }
}

// The icon is hidden from `hiddenFrom`; while the warning is open, the overflow area answers
// `later` from `changeAt` on.
struct WarningCase {
    const char* name;
    uint64_t hiddenFrom;
    uint64_t changeAt;
    OverflowChange later;
    uint64_t warnedAt;
    uint64_t closedFrom;  // timer 11 closes the warning in [closedFrom, closedFrom + 1 s]; kNever: the user does
};

const WarningCase kWarningCases[] = {
    {"hidden at start, never moved", 0, kNever, {}, 5000, kNever},
    {"moved onto the task bar", 0, 12000, {0, OverflowScan::Scanned, false}, 5000, 15000},
    {"hidden later, after the check slowed down", 40000, 100000, {0, OverflowScan::Scanned, false}, 95000, 155000},
    {"scan failing: nothing learnt", 0, 7000, {0, OverflowScan::Failed, false}, 5000, kNever},
};

TEST(HiddenIconWarning, ShowsOnceAndClosesOnlyWhenACheckFindsTheIconGone) {
    for (const WarningCase& c : kWarningCases) {
        SCOPED_TRACE(c.name);
        OverflowChange later = c.later;
        later.at = c.changeAt;
        CheckRun run({{c.hiddenFrom, OverflowScan::Scanned, true}, later});
        run.RunUntil(1800000);

        EXPECT_EQ(run.warnings, std::vector<uint64_t>{c.warnedAt});
        EXPECT_EQ(run.s.tray.WarningsRun(), std::vector<bool>{false});
        EXPECT_EQ(run.watchPeriod, 1000u);
        // The check goes on inside the warning's loop (closing needs it), only looking.
        EXPECT_EQ(run.s.core.trayState.hidden.hiddenCheckMisses, run.missesAtWarning);
        if (c.closedFrom == kNever) {
            EXPECT_FALSE(run.closedAt);
            EXPECT_EQ(run.s.tray.WarningCloses(), 0);
        } else {
            ASSERT_TRUE(run.closedAt);
            EXPECT_GE(*run.closedAt, c.closedFrom);
            EXPECT_LE(*run.closedAt, c.closedFrom + 1000);
            EXPECT_EQ(run.s.tray.WarningCloses(), 1);
        }
        // Nothing is checked after the warning, and nothing is left running.
        EXPECT_LE(run.checks.back(), run.warningEnded);
        EXPECT_TRUE(run.s.window.Timers().empty());
        EXPECT_FALSE(run.s.core.trayState.hidden.hiddenIconFound);
    }
}

TEST(HiddenIconCheck, TheSettingEndsTheCheckAtTheNextTick) {
    struct Case {
        uint64_t switchedOnAt;
        uint64_t nextTick;
        std::size_t checksBefore;
    };
    for (const Case c : {Case{0, 5000, 0}, Case{12000, 15000, 2}}) {
        SCOPED_TRACE(c.switchedOnAt);
        CheckRun run;
        run.RunUntil(c.switchedOnAt);
        run.s.core.settings.nocheckhidden = true;
        run.RunUntil(c.nextTick - 1);
        EXPECT_TRUE(run.CheckPeriod());
        run.RunUntil(c.nextTick);
        EXPECT_FALSE(run.CheckPeriod());
        run.RunUntil(600000);
        EXPECT_EQ(run.checks.size(), c.checksBefore);
    }
}

}  // namespace
}  // namespace lv
