#include "EntityDeletion.h"

#include "SharedObjects.h"

#include "core/FakeDeletion.h"
#include "core/SelectionChange.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"

#include "ombrel.h"

#include <algorithm>
#include <unordered_set>

namespace Globals {
namespace {

void selectNothing() {
    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelNone;
    undo::CurrMultiSel().Reset();
    ThingsToDoOnSelectedEntityChange();
    UpdateCameras();
}

// Lights the user had switched off before deleting them: bringing one back
// must not switch it on.
std::unordered_set<int32_t>& lightsOffBeforeDeletion() {
    static std::unordered_set<int32_t> lights;
    return lights;
}

// A group below a selected one, at any depth, comes back with that one's sub-tree.
bool holdsGroupOrAncestor(const MultipleSelection& selection, int32_t group) {
    for (int32_t g = group, steps = 0; g != 0 && steps < 10000000; g = OMBREL_group_get_father_group(g), ++steps)
        if (selection.HasGrp(g)) return true;
    return false;
}

template <class Get, class Remove>
void dropStale(int32_t kind, int32_t count, Get get, Remove remove) {
    std::vector<int32_t> stale;
    for (int32_t i = 1; i <= count; ++i)
        if (!IsLiveEntity(kind, get(i))) stale.push_back(get(i));
    for (int32_t h : stale) remove(h);
}

}  // namespace

void FakeDeleteCamera(int32_t camera) {
    undo::SceneCameras().HideUnhide(camera, 1);
    OMBREL_camera_set_save_flag(camera, 0);
    core::callHook(core::windowHooks().releaseViewsOfCamera, camera);
    core::callHook(core::windowHooks().removeCameraNode, camera);
}

void UnDeleteCamera(int32_t camera) {
    // A merge in between rebuilt the markers of the saved cameras only.
    if (!undo::SceneCameras().HideUnhide(camera, 0)) undo::SceneCameras().Add(camera);
    OMBREL_camera_set_save_flag(camera, 1);
    core::callHook(core::windowHooks().addCameraNode, camera);
    core::callHook(core::windowHooks().restoreViewsOfCamera, camera);
}

void DeleteCameraPermanently(int32_t camera) {
    undo::SceneCameras().Remove(camera);
    OMBREL_camera_delete(camera);
}

void FakeDeleteLight(int32_t light) {
    undo::SceneLights().HideUnhide(light, 1);
    OMBREL_light_set_save_flag(light, 0);
    if (OMBREL_light_is_disabled(light) == 1)
        lightsOffBeforeDeletion().insert(light);
    else
        lightsOffBeforeDeletion().erase(light);
    OMBREL_light_disable(light, 1);
    core::callHook(core::windowHooks().removeLightNode, light);
}

void UnDeleteLight(int32_t light) {
    if (!undo::SceneLights().HideUnhide(light, 0))
        undo::SceneLights().Add(light, (OMBREL_light_get_type_of_light(light) & 1) != 0 ? 1 : 0);
    OMBREL_light_set_save_flag(light, 1);
    OMBREL_light_disable(light, lightsOffBeforeDeletion().erase(light) > 0 ? 1 : 0);
    core::callHook(core::windowHooks().addLightNode, light);
}

void DeleteLightPermanently(int32_t light) {
    lightsOffBeforeDeletion().erase(light);
    undo::SceneLights().Remove(light);
    OMBREL_light_delete(light);
}

void FakeDeleteMultiple() {
    const MultipleSelection& selection = undo::CurrMultiSel();
    for (int32_t i = 1; i <= selection.NumOfGrps(); ++i) FakeDeleteGroup(selection.GetGrp(i));
    for (int32_t i = 1; i <= selection.NumOfCams(); ++i) FakeDeleteCamera(selection.GetCam(i));
    selectNothing();
}

void UnDeleteMultiple(const MultipleSelection& selection, const std::vector<int32_t>& fathers,
                      const std::vector<int32_t>& places) {
    const int32_t groups = std::min<int32_t>(selection.NumOfGrps(), static_cast<int32_t>(fathers.size()) - 1);
    // All groups are back in the engine before any node is made: a selected group
    // below another selected one then comes with its father's sub-tree, whatever
    // the order of the selection.
    std::vector<int32_t> handles{0};
    for (int32_t i = 1; i <= groups; ++i) {
        handles.push_back(selection.GetGrp(i));
        OMBREL_group_set_father_group(handles.back(), fathers[static_cast<std::size_t>(i)]);
    }
    PutAtPlaces(handles, groups, places);
    for (int32_t i = 1; i <= groups; ++i) OMBREL_group_disable(handles[static_cast<std::size_t>(i)], 0);
    // Last deleted, first back: each node finds the siblings it stood among.
    for (int32_t i = groups; i >= 1; --i) {
        const int32_t father = fathers[static_cast<std::size_t>(i)];
        if (!holdsGroupOrAncestor(selection, father))
            core::callHook(core::windowHooks().addGroupNode, selection.GetGrp(i), father);
    }
    for (int32_t i = 1; i <= selection.NumOfCams(); ++i) UnDeleteCamera(selection.GetCam(i));
    selectNothing();
}

bool IsLiveEntity(int32_t kind, int32_t handle) {
    int32_t engineKind = OMBREL_KIND_NONE;
    switch (kind) {
    case SelGroup: engineKind = OMBREL_KIND_GROUP; break;
    case SelCamera: engineKind = OMBREL_KIND_CAMERA; break;
    case SelTrack: engineKind = OMBREL_KIND_TRACK; break;
    case SelLight: engineKind = OMBREL_KIND_LIGHT; break;
    case SelBackground: engineKind = OMBREL_KIND_BACKGROUND; break;
    default: return false;
    }
    return handle != 0 && OMBREL_ext_handle_kind(handle) == engineKind;
}

int32_t CurrentLiveEntity(int32_t kind) {
    return CurrSelEntityType == kind && IsLiveEntity(kind, CurrSelEntityHandle) ? CurrSelEntityHandle : 0;
}

void DropStaleEntities(MultipleSelection& selection) {
    auto& s = selection;
    dropStale(SelGroup, s.NumOfGrps(), [&](int32_t i) { return s.GetGrp(i); }, [&](int32_t h) { s.RemoveGrp(h); });
    dropStale(SelCamera, s.NumOfCams(), [&](int32_t i) { return s.GetCam(i); }, [&](int32_t h) { s.RemoveCam(h); });
    dropStale(SelLight, s.NumOfLights(), [&](int32_t i) { return s.GetLight(i); }, [&](int32_t h) { s.RemoveLight(h); });
    dropStale(SelTrack, s.NumOfTracks(), [&](int32_t i) { return s.GetTrack(i); }, [&](int32_t h) { s.RemoveTrack(h); });
}

void DeleteMultiplePermanently(const MultipleSelection& selection) {
    for (int32_t i = 1; i <= selection.NumOfGrps(); ++i) DeleteGroupPermanently(selection.GetGrp(i));
    for (int32_t i = 1; i <= selection.NumOfCams(); ++i) DeleteCameraPermanently(selection.GetCam(i));
}

}  // namespace Globals
