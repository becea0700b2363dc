#include "scripted_event_pump.h"

#include <gtest/gtest.h>

namespace platform::doubles {

ScriptedEventPump::ScriptedEventPump() : previous_(installEventPump(this)) {}

ScriptedEventPump::~ScriptedEventPump() {
    installEventPump(previous_);
    EXPECT_TRUE(script_.empty()) << script_.size() << " scripted pump action(s) never ran";
}

ScriptedEventPump& ScriptedEventPump::when(std::function<bool()> condition, std::function<void()> action) {
    script_.push_back({std::move(condition), std::move(action)});
    return *this;
}

void ScriptedEventPump::doEvents() {
    ++pumps_;
    if (!script_.empty() && script_.front().condition()) {
        const Step step = std::move(script_.front());
        script_.pop_front();
        step.action();
    }
    if (everyPump) everyPump();
}

}  // namespace platform::doubles
