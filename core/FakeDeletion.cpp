#include "FakeDeletion.h"

#include "WindowHooks.h"

#include "ombrel.h"

namespace Globals {

void FakeDeleteGroup(int32_t group) {
    OMBREL_group_set_father_group(group, 0);
    OMBREL_group_disable(group, 1);
    core::callHook(core::windowHooks().removeGroupNode, group);
}

void UnDeleteGroup(int32_t group, int32_t father) {
    OMBREL_group_set_father_group(group, father);
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
