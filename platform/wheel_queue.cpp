#include "wheel_queue.h"

#include <deque>

namespace platform {
namespace {

std::deque<int> g_deltas;

}  // namespace

void pushWheelDelta(int delta) {
    if (delta != 0) g_deltas.push_back(delta);
}

int takeWheelDirection() {
    int direction = 0;
    for (int taken = 0; taken < kWheelMessagesPerPass && !g_deltas.empty(); ++taken) {
        direction = g_deltas.front() > 0 ? 1 : -1;
        g_deltas.pop_front();
    }
    return direction;
}

int pendingWheelMessages() { return static_cast<int>(g_deltas.size()); }

void clearWheelQueue() { g_deltas.clear(); }

}  // namespace platform
