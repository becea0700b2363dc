#include "HideActions.h"

#include "HideUnhide.h"
#include "SharedObjects.h"

#include "core/SelectionBookkeeping.h"
#include "core/SelectionCentres.h"

#include "platform/prompts.h"

namespace {

void hideOrShow(const RecordedSelection& what, bool hide) {
    switch (what.Kind) {
    case SelGroup: Globals::HideUnhideGroup(what.Handle, hide); break;
    case SelCamera: Globals::HideUnhideCamera(what.Handle, hide); break;
    case SelLight: Globals::HideUnhideLight(what.Handle, hide); break;
    case SelMultiple: Globals::HideUnhideMultiple(hide); break;
    default: break;  // tracks and backgrounds are never hidden
    }
}

// Only groups, cameras and lights are ever hidden or shown.
bool changesNothing(const RecordedSelection& what) {
    switch (what.Kind) {
    case SelGroup:
    case SelCamera:
    case SelLight: return what.Handle == 0;
    case SelMultiple:
        return what.Entities.NumOfGrps() + what.Entities.NumOfCams() + what.Entities.NumOfLights() == 0;
    default: return true;
    }
}

void checkMultiSel(int32_t kind, const MultipleSelection* multiSel) {
    if (kind == SelMultiple && !multiSel) platform::msgBox("MultipleObjs cannot be nothing!");
}

// Starts a collecting mode: kind 6, no entities yet.
MultipleSelection& collectInto(RecordedSelection& what) {
    what.Kind = SelMultiple;
    what.Handle = 0;
    what.Entities.Reset();
    return what.Entities;
}

}  // namespace

void RecordedSelection::Set(int32_t kind, int32_t handle, const MultipleSelection* multiSel) {
    Kind = kind;
    Handle = handle;
    if (kind == SelMultiple && multiSel) Globals::CopyMultipleSelection(Entities, *multiSel);
}

void RecordedSelection::MakeCurrent() const {
    Globals::CurrSelEntityType = Kind;
    Globals::CurrSelEntityHandle = Handle;
    MultipleSelection& current = undo::CurrMultiSel();
    // The multiple selection agrees with the kind, as the selection path leaves it.
    if (Kind == SelMultiple) {
        Globals::CopyMultipleSelection(current, Entities);
        Globals::ComputeSelObjsAvgCenter();
    } else {
        current.Reset();
        if (Kind == SelGroup) current.AddGrpHandles(Handle);
    }
}

// ---- ActionHide

void ActionHide::SetEntityHidden(int32_t kind, int32_t handle, const MultipleSelection* multiSel) {
    checkMultiSel(kind, multiSel);
    Hidden_.Set(kind, handle, multiSel);
}

void ActionHide::SetEntitySelBeforeHide(int32_t kind, int32_t handle, const MultipleSelection* multiSel) {
    Before.Set(kind, handle, multiSel);
}

void ActionHide::SetEntitySelAfterHide(int32_t kind, int32_t handle, const MultipleSelection* multiSel) {
    After.Set(kind, handle, multiSel);
}

void ActionHide::HidingAllLightsInScene() {
    MultipleSelection& lights = collectInto(Hidden_);
    Globals::ForEachWorldLight([&](int32_t l) {
        if (!Globals::IsLightHidden(l)) lights.AddLightHandles(l);
    });
}

void ActionHide::HidingAllCamerasInScene() {
    MultipleSelection& cameras = collectInto(Hidden_);
    Globals::ForEachWorldCamera([&](int32_t c) {
        if (!Globals::IsCamHidden(c)) cameras.AddCamHandles(c);
    });
}

void ActionHide::HidingUnselected() {
    MultipleSelection& unselected = collectInto(Hidden_);
    Globals::ForEachWorldCamera([&](int32_t c) {
        if (!Globals::IsCamHidden(c) && !Globals::IsCamSelected(c)) unselected.AddCamHandles(c);
    });
    Globals::ForEachWorldLight([&](int32_t l) {
        if (!Globals::IsLightHidden(l) && !Globals::IsLightSelected(l)) unselected.AddLightHandles(l);
    });
    const auto selected = Globals::TopLevelGroupsOfSelection();
    Globals::ForEachTopLevelGroup([&](int32_t g) {
        if (!Globals::IsGrpHidden(g) && !selected.contains(g)) unselected.AddGrpHandles(g);
    });
}

bool ActionHide::HidesNothing() const { return changesNothing(Hidden_); }

void ActionHide::Undo() {
    if (Hidden_.Kind == SelMultiple) Globals::CopyMultipleSelection(undo::CurrMultiSel(), Hidden_.Entities);
    hideOrShow(Hidden_, false);
    if (Hidden_.Kind == SelMultiple) undo::CurrMultiSel().InitializeBndBoxes();
    Before.MakeCurrent();
}

void ActionHide::Redo() {
    Globals::CopyMultipleSelection(undo::CurrMultiSel(), Hidden_.Entities);
    hideOrShow(Hidden_, true);
    After.MakeCurrent();
}

// ---- ActionUnhide

void ActionUnhide::SetEntityUnHidden(int32_t kind, int32_t handle, const MultipleSelection* multiSel) {
    checkMultiSel(kind, multiSel);
    Shown_.Set(kind, handle, multiSel);
}

void ActionUnhide::SetEntitySelBeforeUnhide(int32_t kind, int32_t handle, const MultipleSelection* multiSel) {
    Before.Set(kind, handle, multiSel);
}

void ActionUnhide::UnHidingAllLightsInScene() {
    MultipleSelection& lights = collectInto(Shown_);
    Globals::ForEachWorldLight([&](int32_t l) {
        if (Globals::IsLightHidden(l)) lights.AddLightHandles(l);
    });
}

void ActionUnhide::UnHidingAllCamerasInScene() {
    MultipleSelection& cameras = collectInto(Shown_);
    Globals::ForEachWorldCamera([&](int32_t c) {
        if (Globals::IsCamHidden(c)) cameras.AddCamHandles(c);
    });
}

void ActionUnhide::UnHidingAllObjects() {
    MultipleSelection& hidden = collectInto(Shown_);
    Globals::ForEachTopLevelGroup([&](int32_t g) {
        if (Globals::IsGrpHidden(g)) hidden.AddGrpHandles(g);
    });
    Globals::ForEachWorldCamera([&](int32_t c) {
        if (Globals::IsCamHidden(c)) hidden.AddCamHandles(c);
    });
    Globals::ForEachWorldLight([&](int32_t l) {
        if (Globals::IsLightHidden(l)) hidden.AddLightHandles(l);
    });
}

bool ActionUnhide::ShowsNothing() const { return changesNothing(Shown_); }

void ActionUnhide::Undo() {
    Globals::CopyMultipleSelection(undo::CurrMultiSel(), Shown_.Entities);
    hideOrShow(Shown_, true);
    Before.MakeCurrent();
}

void ActionUnhide::Redo() {
    Globals::CopyMultipleSelection(undo::CurrMultiSel(), Shown_.Entities);
    hideOrShow(Shown_, false);
    RecordedSelection().MakeCurrent();
}
