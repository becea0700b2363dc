// Align mode of the main window: the toolbar's "Align" button pressed. The views
// hand it their mouse moves and releases while it lasts; presses in align mode do
// not reach the transform handle.
#pragma once

#include <cstdint>

class QWidget;

namespace transform {

bool IsAlignMode();
// Toolbar "Align" (or Alt+L): needs a source, else says so and releases the button.
void EnterAlignMode();
// Every mouse move over a view: "Align Target" over a group, camera or light.
void SetAlignModeMousePtr(int16_t Button, float X, float Y);
// A left release over a group, camera or light opens formAlign for it.
void PickAlignTarget(int16_t Button, float X, float Y, QWidget* owner = nullptr);

}  // namespace transform
