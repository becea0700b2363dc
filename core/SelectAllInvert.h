// Select All and Select Invert over what the workspace edits: the points or the
// polygons of the edited group, or the world's visible top-level groups, saved
// cameras and visible lights.
#pragma once

namespace Globals {

// Every point of every polygon of the edited group, in walk order (a shared corner
// once per polygon).
void SelectAllGrpPts();
void SelectAllGrpPols();
// CurrMultiSel additions: the visible top-level groups in tree order, the saved
// visible cameras, the visible lights.
void SelectAllGrps();
void SelectAllCams();
void SelectAllLights();
// CurrMultiSel = every visible entity.
void SelectAllEntities();
// Points (polygons) of the edited group that were not selected, in walk order.
void InvertGrpPts();
void InvertGrpPols();
// Every visible entity except those of the previous selection.
void InvertEntities();

}  // namespace Globals
