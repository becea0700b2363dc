#include "CreationDeletionActions.h"

#include "core/CoreError.h"
#include "core/FakeDeletion.h"
#include "core/Globals.h"
#include "core/SelectionChange.h"
#include "core/WeldedPointsProcedures.h"
#include "core/WindowProcedures.h"

#include "ombrel.h"

#include <string>

// ---- ActionCreate

void ActionCreate::Undo() {
    if (CreatedKind == SelGroup) Globals::FakeDeleteGroup(CreatedHandle);
    SelectionChange.Undo();
    Undone = true;
}

void ActionCreate::Redo() {
    if (CreatedKind == SelGroup) Globals::UnDeleteGroup(CreatedHandle, Fathers[1]);
    SelectionChange.Redo();
    Globals::ThingsToDoOnSelectedEntityChange();
    Undone = false;
}

void ActionCreate::SetCreatedEntity(int32_t kind, int32_t handle) {
    if (kind != SelGroup)
        core::raiseError("Creating an entity of kind " + std::to_string(kind) + " cannot be recorded for undo");
    CreatedKind = kind;
    CreatedHandle = handle;
    Fathers.assign({0, OMBREL_group_get_father_group(handle)});
    SelectionChange.SetNewSelToCurrSel();
    SelectionChange.SetOldSelToPrevSel();
}

void ActionCreate::Release() {
    if (Undone && CreatedKind == SelGroup) Globals::DeleteGroupPermanently(CreatedHandle);
}

// ---- ActionDeleteGrpPols

void ActionDeleteGrpPols::Undo() {
    Globals::UnDeletePols(Pols, Count, Group);
    Globals::SelPols.checkCount(Count);
    Globals::NumSelPols = Count;
    WriteHandleList(Globals::SelPols, Pols, Count);
    Globals::UpdateStatusBar();
    RebuildWeldedPointsWhileEditingGeometry();
    Undone = true;
}

void ActionDeleteGrpPols::Redo() {
    Globals::FakeDeletePols(Pols, Count);
    Globals::NumSelPols = 0;
    Globals::UpdateStatusBar();
    RebuildWeldedPointsWhileEditingGeometry();
    Undone = false;
}

void ActionDeleteGrpPols::Release() {
    if (!Undone) Globals::DeletePolsPermanently(Pols, Count);
}

int32_t ActionDeleteGrpPols::CurrentGroup() { return Globals::CurrSelEntityHandle; }

// Point editing moves welded points too, so its table must see the polygons that
// came back or went, not only polygon editing's.
void ActionDeleteGrpPols::RebuildWeldedPointsWhileEditingGeometry() const {
    if (!Globals::IsPolygonEditing() && !Globals::IsPointEditing()) return;
    Globals::BuildWeldedPoints(Group);
    Globals::UpdateSelPolsRelatedPtsArray();
}
