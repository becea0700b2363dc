// The selection-changed path shared by every command that changes the selected
// entity.
#pragma once

namespace Globals {

// Prev = Curr: kind and handle, and for a multiple selection CurrMultiSel.
void SetPrevSelEntityToCurrSelEntity();
// Curr = Prev, the reverse.
void SetCurrSelEntityToPrevSelEntity();
// Brings the trees, the property panels, the Group menu and the status bar in
// line with the selection. A changed selection first drops the point and polygon
// selections; an unchanged one only refreshes the Group menu and the status bar.
void ThingsToDoOnSelectedEntityChange();
// The trees: the previous selection's node loses its highlight, the current
// one's gains it (kinds 0 and 6 have no node).
void treeViewHighlightCurrentSelectedAndDeHighlightPrevSelected();

}  // namespace Globals
