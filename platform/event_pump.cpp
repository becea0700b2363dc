#include "event_pump.h"

#include "service_slot.h"

#include <QCoreApplication>

namespace platform {
namespace {

class QtEventPump : public EventPump {
public:
    void doEvents() override {
        if (QCoreApplication::instance()) QCoreApplication::processEvents();
    }
};

std::unique_ptr<EventPump> makeDefault() { return std::make_unique<QtEventPump>(); }

ServiceSlot<EventPump> g_pump(&makeDefault);

}  // namespace

EventPump& eventPump() { return g_pump.get(); }
EventPump* installEventPump(EventPump* p) { return g_pump.install(p); }

}  // namespace platform
