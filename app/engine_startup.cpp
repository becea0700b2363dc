#include "engine_startup.h"

#include "ombrel.h"
#include "ombrel_loader.h"
#include "platform/prompts.h"

namespace app {
namespace {

void tellUser(const std::string& text) {
    platform::msgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Critical);
}

}  // namespace

bool startEngine(const std::string& programFolder) {
    const auto result = ombrel_loader::load(programFolder + ombrel_loader::libraryFileName());
    switch (result.status) {
    case ombrel_loader::Status::Loaded:
        break;
    case ombrel_loader::Status::LibraryMissing:
    case ombrel_loader::Status::NotALibrary:
        tellUser("The 3D engine library " + result.path + " could not be opened: " + result.reason +
                 ". Terminating...");
        return false;
    case ombrel_loader::Status::EntryPointsMissing:
        // An engine without its full set of calls is another version of it.
        tellUser("Incorrect ombrel3.dll version encountered. Terminating...");
        return false;
    }
    OMBREL_engine_set_coordinates_auto_correct_mode(0);
    return true;
}

}  // namespace app
