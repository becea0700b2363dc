// Hold and fetch (a quick copy of the world beside the program) and viewer mode
// (the world handed to the companion viewer program).
#include "Form1.h"

#include "platform/files.h"
#include "platform/program.h"
#include "platform/prompts.h"
#include "platform/shell.h"

namespace {

std::string holdFile() { return platform::programFolder() + "Hold.wld"; }
std::string viewerFolder() { return platform::programFolder() + "Viewer Mode/"; }

void informationBox(const std::string& text, platform::MsgButtons buttons = platform::MsgButtons::OK) {
    platform::msgBox(text, buttons, platform::MsgIcon::Information);
}

}  // namespace

void Form1::mnuHold_Click() {
    // Without a world the last hold would be overwritten with nothing.
    if (!WorldLoaded) return;
    saveWorldTo(holdFile());
}

void Form1::mnuFetch_Click() {
    const std::string file = holdFile();
    if (!platform::fileExists(file)) {
        informationBox("Nothing to fetch! Please do a hold first.");
        return;
    }
    if (platform::msgBox("Fetch - Please confirm.", platform::MsgButtons::OKCancel, platform::MsgIcon::Information) ==
        platform::MsgResult::OK)
        LoadWorld(file);
}

void Form1::mnuViewerMode_Click() {
    if (!WorldLoaded) return;
    const std::string program = viewerFolder() + "Orbview";
    if (!platform::fileExists(program)) {
        informationBox("The viewer program was not found.");
        return;
    }
    const std::string world = viewerFolder() + "Viewer.wld";
    if (!saveWorldTo(world)) return;
    platform::shell().startProgram(program, world);
}
