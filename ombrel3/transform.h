// Moving, turning and scaling a group's whole subtree. Points hold world positions,
// so a transform rewrites them, together with every pivot, origin and axis frame.
#pragma once

#include "records.h"
#include "vec.h"

namespace ombrel {

// p -> m p + t on every point, pivot and origin of group's subtree. Stored normals
// follow as surface normals (lengths kept); each group's axes turn with m when
// turnAxes; a mirroring m reverses every polygon so visible sides stay outside.
// Touches every group of the subtree.
void transformSubtree(Group& group, const Mat3& m, Vec3 t, bool turnAxes);

void moveGroup(Group& group, Vec3 offset);
// Right-handed turn about the line through the group's pivot along axis.
void rotateGroup(Group& group, Vec3 axis, double degrees);
// Scale by f about the location, along the group's own axes or the world axes.
void scaleGroup(Group& group, Vec3 f, bool ownAxes);
// Turns the subtree about its location so the group's axes become frame.
void matchGroupAxes(Group& group, const Mat3& frame);

}  // namespace ombrel
