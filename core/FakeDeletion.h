// Deletion that can be taken back: a deleted group or polygon stays in the engine,
// detached and disabled, with its tree node removed, until the undo record that
// could bring it back is released. A group's node comes back with it; a
// polygon's does not.
#pragma once

#include <cstdint>

namespace Globals {

// Father 0, disabled, its "Group" node removed.
void FakeDeleteGroup(int32_t group);
// Back under father, enabled, its node and sub-tree re-added.
void UnDeleteGroup(int32_t group, int32_t father);
// Destroys the group with its sub-groups and polygons.
void DeleteGroupPermanently(int32_t group);

// One polygon: moved to group 0, disabled when still valid, its "Pol" node removed.
void FakeDeletePol(int32_t polygon);
// One polygon: back into the group, enabled when valid; the tree is not touched.
void UnDeletePol(int32_t polygon, int32_t group);
void DeletePolPermanently(int32_t polygon);

// The same over a list used from index 1 (SelPols, SelPtsPols, an action's copy).
template <class List>
void FakeDeletePols(const List& polygons, int32_t count) {
    for (int32_t i = 1; i <= count; ++i) FakeDeletePol(polygons[i]);
}
template <class List>
void UnDeletePols(const List& polygons, int32_t count, int32_t group) {
    for (int32_t i = 1; i <= count; ++i) UnDeletePol(polygons[i], group);
}
template <class List>
void DeletePolsPermanently(const List& polygons, int32_t count) {
    for (int32_t i = 1; i <= count; ++i) DeletePolPermanently(polygons[i]);
}

}  // namespace Globals
