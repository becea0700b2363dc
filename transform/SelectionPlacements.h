// What a turn or a scale of the current selection changes, read exactly, so
// that its record can give back the numbers themselves.
#pragma once

#include "EditModes.h"

#include "undo/Placements.h"

namespace transform {

// Point and polygon modes: the points moved (every point of the touched welded
// sets); track points: the track; whole entities: each group, camera, light
// and track, cameras and lights with their markers.
undo::Placements ReadSelectionPlacements(EditMode mode);

}  // namespace transform
