#include "fakes/fake_clock.h"

#include <numeric>

namespace lv::fake {

void FakeClock::Sleep(uint32_t milliseconds) {
    pauses_.push_back(milliseconds);
    now_ += milliseconds;
}

uint64_t FakeClock::TotalPaused() const { return std::accumulate(pauses_.begin(), pauses_.end(), uint64_t{0}); }

}  // namespace lv::fake
