// One rotation or scaling step of a multiple selection about a common centre,
// shared by the transform tools and the records that replay them.
#pragma once

#include "core/CoreTypes.h"

#include <cstdint>

class MultipleSelection;

namespace undo {

// Every group turns about the centre and keeps its own rotate reference point;
// lights and cameras turn and travel around the centre. Tracks stay.
void TurnMultipleSelection(const MultipleSelection& sel, double angle, int32_t axis, const Point3d& centre);
// Every group's location moves away from the centre by the factors and the group
// scales in place. Cameras, lights and tracks stay.
void ScaleMultipleSelection(const MultipleSelection& sel, const Point3d& factors, const Point3d& centre);

}  // namespace undo
