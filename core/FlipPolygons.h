// Turning the visible side of polygons of the edited group.
#pragma once

#include <cstdint>
#include <vector>

namespace Globals {

// Reverses the point order of every polygon of the list (entries 1..count) and
// keeps the welded-points table in step: all their points leave the table and
// every polygon is reversed before any is entered again, so points of flipped
// polygons that share positions are welded against their new contents. The
// selected polygons' related points are found again afterwards, since entries
// may have moved. Flipping the same polygons twice restores them.
void FlipPolygonList(const std::vector<int32_t>& polygons);

template <class List>
void FlipPolygons(const List& polygons, int32_t count) {
    std::vector<int32_t> list;
    list.reserve(count > 0 ? static_cast<std::size_t>(count) : 0);
    for (int32_t i = 1; i <= count; ++i) list.push_back(polygons[i]);
    FlipPolygonList(list);
}

}  // namespace Globals
