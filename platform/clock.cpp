#include "clock.h"

#include "service_slot.h"

#include <chrono>
#include <thread>

namespace platform {
namespace {

class SteadyClock : public Clock {
public:
    uint32_t tickCount() override {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        return static_cast<uint32_t>(ms.count());
    }
    void sleep(uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

std::unique_ptr<Clock> makeDefault() { return std::make_unique<SteadyClock>(); }

ServiceSlot<Clock> g_clock(&makeDefault);

}  // namespace

Clock& clock() { return g_clock.get(); }
Clock* installClock(Clock* c) { return g_clock.install(c); }

}  // namespace platform
