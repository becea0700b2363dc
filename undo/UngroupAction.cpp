#include "UngroupAction.h"

#include "ActionUndoRedo.h"
#include "HideUnhide.h"
#include "PushThenRun.h"

#include "core/FakeDeletion.h"
#include "core/GroupHierarchy.h"

#include "ombrel.h"

void ActionUnGroup::SetUngroupedGrp(int32_t group) {
    Group = group;
    Father = OMBREL_group_get_father_group(group);
    Place = Globals::GroupPlace(group);
    Children = Globals::ChildGroups(group);
    Hidden = Globals::IsGrpHidden(group);
    Emptied = !Globals::HoldsOwnPolygons(group);
}

void ActionUnGroup::Undo() {
    Globals::RegroupGroup(Group, Father, Place, Children, Hidden);
    Undone = true;
}

void ActionUnGroup::Redo() {
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = Group;
    Globals::UngroupGroup(Group, false);
    Undone = false;
}

void ActionUnGroup::Release() {
    // Only a group that is out of the world and holds nothing more goes: should
    // the ungroup have stopped half way, nothing the world still uses is lost.
    if (Undone || !Emptied || OMBREL_ext_handle_kind(Group) != OMBREL_KIND_GROUP) return;
    if (OMBREL_group_get_father_group(Group) != 0 || !Globals::ChildGroups(Group).empty()) return;
    Globals::DeleteGroupPermanently(Group);
}

namespace undo {

void UngroupWithUndo(int32_t group) {
    if (Globals::ChildGroups(group).empty()) return;
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActUnGroup;
    record->SetActionObjects();
    record->Ungroup->SetUngroupedGrp(group);
    PushThenRun(std::move(record), [group] { Globals::UngroupGroup(group, false); });
}

}  // namespace undo
