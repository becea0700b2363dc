// The selection gestures that leave an undo record: the release of a click or
// rubber band in point and polygon editing, the object selection's record, and
// deleting the selected points with their polygons.
#pragma once

namespace Globals {

// Pushes one ActionSelect from the previous to the current selection, unless the
// two are the same.
void RecordSelectionChange();
// A click (widened to 5 by 5 pixels) or band over the edited group's points, in
// point editing with the select tool; always leaves one ActionSelectPts.
void SelectGrpPts();
// The same for polygons (the rect is not widened), in polygon or texture
// editing; always leaves one ActionSelectPols.
void SelectGrpPols();
// Deletes, undoably, every polygon owning a selected point; nothing without one.
void DeleteSelPtsPols();

}  // namespace Globals
