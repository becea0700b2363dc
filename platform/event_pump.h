// Letting the windowing system dispatch what is pending (DoEvents), for a long
// computation that must stay responsive without a thread of its own.
#pragma once

namespace platform {

class EventPump {
public:
    virtual ~EventPump() = default;
    // Dispatches the pending events once and returns.
    virtual void doEvents() = 0;
};

EventPump& eventPump();
// Installs a replacement (nullptr = the default again); returns the previous one.
EventPump* installEventPump(EventPump* p);

inline void DoEvents() { eventPump().doEvents(); }

}  // namespace platform
