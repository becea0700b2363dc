// The event pump in tests: dispatches nothing, counts the pumps and runs each
// scripted action at the first pump at which its condition holds (judged from
// the caller's own state, never from timing). Installed while it lives.
#pragma once

#include "platform/event_pump.h"

#include <deque>
#include <functional>

namespace platform::doubles {

class ScriptedEventPump : public EventPump {
public:
    ScriptedEventPump();
    ~ScriptedEventPump() override;  // fails the test when actions are left over
    ScriptedEventPump(const ScriptedEventPump&) = delete;
    ScriptedEventPump& operator=(const ScriptedEventPump&) = delete;

    // Actions run in the order given: an action waits until those before it ran.
    ScriptedEventPump& when(std::function<bool()> condition, std::function<void()> action);
    // Runs at every pump (after any scripted action due there).
    std::function<void()> everyPump;

    void doEvents() override;
    int pumps() const { return pumps_; }
    std::size_t pendingActions() const { return script_.size(); }

private:
    struct Step {
        std::function<bool()> condition;
        std::function<void()> action;
    };
    std::deque<Step> script_;
    int pumps_ = 0;
    EventPump* previous_;
};

}  // namespace platform::doubles
