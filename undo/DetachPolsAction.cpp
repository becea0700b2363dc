#include "DetachPolsAction.h"

#include "core/FakeDeletion.h"
#include "core/Globals.h"
#include "core/GroupPolygonProcedures.h"
#include "core/SelectionChange.h"
#include "core/WindowProcedures.h"

#include "ombrel.h"

void ActionDetachPols::Undo() {
    MovePolsTo(OldGrp);
    Globals::PutAtPlaces(Pols, Count, Places);
    Globals::FakeDeleteGroup(NewGrp);
    Globals::ValidateGroupPolygons(OldGrp);
    Select(OldGrp);
}

void ActionDetachPols::Redo() {
    MovePolsTo(NewGrp);
    Globals::UnDeleteGroup(NewGrp, Globals::RootGrp);
    Globals::ValidateGroupPolygons(OldGrp);
    Globals::ValidateGroupPolygons(NewGrp);
    Select(NewGrp);
}

void ActionDetachPols::SetDetachedPolsToCurrSel() {
    Pols = CopyHandleList(Globals::SelPols, Globals::NumSelPols);
    Count = Globals::NumSelPols;
    Places = Globals::PolygonPlaces(Pols, Count);
}

void ActionDetachPols::MovePolsTo(int32_t group) const {
    for (int32_t i = 1; i <= Count; ++i) OMBREL_polygon_set_group(Pols[static_cast<std::size_t>(i)], group);
}

// The group stays the kind it was recorded with. The previous selection is
// forgotten, so the panels follow even when it named this same group.
void ActionDetachPols::Select(int32_t group) {
    Globals::CurrSelEntityHandle = group;
    Globals::PrevSelEntityType = SelNone;
    Globals::ThingsToDoOnSelectedEntityChange();
    Globals::UpdateStatusBar();
}
