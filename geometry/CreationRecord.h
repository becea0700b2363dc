// The one undo record of a creation: a primitive, or the copies of a duplicate.
#pragma once

namespace geometry {

// Pushes an ActionCreate for what the current selection names (a group, or the
// groups of CurrMultiSel for a multiple selection), with the previous selection
// as the one it replaced.
void RecordCreation();

}  // namespace geometry
