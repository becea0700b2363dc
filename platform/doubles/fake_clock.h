// A clock that moves only when told to, or by the program's own Sleep calls.
#pragma once

#include "platform/clock.h"

namespace platform::testing {

class FakeClock : public Clock {
public:
    explicit FakeClock(uint32_t start = 1000);
    ~FakeClock() override;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    uint32_t tickCount() override { return now_; }
    void sleep(uint32_t milliseconds) override;

    void advance(uint32_t milliseconds) { now_ += milliseconds; }
    uint32_t slept() const { return slept_; }

private:
    uint32_t now_;
    uint32_t slept_ = 0;
    Clock* previous_;
};

}  // namespace platform::testing
