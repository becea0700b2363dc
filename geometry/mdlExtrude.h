// Extrusion and bevel of the selected polygons of the edited group
// (CurrSelEntityHandle, SelPols).
//
// Extrude pushes the selection out along its average normal and joins it to the
// polygons it left with one four-sided "Extruded Pol" per outline edge. Bevel
// scales the selection, with every point welded to it, about its centre. Both
// preview live while a spinner is held and are committed as one undo record per
// gesture: on the spinner's release, or at once on Enter in the field.
#pragma once

#include "core/CoreTypes.h"

#include <cstdint>
#include <vector>

namespace mdlExtrude {

// The point handles of one edge of a selected polygon, in the polygon's order.
struct OutlineEdge {
    int32_t p1 = 0;
    int32_t p2 = 0;
};

// ---- module state (lists used from index 1)

// Mean of the selected polygons' plane normals at the last ExtrudeSelPols, not
// normalised; zero when no extrusion is possible.
inline Point3d ExtrudeAvgNormal = {0, 0, 0};
// ExtrudeAvgNormal x 1e-6: the first lift of the cap away from its neighbours.
inline Point3d ExtrudeStartOffset = {0, 0, 0};
inline std::vector<OutlineEdge> OutlineEdges{OutlineEdge{}};
inline int32_t NumOutlineEdges = 0;
// The side polygons of the latest extrusion, in the order they were made.
inline std::vector<int32_t> AddedPols{0};
inline int32_t NumAddedPols = 0;
// SelPolsAvgCenter before and after an extrusion.
inline Point3d ExtrudeInitialLoc = {0, 0, 0};
inline Point3d ExtrudeFinalLoc = {0, 0, 0};
// The product of the factors applied while the bevel spinner is held.
inline double BevelProduct = 1.0;

// The smallest magnitude of a bevel factor: a smaller one is refused.
inline constexpr double MinBevelFactor = 0.01;

// ---- the procedures

// Starts an extrusion: outline, side polygons with their nodes, the first lift,
// the status bar and the welded points. False, with nothing made, without a
// selected polygon or when the normals cancel out (after the message).
bool ExtrudeSelPols();
// Moves every point welded to the selected polygons by ExtrudeAvgNormal x
// distance from where it is; false (nothing moved) when there is nothing to
// move or a point would leave the world.
bool MoveExtrudedPts(double distance);
// Scales every point welded to the selected polygons about their centre, then
// resets the point normals of the latest extrusion's side polygons that are
// still in the edited group. False (nothing moved) without a selected polygon
// or when a point would leave the world.
bool BevelSelPols(double factor);
// OutlineEdges: every edge of the selection that no other edge of it matches by
// position (within 1e-9 per axis, either direction). An edge met an odd number
// of times survives at the place of its last unmatched occurrence.
void GetSelPolsOutlineEdges();
// Removes the earliest listed edge that matches this one; true when one did.
// Used while GetSelPolsOutlineEdges builds the list.
bool RemoveEdgeIfListed(const OutlineEdge& edge);
// True when the two points lie less than 1e-9 apart on every axis.
bool IsSamePtLocation(int32_t pt1, int32_t pt2);

// ---- the gestures of the polygon frame's fields

enum class Outcome {
    Recorded,     // the change was made and is one undo record
    NothingToDo,  // no selection, or the extrusion was refused with its message
    Refused,      // the value cannot be applied; nothing changed
};

// The extrude spinner's press: the centre, the extrusion, the welded entries.
void StartExtrudeGesture();
// One step: the cap moves by distance x the normal; false when it cannot.
bool StepExtrude(double distance);
// The release: one ActionExtrude for the whole gesture, none when refused.
void CommitExtrudeGesture();
// Enter in the extrude field: the whole extrusion by depth, recorded.
Outcome ExtrudeByDepth(double depth);

// The bevel spinner's press: the positions before the gesture.
void StartBevelGesture();
// One step with the field's new factor; false (ignored) when its magnitude is
// below MinBevelFactor or a point would leave the world.
bool StepBevel(double factor);
// The release: one ActionBevel with every moved point's positions.
void CommitBevelGesture();
// Enter in the bevel field.
Outcome BevelByFactor(double factor);

// The world was closed: nothing of it may be reached again.
void ForgetWorld();

}  // namespace mdlExtrude
