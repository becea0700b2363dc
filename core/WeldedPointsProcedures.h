// The welded-points table of the edited group and the lists derived from the
// selected points and polygons.
#pragma once

#include <cstdint>
#include <vector>

namespace Globals {

// Rebuilds WeldedPts (1..NumWeldedPts) for the group's polygons: a point joins the
// set whose first point has exactly its position, else starts a set.
void BuildWeldedPoints(int32_t group);
// The entry holding the point, 0 when none.
int32_t FindWeldedPoint(int32_t point);
// Adds the polygon's points: a point joins the lowest entry whose first point lies
// less than 1e-9 from it on each axis, else starts an entry.
void AddPolygonToWelded(int32_t polygon);
// Takes the polygon's points out, dropping entries left empty (later entries
// move down, so SelPolsRelatedPts must be rebuilt).
void RemovePolygonFromWelded(int32_t polygon);
void RemoveWeldedPtsEntry(int32_t entry);
// The same over a list of polygons, as one call per polygon in list order would
// leave the table, in one pass over it.
void AddPolygonsToWelded(const std::vector<int32_t>& polygons);
void RemovePolygonsFromWelded(const std::vector<int32_t>& polygons);
// SelPolsRelatedPts (1..NumSelPolsRelatedPts) = the WeldedPts entries of every
// point of SelPols, each entry once, in the order first met.
void UpdateSelPolsRelatedPtsArray();
// SelPtsPols (1..NumSelPtsPols) = the polygons of the edited group that own a
// selected point, each once, in the group's polygon order, so the result does not
// depend on the order in which the points were selected.
void UpdateSelPtsPolArray();

}  // namespace Globals
