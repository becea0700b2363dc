// The selection-changed path shared by every command that changes the selected
// entity.
#pragma once

namespace Globals {

// Prev = Curr: kind and handle, and for a multiple selection CurrMultiSel.
void SetPrevSelEntityToCurrSelEntity();
// Nothing when the selection did not change (IsCurrSelSameAsPrevSel); otherwise
// empties the point and polygon selections and lets the main window bring its
// tree, panels, combo, menus and status bar in step.
void ThingsToDoOnSelectedEntityChange();

}  // namespace Globals
