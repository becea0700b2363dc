// Milliseconds for the editor's timing (GetTickCount) and its pauses (Sleep).
#pragma once

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since some fixed start; wraps like a 32-bit counter.
    virtual uint32_t tickCount() = 0;
    virtual void sleep(uint32_t milliseconds) = 0;
};

Clock& clock();
Clock* installClock(Clock* c);

inline uint32_t GetTickCount() { return clock().tickCount(); }
inline void Sleep(uint32_t milliseconds) { clock().sleep(milliseconds); }

}  // namespace platform
