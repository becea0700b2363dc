// Deleting with the Delete key and the trees' Delete items. Groups, cameras,
// lights and multiple selections are recorded first and then fake-deleted, so
// Undo brings them back; a background is deleted at once and for good.
#include "Form1.h"

#include "core/FakeDeletion.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/SelectionChange.h"
#include "core/TrackDeletion.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo.h"
#include "undo/EntityDeletion.h"
#include "undo/PushThenRun.h"
#include "views/ViewRedraw.h"

#include <QComboBox>
#include <QTabWidget>

#include <functional>

namespace {

// The record goes on the history before the entity leaves the world.
void deleteRecorded(int32_t kind, int32_t handle, const std::function<void()>& fakeDelete) {
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActDelete;
    record->SetActionObjects();
    record->Delete->SetDeletedEntity(kind, handle);
    undo::PushThenRun(std::move(record), fakeDelete);
}

}  // namespace

void Form1::DeleteSelEntity() {
    using namespace Globals;
    const int32_t kind = CurrSelEntityType, handle = CurrSelEntityHandle;
    switch (kind) {
    case SelGroup:
        // Editing the group's geometry, the key deletes points or polygons, never the group.
        if (tabWorkspace->currentIndex() == 1 && cmbObj->currentText() == "Edit Geometry") {
            const QString part = cmbObjEditGeom->currentText();
            if (part == "Point" && cmdEditPtDelete_Click) cmdEditPtDelete_Click();
            if (part == "Polygon") cmdDeletePol_Click();
            return;
        }
        mnuGroupMenuDelete_Click();
        break;
    case SelCamera:
    case SelTrack:
    case SelBackground:
        // The current selection, whatever node the camera tree has selected.
        if (IsLiveEntity(kind, handle)) DeleteCamTrkBkEntity(kind, handle);
        break;
    case SelLight: mnuLightMenuDelete_Click(); break;
    case SelMultiple: DeleteMultiple(); break;
    default: break;
    }
}

void Form1::DeleteGroup(int32_t Grp) {
    deleteRecorded(SelGroup, Grp, [Grp] { Globals::FakeDeleteGroup(Grp); });
}

void Form1::DeleteCamera(int32_t Cam) {
    deleteRecorded(SelCamera, Cam, [Cam] { Globals::FakeDeleteCamera(Cam); });
}

// The record names the track deleted, whatever is selected in the views.
void Form1::DeleteTrack(int32_t Track) {
    deleteRecorded(SelTrack, Track, [Track] { Globals::FakeDeleteTrack(Track); });
}

void Form1::DeleteLight(int32_t Light) {
    deleteRecorded(SelLight, Light, [Light] { Globals::FakeDeleteLight(Light); });
}

void Form1::DeleteMultiple() {
    using namespace Globals;
    if (!CurrMultiSel) return;
    DropStaleEntities(*CurrMultiSel);
    // Lights and tracks of a multiple selection stay: without a group or a camera
    // the command deletes nothing and records nothing.
    if (CurrMultiSel->NumOfGrps() == 0 && CurrMultiSel->NumOfCams() == 0) return;
    deleteRecorded(SelMultiple, CurrSelEntityHandle, [] { FakeDeleteMultiple(); });
}

void Form1::mnuGroupMenuDelete_Click() {
    using namespace Globals;
    const int32_t group = CurrentLiveEntity(SelGroup);
    if (group == 0) return;
    NumSelPtsPols = NumSelPts = NumSelPols = 0;
    DeleteGroup(group);
    CurrSelEntityType = SelNone;
    PrevSelEntityType = SelNone;
    ThingsToDoOnSelectedEntityChange();
    ResetObjModeCombo();
    UpdateCameras();
}

void Form1::mnuLightMenuDelete_Click() {
    using namespace Globals;
    // The light menu's light is the current one: a right press selects it first.
    const int32_t light = CurrentLiveEntity(SelLight);
    if (light == 0) return;
    DeleteLight(light);
    trwLight->SetSelectedItem(trwLight->Item("LIGHT"));
    deselectAfterDeletion();
    UpdateCameras();
}

void Form1::mnuCamTrkBkMenuDelete_Click() {
    // The entity of the node the menu was opened on, found by the handle in its key.
    QTreeWidgetItem* node = trwCamTrackBK->SelectedItem();
    if (!node || !node->parent()) return;  // a folder deletes nothing
    const std::string key = KeyedTree::Key(node), folder = KeyedTree::Key(node->parent());
    if (folder == "CAMERA") DeleteCamTrkBkEntity(SelCamera, KeyedTree::HandleOf(key, "Camera"));
    if (folder == "TRACK") DeleteCamTrkBkEntity(SelTrack, KeyedTree::HandleOf(key, "Track"));
    if (folder == "BACKGROUND") DeleteCamTrkBkEntity(SelBackground, KeyedTree::HandleOf(key, "Background"));
}

void Form1::DeleteCamTrkBkEntity(int32_t Kind, int32_t Handle) {
    using namespace Globals;
    auto selectFolder = [this](const char* folder) {
        QTreeWidgetItem* node = trwCamTrackBK->Item(folder);
        trwCamTrackBK->SetSelectedItem(node);
        trwCamTrackBK->SetImage(node, "Folder");
    };
    switch (Kind) {
    case SelCamera:
        DeleteCamera(Handle);
        selectFolder("CAMERA");
        break;
    case SelTrack: DeleteTrack(Handle); break;
    case SelBackground: {
        OMBREL_background_delete(Handle);
        const std::string key = KeyedTree::NodeKey("Background", Handle);
        if (trwCamTrackBK->Exists(key)) trwCamTrackBK->Remove(key);
        selectFolder("BACKGROUND");
        break;
    }
    default: return;
    }
    deselectAfterDeletion();
    UpdateCameras();
}

void Form1::deselectAfterDeletion() {
    using namespace Globals;
    // The selection before is left, its panel with it (the deleted entity's
    // node is gone already).
    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelNone;
    ThingsToDoOnSelectedEntityChange();
}
