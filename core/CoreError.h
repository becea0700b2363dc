// The ways core code reaches the user: an unexpected failure goes to the handler's
// error trap; the few expected conditions of the shared procedures are message boxes.
#pragma once

#include <string>

namespace core {

[[noreturn]] void raiseError(const std::string& description);

// A message box with the critical icon and an OK button under the program's title.
void showCriticalMessage(const std::string& text);

}  // namespace core
