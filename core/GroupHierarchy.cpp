#include "GroupHierarchy.h"

#include "CoreError.h"
#include "FakeDeletion.h"
#include "Globals.h"
#include "MultipleSelection.h"
#include "SelectionChange.h"
#include "WindowHooks.h"
#include "WindowProcedures.h"

#include "ombrel.h"

#include <string>
#include <unordered_set>

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

void ChangeFatherGroup(int32_t group, int32_t father, int32_t place) {
    SetFatherGroupOrRaise(group, father);
    PutGroupAt(group, place);
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

void RegroupGroup(int32_t group, int32_t father, int32_t place, const std::vector<int32_t>& children, bool hidden) {
    const auto& h = core::windowHooks();
    if (OMBREL_group_get_father_group(group) == 0) UnDeleteGroupAsItWas(group, father, hidden, place);
    for (int32_t child : children) ChangeFatherGroup(child, group);

    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelGroup;
    CurrSelEntityHandle = group;
    core::callHook(h.selectGroupNode, group);
    ThingsToDoOnSelectedEntityChange();
}

// ---- grouping, attaching and replacing groups

bool IsGroupOrAncestor(int32_t ancestor, int32_t group) {
    // A chain longer than the world's groups can only be a loop: stop there.
    for (int32_t g = group, steps = 0; g != 0 && steps < 10000000; g = OMBREL_group_get_father_group(g), ++steps)
        if (g == ancestor) return true;
    return false;
}

std::vector<int32_t> OutermostSelectedGroups() {
    std::vector<int32_t> out;
    if (!CurrMultiSel) return out;
    const MultipleSelection& sel = *CurrMultiSel;
    std::unordered_set<int32_t> selected;
    for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) selected.insert(sel.GetGrp(i));
    for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) {
        const int32_t g = sel.GetGrp(i);
        bool underSelected = false;
        for (int32_t f = OMBREL_group_get_father_group(g); f != 0 && f != RootGrp && !underSelected;
             f = OMBREL_group_get_father_group(f))
            underSelected = selected.count(f) != 0;
        if (!underSelected) out.push_back(g);
    }
    return out;
}

void SetFatherGroupOrRaise(int32_t group, int32_t father) {
    OMBREL_group_set_father_group(group, father);
    if (OMBREL_group_get_father_group(group) != father)
        core::raiseError("The group " + std::to_string(group) + " cannot go under the group " +
                         std::to_string(father) + ": a group cannot hold one of its own fathers");
}

void UnDeleteGroupAsItWas(int32_t group, int32_t father, bool hidden, int32_t place) {
    OMBREL_group_set_father_group(group, father);
    PutGroupAt(group, place);
    OMBREL_group_disable(group, hidden ? 1 : 0);
    core::callHook(core::windowHooks().addGroupNode, group, father);
}

void MakeGroupTheSelection(int32_t group) {
    CurrSelEntityType = SelGroup;
    CurrSelEntityHandle = group;
    if (!CurrMultiSel) return;
    CurrMultiSel->Reset();
    CurrMultiSel->AddGrpHandles(group);
}

}  // namespace Globals
