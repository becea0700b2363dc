#include "GroupTogatherAction.h"

#include "SharedObjects.h"

#include "core/FakeDeletion.h"
#include "core/GroupHierarchy.h"
#include "core/SelectionChange.h"

#include "ombrel.h"

void ActionGroupTogather::SetChildGrpsToCurrGrpSelection() {
    Children.clear();
    for (int32_t g : Globals::OutermostSelectedGroups())
        Children.push_back({g, OMBREL_group_get_father_group(g), Globals::GroupPlace(g)});
}

void ActionGroupTogather::SetNewFatherGrp(int32_t group) { NewFather = group; }

void ActionGroupTogather::Undo() {
    using namespace Globals;
    std::vector<int32_t> places{-1};
    for (const Child& c : Children) places.push_back(c.Place);
    for (int32_t i : PlaceOrder(places)) {
        const Child& c = Children[static_cast<std::size_t>(i) - 1];
        ChangeFatherGroup(c.Group, c.Father, c.Place);
    }
    NewFatherHidden = OMBREL_ext_group_get_own_disabled(NewFather) == 1;
    FakeDeleteGroup(NewFather);

    SetPrevSelEntityToCurrSelEntity();
    MultipleSelection& multi = undo::CurrMultiSel();
    multi.Reset();
    for (const Child& c : Children) multi.AddGrpHandles(c.Group);
    CurrSelEntityType = SelMultiple;
    // The new group's node went with it: no node of it to leave.
    if (PrevSelEntityHandle == NewFather) PrevSelEntityType = SelNone;
    ThingsToDoOnSelectedEntityChange();
    Undone = true;
}

void ActionGroupTogather::Redo() {
    using namespace Globals;
    UnDeleteGroupAsItWas(NewFather, RootGrp, NewFatherHidden);
    for (const Child& c : Children) {
        ChangeFatherGroup(c.Group, NewFather);
    }
    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelGroup;
    CurrSelEntityHandle = NewFather;
    ThingsToDoOnSelectedEntityChange();
    Undone = false;
}

void ActionGroupTogather::Release() {
    if (!Undone || NewFather == 0 || OMBREL_ext_handle_kind(NewFather) != OMBREL_KIND_GROUP) return;
    // Only while it stays out of the world and holds none of the groups it held.
    if (OMBREL_group_get_father_group(NewFather) != 0 || OMBREL_group_get_first_included_group(NewFather) != 0)
        return;
    Globals::DeleteGroupPermanently(NewFather);
}
