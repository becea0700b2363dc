#include "SelectionActions.h"

#include "SharedObjects.h"

#include "core/Globals.h"
#include "core/SelectionBookkeeping.h"
#include "core/SelectionCentres.h"
#include "core/SelectionChange.h"
#include "core/WeldedPointsProcedures.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"

namespace {

constexpr int kObjectPage = 1;

// cmbObj after the selected entity changed: a group keeps its editing mode, any
// other kind goes back to "New Object".
void setObjectModeCombo(bool groupComboMayChange) {
    const auto& h = core::windowHooks();
    if (Globals::CurrSelEntityType == SelGroup) {
        if (!groupComboMayChange || !h.objModeCount || h.objModeCount() < 2) return;
        core::callHook(h.setObjModeText,
                       std::string(Globals::IsTextureMappingLoaded() ? "Edit Texture" : "Edit Geometry"));
    } else {
        core::callHook(h.setObjModeText, std::string("New Object"));
    }
}

}  // namespace

// ---- ActionSelect

void ActionSelect::Undo() {
    // The undone selection becomes the previous one, as in Redo, so the
    // selection-changed path sees a change and brings the trees, panels and
    // point state in step (back to nothing included).
    Globals::SetPrevSelEntityToCurrSelEntity();
    Globals::CurrSelEntityType = OldKind;
    Globals::CurrSelEntityHandle = OldHandle;
    BringInStep(OldKind, OldMultiSel);
    Globals::ThingsToDoOnSelectedEntityChange();
    setObjectModeCombo(true);
    if (PolsPart) PolsPart->Undo();
    if (PtsPart) PtsPart->Undo();
}

void ActionSelect::Redo() {
    Globals::SetPrevSelEntityToCurrSelEntity();
    Globals::CurrSelEntityType = NewKind;
    Globals::CurrSelEntityHandle = NewHandle;
    BringInStep(NewKind, NewMultiSel);
    Globals::ThingsToDoOnSelectedEntityChange();
    const auto& page = core::windowHooks().workspacePage;
    setObjectModeCombo(page && page() == kObjectPage);
    if (PolsPart) PolsPart->Redo();
    if (PtsPart) PtsPart->Redo();
}

void ActionSelect::SetNewSelToCurrSel() {
    NewKind = Globals::CurrSelEntityType;
    NewHandle = Globals::CurrSelEntityHandle;
    if (NewKind == SelMultiple) Globals::CopyMultipleSelection(NewMultiSel, undo::CurrMultiSel());
}

void ActionSelect::SetOldSelToPrevSel() {
    OldKind = Globals::PrevSelEntityType;
    OldHandle = Globals::PrevSelEntityHandle;
    if (OldKind == SelMultiple)
        Globals::CopyMultipleSelection(OldMultiSel, undo::Shared(Globals::PrevMultiSel, "The previous selection"));
    PolsPart.reset();
    PtsPart.reset();
    if (Globals::NumSelPols != 0) {
        PolsPart = std::make_unique<ActionSelectPols>();
        PolsPart->SetOldSelPols(Globals::SelPols, Globals::NumSelPols);
        PolsPart->SetNewSelPols(Globals::SelPols, 0);
    }
    if (Globals::NumSelPts != 0) {
        PtsPart = std::make_unique<ActionSelectPts>();
        PtsPart->SetOldSelPts(Globals::SelPts, Globals::NumSelPts);
        PtsPart->SetNewSelPts(Globals::SelPts, 0);
    }
}

void ActionSelect::BringInStep(int32_t kind, const MultipleSelection& multiSel) {
    switch (kind) {
    case SelGroup:
        undo::SelGrpBndBox().Initialize(Globals::CurrSelEntityHandle);
        Globals::BuildWeldedPoints(Globals::CurrSelEntityHandle);
        break;
    case SelLight: core::callHook(core::windowHooks().showLightPanel, true); break;
    case SelMultiple:
        Globals::CopyMultipleSelection(undo::CurrMultiSel(), multiSel);
        undo::CurrMultiSel().InitializeBndBoxes();
        Globals::ComputeSelObjsAvgCenter();
        HideLightPanel();
        break;
    case SelNone: HideLightPanel(); break;
    default: break;
    }
}

void ActionSelect::HideLightPanel() { core::callHook(core::windowHooks().showLightPanel, false); }

// ---- ActionSelectPols

void ActionSelectPols::Undo() { Restore(Pols.Old, Pols.OldCount); }
void ActionSelectPols::Redo() { Restore(Pols.New, Pols.NewCount); }

void ActionSelectPols::Restore(const std::vector<int32_t>& pols, int32_t count) {
    Globals::SelPols.checkCount(count);
    Globals::NumSelPols = count;
    WriteHandleList(Globals::SelPols, pols, count);
    Globals::UpdateSelPolsRelatedPtsArray();
    Globals::ComputeSelPolsAvgCenter();
    if (Globals::IsTextureMappingLoaded()) {
        core::callHook(core::windowHooks().textureMappingResetSelections);
        core::callHook(core::windowHooks().textureMappingSetupWithNewZoom);
    }
    Globals::UpdateEditGeomTabBasedOnPolsSelected();
}

// ---- ActionSelectPts

void ActionSelectPts::Undo() { Restore(Pts.Old, Pts.OldCount); }
void ActionSelectPts::Redo() { Restore(Pts.New, Pts.NewCount); }

void ActionSelectPts::Restore(const std::vector<int32_t>& pts, int32_t count) {
    Globals::SelPts.checkCount(count);
    Globals::NumSelPts = count;
    WriteHandleList(Globals::SelPts, pts, count);
    Globals::ComputeSelPtsAvgCenter();
    // A later point Delete removes the owners of exactly these points.
    Globals::UpdateSelPtsPolArray();
}

// ---- ActionSelectCoords

void ActionSelectCoords::Undo() { Restore(OldPts, OldOwners, OldCount, OldType); }
void ActionSelectCoords::Redo() { Restore(NewPts, NewOwners, NewCount, NewType); }

void ActionSelectCoords::Restore(const std::vector<int32_t>& pts, const std::vector<int32_t>& owners, int32_t count,
                                 int32_t type) {
    const auto& h = core::windowHooks();
    if (type == 0) core::callHook(h.textureMappingSetSelPtsPartOfSelPols, pts.data(), owners.data(), count);
    if (type == 1) core::callHook(h.textureMappingSetSelPts, pts.data(), owners.data(), count);
    if (Globals::IsTextureMappingLoaded()) core::callHook(h.textureMappingSetupWithNewZoom);
}

// ---- ActionSelectTrkPts

void ActionSelectTrkPts::Undo() { Restore(TrkPts.Old, TrkPts.OldCount); }
void ActionSelectTrkPts::Redo() { Restore(TrkPts.New, TrkPts.NewCount); }

void ActionSelectTrkPts::Restore(const std::vector<int32_t>& pts, int32_t count) {
    Globals::NumSelTrkPts = count;
    Globals::SelTrkPts.assign(pts.begin(), pts.begin() + count + 1);
    Globals::ComputeSelTrackPtsAvgCenter();
}
