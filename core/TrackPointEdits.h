// Changes to a track's point list made through the engine's point buffer (x, y, z
// per point, in index order), one write per change.
#pragma once

#include "CoreTypes.h"

#include <cstdint>
#include <span>
#include <vector>

namespace Globals {

// Every point of the track, three values each.
std::vector<double> ReadTrackPoints(int32_t track);
// The point becomes number edge + 1, the later points moving up one; edge n - 1
// of an n-point track appends it.
void InsertTrackPtAfter(int32_t track, int32_t edge, const Point3d& point);
// Entries 1 to NumSelTrkPts of SelTrkPts in descending order, used from index 1.
void SortSelTrackPts(std::vector<int32_t>& sorted);
// Removes one point; the later points move down one.
void DeleteTrackPt(int32_t track, int32_t index);
// Removes every listed point at once (any order, repeats and indices outside
// the list are passed over); the others keep their order.
void DeleteTrackPts(int32_t track, std::span<const int32_t> indices);
// How many points of the track the list names, repeats and indices outside the
// list not counted.
int32_t CountTrackPts(int32_t track, std::span<const int32_t> indices);

}  // namespace Globals
