// The welded-points table of the edited group and the lists derived from the
// selected points and polygons.
#pragma once

#include <cstdint>

namespace Globals {

// Rebuilds WeldedPts (1..NumWeldedPts) for the group's polygons: a point joins the
// set whose first point lies within 1e-9 of it on x, y and z, else starts a set.
void BuildWeldedPoints(int32_t group);
// SelPolsRelatedPts (1..NumSelPolsRelatedPts) = the WeldedPts entries of every
// point of SelPols, each entry once, in the order first met.
void UpdateSelPolsRelatedPtsArray();
// SelPtsPols (1..NumSelPtsPols) = the polygons of the edited group that own a
// selected point, each once, in the group's polygon order, so the result does not
// depend on the order in which the points were selected.
void UpdateSelPtsPolArray();

}  // namespace Globals
