// Wheel notches waiting for the main loop, which zooms once per pass in the
// direction of the last one instead of once per notch.
#pragma once

namespace platform {

inline constexpr int kWheelMessagesPerPass = 100;

// Queues one wheel message (its signed delta); the input filter calls it.
void pushWheelDelta(int delta);
// Takes up to kWheelMessagesPerPass pending messages off the queue and returns the
// sign of the last one taken: 1 away from the user, -1 towards, 0 when none.
int takeWheelDirection();
int pendingWheelMessages();
void clearWheelQueue();

}  // namespace platform
