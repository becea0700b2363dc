#include "fake_clock.h"

namespace platform::testing {

FakeClock::FakeClock(uint32_t start) : now_(start), previous_(installClock(this)) {}

FakeClock::~FakeClock() { installClock(previous_); }

void FakeClock::sleep(uint32_t milliseconds) {
    now_ += milliseconds;
    slept_ += milliseconds;
}

}  // namespace platform::testing
