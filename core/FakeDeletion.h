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
// entities back one by one: the lowest places first; -1 (no place) last.
std::vector<int32_t> PlaceOrder(const std::vector<int32_t>& places);
// The places of many groups and polygons, and putting them there, in one engine
// call each: its cost is that of one walk over their siblings, not one per entity.
// PutAtPlaces puts handles[i] at places[i], the others keeping their order, the
// lowest places first, so that each finds the siblings before it already there;
// one without a place (-1) stays where it is.
std::vector<int32_t> PlacesOf(const std::vector<int32_t>& handles);
void PutAtPlaces(const std::vector<int32_t>& handles, const std::vector<int32_t>& places);
// The same over lists used from index 1: entities(1..count) at places[i], -1
// past the end of places.
template <class List>
void PutAtPlaces(const List& entities, int32_t count, const std::vector<int32_t>& places) {
    std::vector<int32_t> handles, at;
    for (int32_t i = 1; i <= count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        handles.push_back(entities[i]);
        at.push_back(k < places.size() ? places[k] : -1);
    }
    PutAtPlaces(handles, at);
}

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
void UnDeletePols(const List& polygons, int32_t count, int32_t group, const std::vector<int32_t>& places) {
    for (int32_t i = 1; i <= count; ++i) UnDeletePol(polygons[i], group);
    PutAtPlaces(polygons, count, places);
}
// The places of polygons(1..count) now, as a list used from index 1.
template <class List>
std::vector<int32_t> PolygonPlaces(const List& polygons, int32_t count) {
    std::vector<int32_t> handles;
    for (int32_t i = 1; i <= count; ++i) handles.push_back(polygons[i]);
    std::vector<int32_t> places = PlacesOf(handles);
    places.insert(places.begin(), 0);
    return places;
}
template <class List>
void DeletePolsPermanently(const List& polygons, int32_t count) {
    for (int32_t i = 1; i <= count; ++i) DeletePolPermanently(polygons[i]);
}

}  // namespace Globals
