// Time as a seam: the core never sleeps or reads a clock by itself, so tests run in
// virtual time and assert the exact pauses.
#pragma once

#include <cstdint>

namespace lv {

class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(uint32_t milliseconds) = 0;
    virtual uint64_t TickCount() = 0;  // milliseconds, monotonic (GetTickCount64)
};

}  // namespace lv
