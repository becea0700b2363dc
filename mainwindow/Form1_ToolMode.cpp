// The current tool and the pointer pictures of the views.
#include "Form1.h"

#include "core/Globals.h"
#include "views/PicWindow.h"

#include <QAction>

namespace {

// The tool buttons' keys in tool-mode order.
constexpr const char* kToolKeys[] = {"Select",  "Move",        "Rotate",      "Scale",      "Pan",
                                     "Revolve", "Zoom Camera", "Move Camera", "Roll Camera"};
constexpr int kCustomPointer = 99;

}  // namespace

void Form1::SetToolMode(int32_t mode) {
    for (const char* key : kToolKeys) SetToolbarButtonValue(key, 0);
    // "Align" is a tool button too: choosing any tool leaves align mode.
    SetToolbarButtonValue("Align", 0);
    if (mode >= ToolSelect && mode <= ToolRollCamera) SetToolbarButtonValue(kToolKeys[mode], 1);
    Globals::CurrToolMode = mode;
}

void Form1::SetMousePointer() {
    static const char* pictures[] = {nullptr, "Move", "Rotate", "Scale"};
    const int32_t tool = Globals::CurrToolMode;
    if (tool < ToolMove || tool > ToolScale) return;
    PicWindow& view = *picWindow.at(static_cast<std::size_t>(PicBoxFocused));
    view.SetMousePointer(kCustomPointer);
    view.SetMouseIcon(pictures[tool]);
}

void Form1::ResetMousePointer() {
    for (PicWindow* view : picWindow) view->SetMousePointer(0);
}
