#include "CoreError.h"

#include "platform/error_trap.h"
#include "platform/prompts.h"

namespace core {

void raiseError(const std::string& description) { throw platform::EditorError(description); }

void showCriticalMessage(const std::string& text) {
    platform::msgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Critical);
}

}  // namespace core
