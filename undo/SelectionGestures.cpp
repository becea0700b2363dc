#include "SelectionGestures.h"

#include "ActionUndoRedo.h"
#include "ActionUndoRedo_Stack.h"

#include "core/CoreError.h"
#include "core/FakeDeletion.h"
#include "core/Globals.h"
#include "core/ObjectSelection.h"
#include "core/PointSelection.h"
#include "core/PolygonSelection.h"
#include "core/SelectionBookkeeping.h"
#include "core/SelectionCentres.h"
#include "core/WeldedPointsProcedures.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"

#include <memory>

namespace Globals {
namespace {

constexpr int kObjectPage = 1;

ActionUndoRedo_Stack& history() {
    if (!UndoRedoStack) core::raiseError("The undo history has not been created");
    return *UndoRedoStack;
}

std::unique_ptr<ActionUndoRedo> newRecord(ActionTypeCode code) {
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = code;
    record->SetActionObjects();
    return record;
}

int activeView() {
    const auto& hook = core::windowHooks().activeView;
    return hook ? hook() : 0;
}

bool onObjectPage() {
    const auto& hook = core::windowHooks().workspacePage;
    return hook && hook() == kObjectPage;
}

bool texturing() {
    const auto& hook = core::windowHooks().objModeText;
    return hook && hook() == "Edit Texture";
}

}  // namespace

void RecordSelectionChange() {
    if (IsCurrSelSameAsPrevSel()) return;
    auto record = newRecord(ActSelect);
    record->SelectObj->SetNewSelToCurrSel();
    record->SelectObj->SetOldSelToPrevSel();
    history().Push(std::move(record));
}

void SelectGrpPts() {
    if (CurrToolMode != ToolSelect || !IsPointEditing() || CurrSelEntityType != SelGroup) return;
    auto record = newRecord(ActSelectPts);
    record->SelectPts->SetOldSelPts(SelPts, NumSelPts);
    int32_t ux = 0, uy = 0, lx = 0, ly = 0;
    SetUpperAndLowerCorners(ux, uy, lx, ly);
    WidenPointSelRect(ux, uy, lx, ly);
    SelectPtsByKeyState(ux, uy, lx, ly);
    UpdateSelPtsPolArray();
    ComputeSelPtsAvgCenter();
    DrawSelectedPts(activeView());
    record->SelectPts->SetNewSelPts(SelPts, NumSelPts);
    history().Push(std::move(record));
}

void SelectGrpPols() {
    if (CurrToolMode != ToolSelect || !onObjectPage() || CurrSelEntityType != SelGroup) return;
    if (!IsPolygonEditing() && !texturing()) return;
    auto record = newRecord(ActSelectPols);
    record->SelectPols->SetOldSelPols(SelPols, NumSelPols);
    int32_t ux = 0, uy = 0, lx = 0, ly = 0;
    SetUpperAndLowerCorners(ux, uy, lx, ly);
    SelectPolsByKeyState(ux, uy, lx, ly);
    UpdateEditGeomTabBasedOnPolsSelected();
    UpdateSelPolsRelatedPtsArray();
    ComputeSelPolsAvgCenter();
    DrawSelectedPols(activeView());
    record->SelectPols->SetNewSelPols(SelPols, NumSelPols);
    history().Push(std::move(record));
}

void DeleteSelPtsPols() {
    if (NumSelPts == 0) return;
    auto record = newRecord(ActDeleteGrpPols);
    record->DeleteGrpPols->SetDeletedPols(SelPtsPols, NumSelPtsPols);
    history().Push(std::move(record));
    FakeDeletePols(SelPtsPols, NumSelPtsPols);
    NumSelPts = 0;
    NumSelPtsPols = 0;
    NumSelPols = 0;
    UpdateStatusBar();
    UpdateCameras();
}

}  // namespace Globals
