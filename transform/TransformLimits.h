// How far a transform may take the world. Beyond 1e12 a double no longer keeps
// the detail of a world's geometry, so Undo could not give it back; a move,
// turn or scale whose result would go there (or would not be finite) is
// ignored whole and records nothing.
#pragma once

#include "EditModes.h"

#include "core/CoreTypes.h"
#include "platform/NumberEntry.h"

#include <cstdint>
#include <vector>

namespace transform {

inline constexpr double kWorldLimit = platform::kLengthLimit;

// The box around everything a transform of the current selection moves: the
// points, and for whole entities also their pivots, locations and markers.
// Every centre a transform turns or scales about lies inside it.
struct Reach {
    bool empty = true;
    Point3d min = {0, 0, 0};
    Point3d max = {0, 0, 0};
    void add(const Point3d& p);
};

Reach SelectionReach(EditMode mode);
// The same box for whole groups (their points, pivots and locations).
Reach GroupsReach(const std::vector<int32_t>& groups);

bool MoveStaysInWorld(const Reach& reach, const Point3d& offset);
bool TurnStaysInWorld(const Reach& reach);
// step: the factors of this apply; total: what the record would hold with it,
// whose reciprocals Undo applies.
bool ScaleStaysInWorld(const Reach& reach, const Point3d& step, const Point3d& total);

}  // namespace transform
