// SIGTERM, SIGINT and SIGHUP (a session, a terminal or a service manager ending
// the program) end it by its own path: the handler only notes the signal, the event
// loop serves it, and the windows that would hold the main loop back are answered
// as a user declining them would, until the main loop ends the program.
#pragma once

namespace platform {

// Installs the handlers, once; needs the application object.
void handleEndSignals();

// Whether one of the signals arrived: long computations stop without asking, and
// the main loop ends the program.
bool endRequested();

}  // namespace platform
