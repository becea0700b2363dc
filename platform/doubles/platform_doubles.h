// Every platform double at once, for a test fixture:
//     platform::doubles::PlatformDoubles platform_;
// Prompts are scripted, settings live in a temporary file, the key state and
// the wheel queue start empty, the pointer, the clock and the shell are fakes,
// and the event pump dispatches nothing but what a test scripts.
#pragma once

#include "fake_clock.h"
#include "fake_cursor.h"
#include "recording_shell.h"
#include "scripted_prompts.h"
#include "scripted_event_pump.h"
#include "temporary_settings.h"

#include "platform/key_state.h"
#include "platform/wheel_queue.h"

namespace platform::doubles {

// Empties the key state and the wheel queue on entry and on exit.
class CleanInputState {
public:
    CleanInputState() { reset(); }
    ~CleanInputState() { reset(); }
    CleanInputState(const CleanInputState&) = delete;
    CleanInputState& operator=(const CleanInputState&) = delete;

private:
    static void reset() {
        clearKeyState();
        clearWheelQueue();
    }
};

struct PlatformDoubles {
    ScriptedPrompts prompts;
    TemporarySettings settings;
    CleanInputState input;
    FakeCursor cursor;
    FakeClock clock;
    RecordingShell shell;
    ScriptedEventPump pump;
};

}  // namespace platform::doubles
