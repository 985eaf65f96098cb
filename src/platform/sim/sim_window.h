// The main window and the system facts, in memory. Posted commands queue up until the
// test (or the host tool) pops and dispatches them; timers run in virtual time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "platform/system_api.h"
#include "platform/types.h"
#include "platform/window_api.h"
#include "platform/windows_codes.h"

namespace lv::sim {

struct PostedCommand {
    uint32_t id = 0;
    intptr_t lparam = 0;
    bool operator==(const PostedCommand&) const = default;
};

struct TimerCall {
    bool set = true;  // false: KillTimer
    uint32_t id = 0;
    uint32_t milliseconds = 0;  // SetTimer's period; 0 for KillTimer
    bool operator==(const TimerCall&) const = default;
};

struct CopyDataRecord {
    uint32_t source = 0;
    std::string data;
    bool operator==(const CopyDataRecord&) const = default;
};

struct ThreadAnswer {
    uint32_t threadId = 0;
    uintptr_t wparam = 0;
    bool operator==(const ThreadAnswer&) const = default;
};

class SimWindowApi : public lv::WindowApi {
public:
    // Returns whether the window took the line.
    using CopyDataHandler = std::function<bool(uint32_t source, std::span<const char> data)>;
    using CommandHandler = std::function<void(uint32_t id, intptr_t lparam)>;
    using TimerHandler = std::function<void(uint32_t id)>;

    // The clock gives the timers their due times.
    explicit SimWindowApi(SimClock& clock) : clock_(clock) {}

    bool PostCommand(uint32_t id, intptr_t lparam) override;
    // Setting a timer that exists restarts it with the new period, as SetTimer does.
    bool SetTimer(uint32_t id, uint32_t milliseconds) override;
    // Fails for a timer that is not set, as KillTimer does.
    bool KillTimer(uint32_t id) override;
    // Runs the handler at once, as SendMessage to the own window procedure would; fails
    // (and still records the call) when no handler is set, like a window that is gone.
    bool SendCopyData(uint32_t source, std::span<const char> data) override;
    bool PostThreadAnswer(uint32_t threadId, uintptr_t wparam) override;
    void SendAppCommand(int command) override;
    bool ForegroundWindowExists() override { return foregroundWindow_; }
    bool BringToForeground() override {
        ++foregroundRequests_;
        return !destroyed_;
    }
    bool DestroyPopup() override {
        destroyed_ = true;
        return true;
    }

    bool GetPopupRect(Rect& rect) override {
        rect = popupRect_;
        return true;
    }
    // Centred on the anchor, above it when there is room in the work area, else below.
    bool CalculatePopupPosition(Point anchor, Point size, uint32_t flags, const Rect& exclude, Rect& placed) override;
    bool GetWorkArea(Rect& area) override {
        area = workArea_;
        return true;
    }
    bool ShowPopupTopmostAt(Point topLeft) override {
        popupRect_ = {topLeft.x, topLeft.y, topLeft.x + popupRect_.right - popupRect_.left,
                      topLeft.y + popupRect_.bottom - popupRect_.top};
        shownAt_.push_back(topLeft);
        return true;
    }
    void PostFocusControl(int id) override { focusRequests_.push_back(id); }
    void ShowTrayMenu(Point point, bool german, std::span<const MenuItem> extra) override {
        trayMenus_.push_back({point, german, {extra.begin(), extra.end()}});
    }
    bool BroadcastMonitorPowerOff() override {
        ++monitorPowerBroadcasts_;
        return true;
    }
    bool SetCursorPosition(Point point) override {
        cursorMoves_.push_back(point);
        return true;
    }
    void ShowListMenu(Point point, bool german, bool ignoreChecked, bool utilizeChecked) override {
        listMenus_.push_back({point, german, ignoreChecked, utilizeChecked});
    }

    struct ListMenu {
        Point point;
        bool german = false;
        bool ignoreChecked = false;
        bool utilizeChecked = false;
        bool operator==(const ListMenu&) const = default;
    };
    const std::vector<ListMenu>& ListMenus() const { return listMenus_; }

    struct TrayMenu {
        Point point;
        bool german = false;
        std::vector<MenuItem> extra;
        bool operator==(const TrayMenu&) const = default;
    };
    void SetPopupRect(Rect rect) { popupRect_ = rect; }
    void SetWorkArea(Rect area) { workArea_ = area; }
    void FailPositionCalculation(bool fail) { failPosition_ = fail; }
    const std::vector<Point>& ShownAt() const { return shownAt_; }
    const std::vector<int>& FocusRequests() const { return focusRequests_; }
    const std::vector<TrayMenu>& TrayMenus() const { return trayMenus_; }
    int MonitorPowerBroadcasts() const { return monitorPowerBroadcasts_; }
    const std::vector<Point>& CursorMoves() const { return cursorMoves_; }
    uint32_t LastPositionFlags() const { return lastPositionFlags_; }

    void SetForegroundWindowExists(bool exists) { foregroundWindow_ = exists; }
    int ForegroundRequests() const { return foregroundRequests_; }
    bool Destroyed() const { return destroyed_; }

    // Posted commands, oldest first.
    const std::deque<PostedCommand>& Commands() const { return commands_; }
    std::optional<PostedCommand> PopCommand();

    // Running timers by id with their periods, and every SetTimer/KillTimer in order.
    std::map<uint32_t, uint32_t> Timers() const;
    bool HasTimer(uint32_t id) const { return timers_.count(id) != 0; }
    std::optional<uint32_t> TimerPeriod(uint32_t id) const;
    const std::vector<TimerCall>& TimerCalls() const { return timerCalls_; }

    void SetCopyDataHandler(CopyDataHandler handler) { copyDataHandler_ = std::move(handler); }
    const std::vector<CopyDataRecord>& CopyDataSent() const { return copyData_; }
    const std::vector<ThreadAnswer>& ThreadAnswers() const { return threadAnswers_; }
    const std::vector<int>& AppCommands() const { return appCommands_; }

    // A message loop in virtual time up to `time`: posted commands first, in order; when
    // none is waiting, the timer due first fires (the clock jumps to it), as WM_TIMER only
    // comes when the queue is empty. A timer that fell behind fires once, not once per
    // missed period. Ends with the clock at `time` (or later, if a handler paused past it).
    // Returns the number of commands and timer ticks dispatched.
    std::size_t RunUntil(uint64_t time, const CommandHandler& onCommand, const TimerHandler& onTimer);

private:
    struct Timer {
        uint32_t period = 0;
        uint64_t due = 0;
    };

    SimClock& clock_;
    std::deque<PostedCommand> commands_;
    std::map<uint32_t, Timer> timers_;
    std::vector<TimerCall> timerCalls_;
    CopyDataHandler copyDataHandler_;
    std::vector<CopyDataRecord> copyData_;
    std::vector<ThreadAnswer> threadAnswers_;
    std::vector<int> appCommands_;
    bool foregroundWindow_ = true;
    int foregroundRequests_ = 0;
    bool destroyed_ = false;
    Rect popupRect_{0, 0, 400, 390};
    Rect workArea_{0, 0, 1920, 1040};
    bool failPosition_ = false;
    uint32_t lastPositionFlags_ = 0;
    std::vector<Point> shownAt_;
    std::vector<int> focusRequests_;
    std::vector<TrayMenu> trayMenus_;
    std::vector<ListMenu> listMenus_;
    int monitorPowerBroadcasts_ = 0;
    std::vector<Point> cursorMoves_;
};

class SimSystemApi : public lv::SystemApi {
public:
    bool IsWindows8OrLater() override { return windows8OrLater_; }
    uint32_t CurrentThreadId() override { return threadId_; }
    bool GetSystemPowerStatus(PowerStatus& status) override {
        if (powerStatusOk_) status = powerStatus_;
        return powerStatusOk_;
    }
    int SmallIconHeight() override { return smallIconHeight_; }
    bool GetFontSmoothingType(uint32_t& type) override {
        if (fontSmoothingType_ < 0) return false;
        type = static_cast<uint32_t>(fontSmoothingType_);
        return true;
    }
    SystemTime LocalTime() override { return timeSource_ ? timeSource_() : localTime_; }
    uint16_t UserDefaultUILanguage() override { return uiLanguage_; }

    void SetSmallIconHeight(int height) { smallIconHeight_ = height; }
    void SetFontSmoothingType(int type) { fontSmoothingType_ = type; }  // negative: the query fails
    void SetLocalTime(const SystemTime& time) { localTime_ = time; }
    // A clock that moves: every reading asks the source.
    void SetLocalTimeSource(std::function<SystemTime()> source) { timeSource_ = std::move(source); }
    void SetUserDefaultUILanguage(uint16_t language) { uiLanguage_ = language; }
    void SetWindows8OrLater(bool later) { windows8OrLater_ = later; }
    void SetThreadId(uint32_t threadId) { threadId_ = threadId; }
    void SetBatterySaver(bool on) { powerStatus_.systemStatusFlag = on ? 1 : 0; }
    void SetPowerStatusAvailable(bool available) { powerStatusOk_ = available; }

private:
    int smallIconHeight_ = 16;
    int fontSmoothingType_ = win::kFeFontSmoothingClearType;
    SystemTime localTime_{2026, 12, 0, 6, 21, 30, 15, 500};
    std::function<SystemTime()> timeSource_;
    uint16_t uiLanguage_ = 0x0409;  // English (United States)
    PowerStatus powerStatus_;
    bool powerStatusOk_ = true;
    bool windows8OrLater_ = true;
    uint32_t threadId_ = 4242;  // above 3, so it cannot pass for a command source
};

}  // namespace lv::sim
