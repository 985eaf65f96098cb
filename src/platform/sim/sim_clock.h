// Virtual time: Sleep moves the clock forward at once and remembers the pause, so tests
// assert the exact pauses of an algorithm without waiting for them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/clock.h"

namespace lv::sim {

class SimClock : public lv::Clock {
public:
    explicit SimClock(uint64_t start = 0) : now_(start) {}

    void Sleep(uint32_t milliseconds) override;
    uint64_t TickCount() override { return now_; }

    uint64_t Now() const { return now_; }
    // Time that passes without the program pausing (a slow call, the message loop idling).
    void Advance(uint64_t milliseconds) { now_ += milliseconds; }
    // Never moves backwards: a monotonic clock cannot.
    void AdvanceTo(uint64_t time) {
        if (time > now_) now_ = time;
    }

    const std::vector<uint32_t>& Pauses() const { return pauses_; }
    uint64_t TotalPaused() const;
    void ClearPauses() { pauses_.clear(); }

private:
    uint64_t now_;
    std::vector<uint32_t> pauses_;
};

}  // namespace lv::sim
