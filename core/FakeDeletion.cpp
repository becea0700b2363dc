#include "FakeDeletion.h"

#include "WindowHooks.h"

#include "ombrel.h"
#include "ombrel_places.h"

#include <algorithm>
#include <limits>

namespace Globals {

void FakeDeleteGroup(int32_t group) {
    OMBREL_group_set_father_group(group, 0);
    OMBREL_group_disable(group, 1);
    core::callHook(core::windowHooks().removeGroupNode, group);
}

int32_t GroupPlace(int32_t group) { return OMBREL_ext_group_get_index(group); }

int32_t PolygonPlace(int32_t polygon) { return OMBREL_ext_polygon_get_index(polygon); }

void PutGroupAt(int32_t group, int32_t place) {
    if (place >= 0 && GroupPlace(group) != place) OMBREL_ext_group_set_index(group, place);
}

void PutPolygonAt(int32_t polygon, int32_t place) {
    if (place >= 0 && PolygonPlace(polygon) != place) OMBREL_ext_polygon_set_index(polygon, place);
}

std::vector<int32_t> PlaceOrder(const std::vector<int32_t>& places) {
    std::vector<int32_t> order;
    for (std::size_t i = 1; i < places.size(); ++i) order.push_back(static_cast<int32_t>(i));
    const auto key = [&](int32_t i) {
        const int32_t p = places[static_cast<std::size_t>(i)];
        return p < 0 ? std::numeric_limits<int32_t>::max() : p;
    };
    std::ranges::stable_sort(order, {}, key);
    return order;
}

std::vector<int32_t> PlacesOf(const std::vector<int32_t>& handles) {
    std::vector<int32_t> places(handles.size(), -1);
    if (!handles.empty())
        OMBREL_ext_get_indices(handles.data(), static_cast<int32_t>(handles.size()), places.data());
    return places;
}

void PutAtPlaces(const std::vector<int32_t>& handles, const std::vector<int32_t>& places) {
    const std::size_t n = std::min(handles.size(), places.size());
    if (n > 0) OMBREL_ext_set_indices(handles.data(), places.data(), static_cast<int32_t>(n));
}

void UnDeleteGroup(int32_t group, int32_t father, int32_t place) {
    OMBREL_group_set_father_group(group, father);
    PutGroupAt(group, place);
    OMBREL_group_disable(group, 0);
    core::callHook(core::windowHooks().addGroupNode, group, father);
}

void DeleteGroupPermanently(int32_t group) { OMBREL_group_delete_members(group); }

void FakeDeletePol(int32_t polygon) {
    OMBREL_polygon_set_group(polygon, 0);
    if (OMBREL_polygon_is_valid(polygon)) OMBREL_polygon_disable(polygon);
    // Only the polygons made by extrusion and cutting have nodes: a missing one,
    // or any failure of the tree, is passed over.
    try {
        core::callHook(core::windowHooks().removePolNode, polygon);
    } catch (...) {
    }
}

void UnDeletePol(int32_t polygon, int32_t group) {
    OMBREL_polygon_set_group(polygon, group);
    // The tree is left alone: polygon nodes are made only by the tools that make
    // the polygons.
    if (OMBREL_polygon_is_valid(polygon)) OMBREL_polygon_enable(polygon);
}

void DeletePolPermanently(int32_t polygon) { OMBREL_polygon_delete(polygon); }

}  // namespace Globals
