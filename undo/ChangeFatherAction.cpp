#include "ChangeFatherAction.h"

#include "SharedObjects.h"

#include "core/GroupHierarchy.h"
#include "core/SelectionChange.h"
#include "core/WindowHooks.h"

void ActionChangeFatherGrp::SetParameters(int32_t oldFather, int32_t newFather, int32_t group, int32_t flag,
                                          int32_t oldPlace) {
    NewFather = newFather;
    Flag = flag;
    AddMovedGrp(group, oldFather, oldPlace);
}

void ActionChangeFatherGrp::AddMovedGrp(int32_t group, int32_t oldFather, int32_t oldPlace) {
    Moved.push_back({group, oldFather, oldPlace});
}

void ActionChangeFatherGrp::Undo() {
    // Last moved, first back: each place was read with the moves before it done.
    for (auto it = Moved.rbegin(); it != Moved.rend(); ++it)
        Globals::ChangeFatherGroup(it->Group, it->OldFather, it->OldPlace);
    if (!Moved.empty()) SelectGroup(Flag != 0 ? Moved.front().OldFather : NewFather);
}

void ActionChangeFatherGrp::Redo() {
    for (const Move& m : Moved) Globals::ChangeFatherGroup(m.Group, NewFather);
    if (!Moved.empty()) SelectGroup(Flag != 0 ? Moved.front().Group : NewFather);
}

// The selected group changes, so the panels follow it: a name typed afterwards
// must reach the group the tree shows selected.
void ActionChangeFatherGrp::SelectGroup(int32_t group) const {
    Globals::SetPrevSelEntityToCurrSelEntity();
    Globals::CurrSelEntityHandle = group;
    core::callHook(core::windowHooks().selectGroupNode, group);
    undo::SelGrpBndBox().Initialize(group);
    Globals::ThingsToDoOnSelectedEntityChange();
}
