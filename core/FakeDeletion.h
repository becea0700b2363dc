// Deletion that can be taken back: a deleted group or polygon stays in the engine,
// detached and disabled, with its tree node removed, until the undo record that
// could bring it back is released. A group's node comes back with it; a
// polygon's does not.
#pragma once

#include <cstdint>
#include <vector>

namespace Globals {

// A group's place among its father's children and a polygon's among its group's
// polygons, from 0 in the order the world file keeps; -1 when it has none.
int32_t GroupPlace(int32_t group);
int32_t PolygonPlace(int32_t polygon);
// Puts the entity at the place; a negative place, or one beyond its siblings,
// leaves it where it is.
void PutGroupAt(int32_t group, int32_t place);
void PutPolygonAt(int32_t polygon, int32_t place);
// The positions of places (a list used from index 1) in the order to put their
// entities back: the lowest places first, so that each finds the siblings before
// it already there; -1 (no place) last.
std::vector<int32_t> PlaceOrder(const std::vector<int32_t>& places);

// Father 0, disabled, its "Group" node removed.
void FakeDeleteGroup(int32_t group);
// Back under father at the place (last for -1), enabled, its node and sub-tree
// re-added at the same place among the father's nodes.
void UnDeleteGroup(int32_t group, int32_t father, int32_t place = -1);
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
// The same, each polygon at its place (places[i] for polygons[i], from index 1).
// A polygon without a place (-1, or beyond the list) goes last.
template <class List>
void UnDeletePols(const List& polygons, int32_t count, int32_t group, std::vector<int32_t> places) {
    places.resize(static_cast<std::size_t>(count) + 1, -1);
    for (int32_t i : PlaceOrder(places)) {
        UnDeletePol(polygons[i], group);
        PutPolygonAt(polygons[i], places[static_cast<std::size_t>(i)]);
    }
}
// The places of polygons(1..count) now, as a list used from index 1.
template <class List>
std::vector<int32_t> PolygonPlaces(const List& polygons, int32_t count) {
    std::vector<int32_t> places{0};
    for (int32_t i = 1; i <= count; ++i) places.push_back(PolygonPlace(polygons[i]));
    return places;
}
template <class List>
void DeletePolsPermanently(const List& polygons, int32_t count) {
    for (int32_t i = 1; i <= count; ++i) DeletePolPermanently(polygons[i]);
}

}  // namespace Globals
