// Questions about the world model that several modules ask: walks, planes,
// boxes, drawability.
#pragma once

#include "records.h"
#include "vec.h"

#include <cstdint>
#include <vector>

namespace ombrel {

// Polygons of group's walk: its own polygons, then each child's walk in child
// order. Group 0 is the world list of added polygons.
std::vector<int32_t> walkPolygons(int32_t group);

// True when group is ancestor or equal to descendant.
bool groupContains(int32_t group, int32_t descendant);

// The polygon's plane: unit normal towards the visible side (the side from which
// the points run clockwise) and d with n.p + d = 0. False for a degenerate polygon.
bool polygonPlane(const Polygon& polygon, Vec3& normal, double& d);

// Drawn and picked: added, enabled, in a group, >= 3 points with area, no
// disabled group on its father chain, inside the render group if one is set.
// Facing is the caller's test.
bool polygonDrawable(const Polygon& polygon);

// World axis-aligned box of every point in group's walk (group 0: every
// drawable polygon). Empty box when there are none.
Box3 groupWorldBox(int32_t group);

}  // namespace ombrel
