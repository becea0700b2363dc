// The points of the selected track under a click or rubber band, and the edge of
// that track under the pointer, as the current camera projects them. The point
// selection is SelTrkPts (indices into the track's point list, used from index
// 1), NumSelTrkPts long, in the order the points were added, without repeats.
#pragma once

#include "CoreTypes.h"

#include <cstdint>

namespace Globals {

// Sets found when the index is among the selected points.
void IsTrackPtSelected(int32_t index, bool& found);
// Takes the index out of the selection, the later entries moving down; nothing
// when it is not selected.
void RemoveSelTrackPt(int32_t index);
// A point is in the rect when it projects onto the view (code 0) within the
// corners, edges included; the points are visited from index 0 upwards.
void AddTrackPtsInRect(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY);
void RemoveTrackPtsInRect(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY);
void ReplaceTrackPtsInRect(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY);
// The mode from the keys held now: Ctrl adds (Shift too or not), else Shift
// removes, else the rect replaces the selection.
void SelectTrackPtsByKeyState(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX,
                              int32_t LowerCornerY);

// Pixels the pointer may be off an edge of the track.
inline constexpr int32_t TrackEdgeTolerance = 2;
// The first edge, in index order, passing within TrackEdgeTolerance of the pixel
// and not beyond its ends by more than the margin; the closing edge of a cyclic
// track counts as edge n - 1. An edge the near plane cuts, one off the view and
// one of zero length on screen or in the world are never found. Edge k runs from
// point k to the next one; point gets the place on it under the pixel.
bool FindTrackEdgeAt(int32_t track, int32_t x, int32_t y, int32_t& edge, Point3d& point);

}  // namespace Globals
