// Questions about the world model that several modules ask: walks, planes,
// boxes, drawability, and the per-group caches that keep them cheap.
#pragma once

#include "records.h"
#include "vec.h"

#include <cstdint>
#include <vector>

namespace ombrel {

// Polygons of group's walk: its own polygons, then each child's walk in child
// order. Group 0 is the world list of added polygons.
std::vector<int32_t> walkPolygons(int32_t group);

// First polygon of group's walk and the one after polygon (0 at the end or when
// polygon is not in the walk). Group 0 walks the world list. O(depth) per step.
int32_t walkFirst(int32_t group);
int32_t walkNext(int32_t group, int32_t polygon);

// The group after current in the pre-order of root's subtree (children in attach
// order); 0 at the end. current must lie in root's subtree.
int32_t preorderNext(int32_t root, int32_t current);
// The pre-order of group's subtree, group itself first when includeSelf.
std::vector<int32_t> subtreeGroups(int32_t group, bool includeSelf);

// True when group is ancestor or equal to descendant.
bool groupContains(int32_t group, int32_t descendant);

// Positions of the polygon's live points, in order.
std::vector<Vec3> polygonPositions(const Polygon& polygon);
// The same into out (cleared first), for walks that reuse one buffer.
void polygonPositionsInto(const Polygon& polygon, std::vector<Vec3>& out);

// Whether points enclose an area: at least three, with a finite non-zero normal.
bool hasArea(const Vec3* pos, std::size_t n);

// The polygon's plane: unit normal towards the visible side (the side from which
// the points run clockwise) and d with n.p + d = 0. False for a degenerate polygon.
bool polygonPlane(const Polygon& polygon, Vec3& normal, double& d);
// The same for the points at pos.
bool planeOf(const Vec3* pos, std::size_t count, Vec3& normal, double& d);

// Drawn and picked: added, enabled, in a group, >= 3 points with area, no
// disabled group on its father chain, inside the render group if one is set.
// Facing is the caller's test.
bool polygonDrawable(const Polygon& polygon);

// Adds one own polygon, whose live points are at pos, to the group's own totals.
void addOwnPolygon(OwnTotals& totals, const Polygon& polygon, const Vec3* pos, std::size_t n);
// The totals of the group's own polygons and of its subtree, recomputed only for
// what an edit cleared.
const OwnTotals& ownTotals(const Group& group);
const SubtreeTotals& subtreeTotals(const Group& group);

// World axis-aligned box of every point in group's walk (group 0: every
// drawable polygon). Empty box when there are none.
Box3 groupWorldBox(int32_t group);

// Box of the subtree's points taken along the group's own axes (local coordinates).
Box3 groupOwnBox(const Group& group);
// Centre of the own-axes box in world coordinates; the origin when there are no points.
Vec3 groupLocation(const Group& group);
// Extents of the own-axes box; zero without points.
Vec3 groupDimensions(const Group& group);
// Mean of the subtree's point records; the location when there are none.
Vec3 groupCentreOfMass(const Group& group);

// Polygon count of the world total: the walks of the enabled fatherless groups.
int32_t worldPolygonCount();

// A position given to the engine, corrected as the auto-correct mode asks.
Vec3 inputPosition(Vec3 p);

}  // namespace ombrel
