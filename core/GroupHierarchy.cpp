#include "GroupHierarchy.h"

#include "CoreError.h"
#include "FakeDeletion.h"
#include "Globals.h"
#include "MultipleSelection.h"
#include "SelectionChange.h"
#include "WindowHooks.h"
#include "WindowProcedures.h"

#include "ombrel.h"

namespace Globals {
namespace {

MultipleSelection& currentSelection() {
    if (!CurrMultiSel) core::raiseError("The current selection has not been created");
    return *CurrMultiSel;
}

// The node goes with its sub-tree and comes back under the father's node.
void remakeNode(int32_t group, int32_t father) {
    const auto& h = core::windowHooks();
    core::callHook(h.removeGroupNode, group);
    core::callHook(h.addGroupNode, group, father);
}

}  // namespace

std::vector<int32_t> ChildGroups(int32_t group) {
    std::vector<int32_t> children;
    for (int32_t g = OMBREL_group_get_first_included_group(group); g != 0;
         g = OMBREL_group_get_next_included_group(group, g))
        if (OMBREL_group_get_father_group(g) == group) children.push_back(g);
    return children;
}

bool HoldsOwnPolygons(int32_t group) {
    // The walk starts with the group's own polygons, then goes down its sub-groups.
    const int32_t first = OMBREL_group_get_first_polygon(group);
    return first != 0 && OMBREL_polygon_get_group(first) == group;
}

void ChangeFatherGroup(int32_t group, int32_t father) {
    OMBREL_group_set_father_group(group, father);
    remakeNode(group, father);
}

bool UngroupInEngine(int32_t group, bool destroyNow) {
    const int32_t father = OMBREL_group_get_father_group(group);
    for (int32_t child : ChildGroups(group)) OMBREL_group_set_father_group(child, father);
    // Polygons of its own keep the group in the world: only its sub-groups leave it.
    if (HoldsOwnPolygons(group)) return false;
    if (destroyNow) {
        DeleteGroupPermanently(group);
    } else {
        OMBREL_group_set_father_group(group, 0);
        OMBREL_group_disable(group, 1);
    }
    return true;
}

void UngroupGroup(int32_t group, bool destroyNow) {
    const auto& h = core::windowHooks();
    MultipleSelection& selection = currentSelection();
    const int32_t father = OMBREL_group_get_father_group(group);
    const std::vector<int32_t> children = ChildGroups(group);
    const bool left = UngroupInEngine(group, destroyNow);

    selection.Reset();
    for (int32_t child : children) {
        remakeNode(child, father);
        selection.AddGrpHandles(child);
    }
    if (left) core::callHook(h.removeGroupNode, group);

    CurrSelEntityType = SelMultiple;
    PrevSelEntityType = SelNone;
    ThingsToDoOnSelectedEntityChange();
    core::callHook(h.selectGroupNode, 0);
    core::callHook(h.resetObjModeCombo);
    UpdateCameras();
}

void RegroupGroup(int32_t group, int32_t father, const std::vector<int32_t>& children, bool hidden) {
    const auto& h = core::windowHooks();
    if (OMBREL_group_get_father_group(group) == 0) {
        OMBREL_group_set_father_group(group, father);
        OMBREL_group_disable(group, hidden ? 1 : 0);
        core::callHook(h.addGroupNode, group, father);
    }
    for (int32_t child : children) ChangeFatherGroup(child, group);

    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelGroup;
    CurrSelEntityHandle = group;
    core::callHook(h.selectGroupNode, group);
    ThingsToDoOnSelectedEntityChange();
}

}  // namespace Globals
