#include "CreationDeletionActions.h"

#include "EntityDeletion.h"
#include "SharedObjects.h"

#include "core/CoreError.h"
#include "core/FakeDeletion.h"
#include "core/Globals.h"
#include "core/SelectionBookkeeping.h"
#include "core/SelectionChange.h"
#include "core/TrackDeletion.h"
#include "core/WeldedPointsProcedures.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"

#include "ombrel.h"

#include <algorithm>
#include <string>

namespace {

[[noreturn]] void cannotRecord(const char* what, int32_t kind) {
    core::raiseError(std::string(what) + " an entity of kind " + std::to_string(kind) +
                     " cannot be recorded for undo");
}

}  // namespace

void RecordedMultiSel::SetToCurrSel() {
    undo::CopyCurrMultiSelWithoutTracks(Entities);
    Fathers.assign(1, 0);
    std::vector<int32_t> groups;
    for (int32_t i = 1; i <= Entities.NumOfGrps(); ++i) {
        Fathers.push_back(OMBREL_group_get_father_group(Entities.GetGrp(i)));
        groups.push_back(Entities.GetGrp(i));
    }
    Places = Globals::PlacesOf(groups);
    Places.insert(Places.begin(), -1);
}

// ---- ActionDelete

void ActionDelete::SetDeletedEntity(int32_t kind, int32_t handle) {
    switch (kind) {
    case SelGroup:
        Father = OMBREL_group_get_father_group(handle);
        Place = Globals::GroupPlace(handle);
        break;
    case SelCamera:
    case SelTrack:
    case SelLight: break;
    case SelMultiple: Deleted.SetToCurrSel(); break;
    default: cannotRecord("Deleting", kind);
    }
    DeletedKind = kind;
    DeletedHandle = handle;
}

void ActionDelete::Undo() {
    switch (DeletedKind) {
    case SelGroup: Globals::UnDeleteGroup(DeletedHandle, Father, Place); break;
    case SelCamera: Globals::UnDeleteCamera(DeletedHandle); break;
    case SelTrack: Globals::UnDeleteTrack(DeletedHandle); break;
    case SelLight: Globals::UnDeleteLight(DeletedHandle); break;
    case SelMultiple:
        Globals::UnDeleteMultiple(Deleted.Entities, Deleted.Fathers, Deleted.Places);
        Globals::CopyMultipleSelection(undo::CurrMultiSel(), Deleted.Entities);
        break;
    default: break;
    }
    // What was selected meanwhile is left, in the trees and panels too.
    Globals::SetPrevSelEntityToCurrSelEntity();
    Globals::CurrSelEntityType = DeletedKind;
    Globals::CurrSelEntityHandle = DeletedHandle;
    Globals::ThingsToDoOnSelectedEntityChange();
    Undone = true;
}

void ActionDelete::Redo() {
    switch (DeletedKind) {
    case SelGroup: Globals::FakeDeleteGroup(DeletedHandle); break;
    case SelCamera: Globals::FakeDeleteCamera(DeletedHandle); break;
    case SelTrack: Globals::FakeDeleteTrack(DeletedHandle); break;
    case SelLight: Globals::FakeDeleteLight(DeletedHandle); break;
    case SelMultiple:
        // The recorded entities, whatever the selection became since.
        Globals::CopyMultipleSelection(undo::CurrMultiSel(), Deleted.Entities);
        Globals::FakeDeleteMultiple();
        break;
    default: break;
    }
    Globals::SetPrevSelEntityToCurrSelEntity();
    Globals::CurrSelEntityType = SelNone;
    Globals::ThingsToDoOnSelectedEntityChange();
    Undone = false;
}

void ActionDelete::Release() {
    if (Undone) return;
    switch (DeletedKind) {
    case SelGroup: Globals::DeleteGroupPermanently(DeletedHandle); break;
    case SelCamera: Globals::DeleteCameraPermanently(DeletedHandle); break;
    case SelTrack: Globals::DeleteTrackPermanently(DeletedHandle); break;
    case SelLight: Globals::DeleteLightPermanently(DeletedHandle); break;
    case SelMultiple: Globals::DeleteMultiplePermanently(Deleted.Entities); break;
    default: break;
    }
}

// ---- ActionCreate

void ActionCreate::SetCreatedEntity(int32_t kind, int32_t handle) {
    switch (kind) {
    case SelGroup: Father = OMBREL_group_get_father_group(handle); break;
    case SelCamera:
    case SelTrack:
    case SelLight: break;
    case SelMultiple: Created.SetToCurrSel(); break;
    default: cannotRecord("Creating", kind);
    }
    CreatedKind = kind;
    CreatedHandle = handle;
    SelectionChange.SetNewSelToCurrSel();
    SelectionChange.SetOldSelToPrevSel();
}

void ActionCreate::Undo() {
    switch (CreatedKind) {
    case SelGroup:
        Globals::FakeDeleteGroup(CreatedHandle);
        undo::TakeOutOfWorld(Merged);
        break;
    case SelCamera:
        Globals::FakeDeleteCamera(CreatedHandle);
        Globals::CurrSelEntityType = SelNone;
        break;
    case SelLight:
        Globals::FakeDeleteLight(CreatedHandle);
        Globals::CurrSelEntityType = SelNone;
        break;
    case SelTrack: Globals::FakeDeleteTrack(CreatedHandle); break;
    case SelMultiple:
        Globals::CopyMultipleSelection(undo::CurrMultiSel(), Created.Entities);
        Globals::FakeDeleteMultiple();
        break;
    default: break;
    }
    SelectionChange.Undo();
    Undone = true;
}

void ActionCreate::Redo() {
    switch (CreatedKind) {
    case SelGroup:
        Globals::UnDeleteGroup(CreatedHandle, Father);
        undo::BringBackToWorld(Merged);
        break;
    case SelCamera:
        // Right after the creation no view looked through the camera: released
        // while none does, it has no view to look through again.
        core::callHook(core::windowHooks().releaseViewsOfCamera, CreatedHandle);
        Globals::UnDeleteCamera(CreatedHandle);
        break;
    case SelTrack: Globals::UnDeleteTrack(CreatedHandle); break;
    case SelLight: Globals::UnDeleteLight(CreatedHandle); break;
    case SelMultiple:
        Globals::UnDeleteMultiple(Created.Entities, Created.Fathers, Created.Places);
        Globals::CopyMultipleSelection(undo::CurrMultiSel(), Created.Entities);
        break;
    default: break;
    }
    SelectionChange.Redo();
    Globals::ThingsToDoOnSelectedEntityChange();
    Undone = false;
}

void ActionCreate::Release() {
    if (!Undone) return;
    switch (CreatedKind) {
    case SelGroup:
        Globals::DeleteGroupPermanently(CreatedHandle);
        undo::DestroyForGood(Merged);
        break;
    case SelCamera: Globals::DeleteCameraPermanently(CreatedHandle); break;
    case SelTrack: Globals::DeleteTrackPermanently(CreatedHandle); break;
    case SelLight: Globals::DeleteLightPermanently(CreatedHandle); break;
    case SelMultiple: Globals::DeleteMultiplePermanently(Created.Entities); break;
    default: break;
    }
}

void ActionCreate::ReplaceHandle(int32_t from, int32_t to) { std::ranges::replace(Merged.Bitmaps, from, to); }

// ---- polygons

void GroupPolygons::FakeDelete() const { Globals::FakeDeletePols(Pols, Count); }
void GroupPolygons::UnDelete() const { Globals::UnDeletePols(Pols, Count, Group, Places); }
void GroupPolygons::DeletePermanently() const { Globals::DeletePolsPermanently(Pols, Count); }

void ActionDeleteGrpPols::Undo() {
    Deleted.UnDelete();
    undo::AddPolNodes(WithNodes, Deleted.Group);
    Globals::SelPols.checkCount(Deleted.Count);
    Globals::NumSelPols = Deleted.Count;
    WriteHandleList(Globals::SelPols, Deleted.Pols, Deleted.Count);
    Globals::UpdateEditGeomTabBasedOnPolsSelected();
    Globals::UpdateStatusBar();
    RebuildWeldedPointsWhileEditingGeometry();
    Undone = true;
}

void ActionDeleteGrpPols::Redo() {
    Deleted.FakeDelete();
    Globals::NumSelPols = 0;
    Globals::UpdateEditGeomTabBasedOnPolsSelected();
    Globals::UpdateStatusBar();
    RebuildWeldedPointsWhileEditingGeometry();
    Undone = false;
}

void ActionDeleteGrpPols::Release() {
    if (!Undone) Deleted.DeletePermanently();
}

int32_t ActionDeleteGrpPols::CurrentGroup() { return Globals::CurrSelEntityHandle; }

void ActionDeleteGrpPols::NoteNodes() {
    WithNodes.clear();
    const auto& h = core::windowHooks();
    if (!h.hasPolNode) return;
    for (int32_t i = 1; i <= Deleted.Count; ++i) {
        const int32_t polygon = Deleted.Pols[static_cast<std::size_t>(i)];
        if (h.hasPolNode(polygon)) WithNodes.push_back(polygon);
    }
}

// Point editing moves welded points too, so its table must see the polygons that
// came back or went, not only polygon editing's.
void ActionDeleteGrpPols::RebuildWeldedPointsWhileEditingGeometry() const {
    if (!Globals::IsPolygonEditing() && !Globals::IsPointEditing()) return;
    Globals::BuildWeldedPoints(Deleted.Group);
    Globals::UpdateSelPolsRelatedPtsArray();
}

void ActionAddPols::Undo() {
    Added.FakeDelete();
    Globals::UpdateStatusBar();
    Undone = true;
}

void ActionAddPols::Redo() {
    Added.UnDelete();
    undo::AddPolNodes(std::vector<int32_t>(Added.Pols.begin() + 1, Added.Pols.begin() + 1 + Added.Count),
                      Added.Group);
    Globals::UpdateStatusBar();
    Undone = false;
}

void ActionAddPols::Release() {
    if (Undone) Added.DeletePermanently();
}

int32_t ActionAddPols::CurrentGroup() { return Globals::CurrSelEntityHandle; }

void undo::AddPolNodes(const std::vector<int32_t>& polygons, int32_t group) {
    const auto& h = core::windowHooks();
    for (int32_t polygon : polygons) {
        if (h.hasPolNode && h.hasPolNode(polygon)) continue;
        // As on their removal, a tree that cannot take the node leaves the polygon as it is.
        try {
            core::callHook(h.addPolNode, polygon, group);
        } catch (...) {
        }
    }
}
