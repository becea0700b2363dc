// Hiding and showing from the View menu and the trees' menus, each undoable. A
// command that would change nothing records nothing: with three records, a
// useless one could make an older deletion final.
#include "Form1.h"

#include "core/BoundingBox.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/SelectionChange.h"
#include "undo/ActionUndoRedo.h"
#include "undo/EntityDeletion.h"
#include "undo/HideUnhide.h"
#include "undo/PushThenRun.h"
#include "views/ViewRedraw.h"

#include <functional>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<ActionUndoRedo> newRecord(int32_t code) {
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = code;
    record->SetActionObjects();
    return record;
}

// Pushes a hide record and hides, unless it would hide nothing.
void hideRecorded(std::unique_ptr<ActionUndoRedo> record, const std::function<void()>& hide) {
    if (record->HideSel->HidesNothing()) return;
    undo::PushThenRun(std::move(record), hide);
}

void unhideRecorded(std::unique_ptr<ActionUndoRedo> record, const std::function<void()>& show) {
    if (record->UnHideSel->ShowsNothing()) return;
    undo::PushThenRun(std::move(record), show);
}

// The current selection for a record: a stale single entity counts as none, and
// stale handles leave the multiple selection.
void dropStaleSelection() {
    using namespace Globals;
    if (CurrSelEntityType == SelMultiple && CurrMultiSel) DropStaleEntities(*CurrMultiSel);
    if (CurrSelEntityType != SelMultiple && CurrSelEntityType != SelNone &&
        !IsLiveEntity(CurrSelEntityType, CurrSelEntityHandle))
        CurrSelEntityType = SelNone;
}

// Whether the selection holds a group, camera or light: what Hide Selected hides.
bool holdsHideable(int32_t kind) {
    using namespace Globals;
    if (kind == SelGroup || kind == SelCamera || kind == SelLight) return true;
    return kind == SelMultiple && CurrMultiSel &&
           CurrMultiSel->NumOfGrps() + CurrMultiSel->NumOfCams() + CurrMultiSel->NumOfLights() > 0;
}

// The camera of the camera tree's selected node, or 0.
int32_t nodeCamera(const KeyedTree& tree) {
    QTreeWidgetItem* node = tree.SelectedItem();
    return node ? KeyedTree::HandleOf(KeyedTree::Key(node), "Camera") : 0;
}

// The light menu's light: the current one (a right press on its node selects it).
int32_t currentLight() { return Globals::CurrentLiveEntity(SelLight); }

// One entity hidden, recorded with the selection as it stood; nothing is
// selected afterwards.
void hideOne(int32_t kind, int32_t handle) {
    using namespace Globals;
    auto record = newRecord(ActHide);
    record->HideSel->SetEntityHidden(kind, handle, nullptr);
    record->HideSel->SetEntitySelBeforeHide(CurrSelEntityType, CurrSelEntityHandle, CurrMultiSel.get());
    hideRecorded(std::move(record), [=] { HideUnhideEntity(kind, handle, true); });
    DeselectAfterHide();
}

// One entity shown, recorded; the selection stays.
void showOne(int32_t kind, int32_t handle) {
    auto record = newRecord(ActUnhide);
    record->UnHideSel->SetEntityUnHidden(kind, handle, nullptr);
    unhideRecorded(std::move(record), [=] { Globals::HideUnhideEntity(kind, handle, false); });
}

}  // namespace

// ---- View menu

void Form1::mnuHideSelected_Click() {
    using namespace Globals;
    dropStaleSelection();
    const int32_t kind = CurrSelEntityType, handle = CurrSelEntityHandle;
    // Tracks, backgrounds and an empty selection are never hidden: the selection stays.
    if (!holdsHideable(kind)) return;
    auto record = newRecord(ActHide);
    record->HideSel->SetEntityHidden(kind, handle, CurrMultiSel.get());
    record->HideSel->SetEntitySelBeforeHide(kind, handle, CurrMultiSel.get());
    // A selection hidden already is recorded by nothing, and still let go.
    hideRecorded(std::move(record), [kind, handle] { HideUnhideEntity(kind, handle, true); });
    DeselectAfterHide();
}

void Form1::mnuHideUnSelected_Click() {
    using namespace Globals;
    dropStaleSelection();
    const int32_t kind = CurrSelEntityType, handle = CurrSelEntityHandle;
    auto record = newRecord(ActHide);
    record->HideSel->SetEntitySelBeforeHide(kind, handle, CurrMultiSel.get());
    record->HideSel->SetEntitySelAfterHide(kind, handle, CurrMultiSel.get());
    record->HideSel->HidingUnselected();
    const std::vector<int32_t> hiddenAncestors = HiddenAncestorsOfSelection();
    hideRecorded(std::move(record), [kind, handle, &hiddenAncestors] {
        // A top-level group holding the selection is left alone: hiding it would
        // hide the selection too.
        HideUnhideAllGroups(true, TopLevelGroupsOfSelection());
        HideUnhideAllCameras(true);
        HideUnhideAllLights(true);
        // The selection is shown again, even what was hidden before, with the
        // hidden groups that hold it.
        HideUnhideEntity(kind, handle, false);
        for (int32_t group : hiddenAncestors) HideUnhideGroup(group, false);
    });
    UpdateCameras();
}

void Form1::mnuUnhideAll_Click() {
    using namespace Globals;
    auto record = newRecord(ActUnhide);
    record->UnHideSel->UnHidingAllObjects();
    if (record->UnHideSel->ShowsNothing()) return;
    unhideRecorded(std::move(record), [] {
        HideUnhideAllCameras(false);
        HideUnhideAllGroups(false);
        HideUnhideAllLights(false);
    });
    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelNone;
    ThingsToDoOnSelectedEntityChange();
    RedrawAfterHideUnhide();
}

// ---- group tree menu: the menu's group is the current one

void Form1::mnuGroupMenuHide_Click() {
    if (const int32_t group = Globals::CurrentLiveEntity(SelGroup)) hideOne(SelGroup, group);
}

void Form1::mnuGroupMenuUnhide_Click() {
    using namespace Globals;
    const int32_t group = CurrentLiveEntity(SelGroup);
    if (group == 0) return;
    showOne(SelGroup, group);
    if (SelGrpBndBox) SelGrpBndBox->Initialize(CurrSelEntityHandle);
    RedrawAfterHideUnhide();
}

// ---- camera tree menu: the camera of the node the menu was opened on

void Form1::mnuCamTrkBkMenuHide_Click() {
    const int32_t camera = nodeCamera(*trwCamTrackBK);
    if (Globals::IsLiveEntity(SelCamera, camera)) hideOne(SelCamera, camera);
}

void Form1::mnuCamTrkBkMenuUnhide_Click() {
    const int32_t camera = nodeCamera(*trwCamTrackBK);
    if (!Globals::IsLiveEntity(SelCamera, camera)) return;
    showOne(SelCamera, camera);
    Globals::RedrawAfterHideUnhide();
}

void Form1::mnuCamTrkBkMenuHideAll_Click() {
    auto record = newRecord(ActHide);
    record->HideSel->HidingAllCamerasInScene();
    hideRecorded(std::move(record), [] { Globals::HideUnhideAllCameras(true); });
    Globals::RedrawAfterHideUnhide();
}

void Form1::mnuCamTrkBkMenuShowAll_Click() {
    auto record = newRecord(ActUnhide);
    record->UnHideSel->UnHidingAllCamerasInScene();
    unhideRecorded(std::move(record), [] { Globals::HideUnhideAllCameras(false); });
    Globals::RedrawAfterHideUnhide();
}

// ---- light tree menu

void Form1::mnuLightMenuHide_Click() {
    if (const int32_t light = currentLight()) hideOne(SelLight, light);
}

void Form1::mnuLightMenuUnhide_Click() {
    const int32_t light = currentLight();
    if (light == 0) return;
    showOne(SelLight, light);
    UpdateCameras();
}

void Form1::mnuLightMenuHideAll_Click() {
    auto record = newRecord(ActHide);
    record->HideSel->HidingAllLightsInScene();
    hideRecorded(std::move(record), [] { Globals::HideUnhideAllLights(true); });
    UpdateCameras();
}

void Form1::mnuLightMenuShowAll_Click() {
    auto record = newRecord(ActUnhide);
    record->UnHideSel->UnHidingAllLightsInScene();
    unhideRecorded(std::move(record), [] { Globals::HideUnhideAllLights(false); });
    UpdateCameras();
}
