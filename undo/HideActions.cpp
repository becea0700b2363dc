#include "HideActions.h"

#include "HideUnhide.h"
#include "SharedObjects.h"

#include "core/SelectionBookkeeping.h"
#include "core/SelectionCentres.h"
#include "core/SelectionChange.h"

#include "platform/prompts.h"

#include <functional>

namespace {

void hideOrShow(const RecordedSelection& what, bool hide) { Globals::HideUnhideEntity(what.Kind, what.Handle, hide); }

// Each group, camera and light of the list, without going through the selection.
void hideOrShowEach(const MultipleSelection& entities, bool hide) {
    for (int32_t i = 1; i <= entities.NumOfGrps(); ++i) Globals::HideUnhideGroup(entities.GetGrp(i), hide);
    for (int32_t i = 1; i <= entities.NumOfCams(); ++i) Globals::HideUnhideCamera(entities.GetCam(i), hide);
    for (int32_t i = 1; i <= entities.NumOfLights(); ++i) Globals::HideUnhideLight(entities.GetLight(i), hide);
}

bool hiddenAlready(int32_t kind, int32_t handle) {
    switch (kind) {
    case SelGroup: return Globals::IsGrpHidden(handle);
    case SelCamera: return Globals::IsCamHidden(handle);
    case SelLight: return Globals::IsLightHidden(handle);
    default: return false;
    }
}

// Takes out of the list what is hidden already (hidden is true) or shown already.
void keepOnly(MultipleSelection& entities, bool hidden) {
    MultipleSelection drop;
    for (int32_t i = 1; i <= entities.NumOfGrps(); ++i)
        if (Globals::IsGrpHidden(entities.GetGrp(i)) != hidden) drop.AddGrpHandles(entities.GetGrp(i));
    for (int32_t i = 1; i <= entities.NumOfCams(); ++i)
        if (Globals::IsCamHidden(entities.GetCam(i)) != hidden) drop.AddCamHandles(entities.GetCam(i));
    for (int32_t i = 1; i <= entities.NumOfLights(); ++i)
        if (Globals::IsLightHidden(entities.GetLight(i)) != hidden) drop.AddLightHandles(entities.GetLight(i));
    entities.RemoveEvery(drop);
}

bool holdsNothing(const MultipleSelection& entities) {
    return entities.NumOfGrps() + entities.NumOfCams() + entities.NumOfLights() == 0;
}

// Only groups, cameras and lights are ever hidden or shown.
bool changesNothing(const RecordedSelection& what) {
    switch (what.Kind) {
    case SelGroup:
    case SelCamera:
    case SelLight: return what.Handle == 0;
    case SelMultiple: return holdsNothing(what.Entities);
    default: return true;
    }
}

void checkMultiSel(int32_t kind, const MultipleSelection* multiSel) {
    if (kind == SelMultiple && !multiSel) platform::msgBox("MultipleObjs cannot be nothing!");
}

// The world's cameras, lights or top-level groups whose hidden state is the one
// asked for and that the filter keeps.
using Filter = std::function<bool(int32_t)>;
bool any(int32_t) { return true; }

void collectCameras(MultipleSelection& into, bool hidden, const Filter& keep = any) {
    Globals::ForEachWorldCamera([&](int32_t c) {
        if (Globals::IsCamHidden(c) == hidden && keep(c)) into.AddCamHandles(c);
    });
}
void collectLights(MultipleSelection& into, bool hidden, const Filter& keep = any) {
    Globals::ForEachWorldLight([&](int32_t l) {
        if (Globals::IsLightHidden(l) == hidden && keep(l)) into.AddLightHandles(l);
    });
}
void collectGroups(MultipleSelection& into, bool hidden, const Filter& keep = any) {
    Globals::ForEachTopLevelGroup([&](int32_t g) {
        if (Globals::IsGrpHidden(g) == hidden && keep(g)) into.AddGrpHandles(g);
    });
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
    Globals::SetPrevSelEntityToCurrSelEntity();
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
    Globals::ThingsToDoOnSelectedEntityChange();
}

// ---- ActionHide

void ActionHide::SetEntityHidden(int32_t kind, int32_t handle, const MultipleSelection* multiSel) {
    checkMultiSel(kind, multiSel);
    // Only what is not hidden yet: Undo must not show what was hidden before.
    if (hiddenAlready(kind, handle)) {
        Hidden_.Set(SelNone, 0, nullptr);
        return;
    }
    Hidden_.Set(kind, handle, multiSel);
    if (kind == SelMultiple) keepOnly(Hidden_.Entities, false);
}

void ActionHide::SetEntitySelBeforeHide(int32_t kind, int32_t handle, const MultipleSelection* multiSel) {
    Before.Set(kind, handle, multiSel);
}

void ActionHide::SetEntitySelAfterHide(int32_t kind, int32_t handle, const MultipleSelection* multiSel) {
    After.Set(kind, handle, multiSel);
}

void ActionHide::HidingAllLightsInScene() { collectLights(collectInto(Hidden_), false); }

void ActionHide::HidingAllCamerasInScene() { collectCameras(collectInto(Hidden_), false); }

void ActionHide::HidingUnselected() {
    MultipleSelection& unselected = collectInto(Hidden_);
    collectCameras(unselected, false, [](int32_t c) { return !Globals::IsCamSelected(c); });
    collectLights(unselected, false, [](int32_t l) { return !Globals::IsLightSelected(l); });
    const auto selected = Globals::TopLevelGroupsOfSelection();
    collectGroups(unselected, false, [&](int32_t g) { return !selected.contains(g); });

    // The selection ends up seen: its hidden entities and the hidden groups
    // holding its groups are shown, and Undo hides them again.
    MultipleSelection& shown = ShownAgain_.Entities;
    ShownAgain_.Kind = SelMultiple;
    shown.Reset();
    const int32_t kind = Globals::CurrSelEntityType, handle = Globals::CurrSelEntityHandle;
    if (kind == SelGroup) shown.AddGrpHandles(handle);
    if (kind == SelCamera) shown.AddCamHandles(handle);
    if (kind == SelLight) shown.AddLightHandles(handle);
    if (kind == SelMultiple) Globals::CopyMultipleSelection(shown, undo::CurrMultiSel());
    for (int32_t g : Globals::HiddenAncestorsOfSelection()) shown.AddGrpHandles(g);
    keepOnly(shown, true);
}

bool ActionHide::HidesNothing() const { return changesNothing(Hidden_) && holdsNothing(ShownAgain_.Entities); }

void ActionHide::Undo() {
    if (Hidden_.Kind == SelMultiple) Globals::CopyMultipleSelection(undo::CurrMultiSel(), Hidden_.Entities);
    hideOrShow(Hidden_, false);
    hideOrShowEach(ShownAgain_.Entities, true);
    if (Hidden_.Kind == SelMultiple) undo::CurrMultiSel().InitializeBndBoxes();
    Before.MakeCurrent();
}

void ActionHide::Redo() {
    Globals::CopyMultipleSelection(undo::CurrMultiSel(), Hidden_.Entities);
    hideOrShow(Hidden_, true);
    hideOrShowEach(ShownAgain_.Entities, false);
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

void ActionUnhide::UnHidingAllLightsInScene() { collectLights(collectInto(Shown_), true); }

void ActionUnhide::UnHidingAllCamerasInScene() { collectCameras(collectInto(Shown_), true); }

void ActionUnhide::UnHidingAllObjects() {
    MultipleSelection& hidden = collectInto(Shown_);
    collectGroups(hidden, true);
    collectCameras(hidden, true);
    collectLights(hidden, true);
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
