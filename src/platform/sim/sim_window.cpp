#include "platform/sim/sim_window.h"

#include <algorithm>

namespace lv::sim {

namespace {

// USER_TIMER_MINIMUM: Windows raises shorter periods to 10 ms, which also keeps a
// zero-period timer from firing forever at one instant.
constexpr uint32_t kTimerMinimum = 10;

}  // namespace

bool SimWindowApi::PostCommand(uint32_t id, intptr_t lparam) {
    commands_.push_back({id, lparam});
    return true;
}

bool SimWindowApi::SetTimer(uint32_t id, uint32_t milliseconds) {
    timers_[id] = {milliseconds, clock_.Now() + std::max(milliseconds, kTimerMinimum)};
    timerCalls_.push_back({true, id, milliseconds});
    return true;
}

bool SimWindowApi::KillTimer(uint32_t id) {
    timerCalls_.push_back({false, id, 0});
    return timers_.erase(id) != 0;
}

bool SimWindowApi::SendCopyData(uint32_t source, std::span<const char> data) {
    copyData_.push_back({source, std::string(data.begin(), data.end())});
    return copyDataHandler_ && copyDataHandler_(source, data);
}

bool SimWindowApi::PostThreadAnswer(uint32_t threadId, uintptr_t wparam) {
    threadAnswers_.push_back({threadId, wparam});
    return true;
}

void SimWindowApi::SendAppCommand(int command) { appCommands_.push_back(command); }

bool SimWindowApi::CalculatePopupPosition(Point anchor, Point size, uint32_t flags, const Rect& exclude,
                                           Rect& placed) {
    lastPositionFlags_ = flags;
    if (failPosition_) return false;
    const int32_t left = anchor.x - size.x / 2;
    int32_t top = exclude.top - size.y;
    if (top < workArea_.top) top = exclude.bottom;
    placed = {left, top, left + size.x, top + size.y};
    return true;
}

std::optional<PostedCommand> SimWindowApi::PopCommand() {
    if (commands_.empty()) return std::nullopt;
    const PostedCommand command = commands_.front();
    commands_.pop_front();
    return command;
}

std::map<uint32_t, uint32_t> SimWindowApi::Timers() const {
    std::map<uint32_t, uint32_t> periods;
    for (const auto& [id, timer] : timers_) periods[id] = timer.period;
    return periods;
}

std::optional<uint32_t> SimWindowApi::TimerPeriod(uint32_t id) const {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return std::nullopt;
    return it->second.period;
}

std::size_t SimWindowApi::RunUntil(uint64_t time, const CommandHandler& onCommand, const TimerHandler& onTimer) {
    std::size_t dispatched = 0;
    for (;;) {
        if (auto command = PopCommand()) {
            onCommand(command->id, command->lparam);
            ++dispatched;
            continue;
        }
        // The earliest due timer; ties go to the lower id.
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (next == timers_.end() || it->second.due < next->second.due) next = it;
        }
        if (next == timers_.end() || next->second.due > time) break;
        clock_.AdvanceTo(next->second.due);
        next->second.due = clock_.Now() + std::max(next->second.period, kTimerMinimum);
        const uint32_t id = next->first;  // the handler may kill or reset the timer
        onTimer(id);
        ++dispatched;
    }
    clock_.AdvanceTo(time);
    return dispatched;
}

}  // namespace lv::sim
