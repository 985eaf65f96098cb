#include "platform/sim/sim_clock.h"

#include <numeric>

namespace lv::sim {

void SimClock::Sleep(uint32_t milliseconds) {
    pauses_.push_back(milliseconds);
    now_ += milliseconds;
}

uint64_t SimClock::TotalPaused() const { return std::accumulate(pauses_.begin(), pauses_.end(), uint64_t{0}); }

}  // namespace lv::sim
