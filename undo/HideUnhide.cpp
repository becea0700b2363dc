#include "HideUnhide.h"

#include "SharedObjects.h"

#include "core/MultipleSelection.h"
#include "core/ObjectSelection.h"
#include "core/SelectionChange.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"

#include <functional>

namespace Globals {
namespace {

bool ask(const std::function<bool(int32_t)>& hook, int32_t handle) { return hook && hook(handle); }

void setImage(int32_t kind, int32_t handle, bool hide) {
    core::callHook(core::windowHooks().setHiddenImage, kind, handle, hide);
}

void disableMarker(int32_t marker, bool hide) {
    if (marker != 0) OMBREL_group_disable(marker, hide ? 1 : 0);
}

}  // namespace

bool IsGrpHidden(int32_t group) { return ask(core::windowHooks().isGrpHidden, group); }
bool IsCamHidden(int32_t camera) { return ask(core::windowHooks().isCamHidden, camera); }
bool IsLightHidden(int32_t light) { return ask(core::windowHooks().isLightHidden, light); }

void HideUnhideGroup(int32_t group, bool hide) {
    setImage(SelGroup, group, hide);
    OMBREL_group_disable(group, hide ? 1 : 0);
}

void HideUnhideCamera(int32_t camera, bool hide) {
    setImage(SelCamera, camera, hide);
    disableMarker(undo::SceneCameras().GetCamGrp(camera), hide);
}

void HideUnhideLight(int32_t light, bool hide) {
    setImage(SelLight, light, hide);
    disableMarker(undo::SceneLights().GetLightGrp(light), hide);
}

void HideUnhideMultiple(bool hide) {
    const MultipleSelection& selection = undo::CurrMultiSel();
    for (int32_t i = 1; i <= selection.NumOfGrps(); ++i) HideUnhideGroup(selection.GetGrp(i), hide);
    for (int32_t i = 1; i <= selection.NumOfCams(); ++i) HideUnhideCamera(selection.GetCam(i), hide);
    for (int32_t i = 1; i <= selection.NumOfLights(); ++i) HideUnhideLight(selection.GetLight(i), hide);
}

void HideUnhideEntity(int32_t kind, int32_t handle, bool hide) {
    switch (kind) {
    case SelGroup: HideUnhideGroup(handle, hide); break;
    case SelCamera: HideUnhideCamera(handle, hide); break;
    case SelLight: HideUnhideLight(handle, hide); break;
    case SelMultiple: HideUnhideMultiple(hide); break;
    default: break;
    }
}

std::unordered_set<int32_t> TopLevelGroupsOfSelection() {
    std::unordered_set<int32_t> top;
    if (CurrSelEntityType == SelGroup) top.insert(GetTopMostFatherGrpExcludingRootGrp(CurrSelEntityHandle));
    if (CurrSelEntityType == SelMultiple && CurrMultiSel)
        for (int32_t i = 1; i <= CurrMultiSel->NumOfGrps(); ++i)
            top.insert(GetTopMostFatherGrpExcludingRootGrp(CurrMultiSel->GetGrp(i)));
    top.erase(0);
    return top;
}

std::vector<int32_t> HiddenAncestorsOfSelection() {
    std::vector<int32_t> selected;
    if (CurrSelEntityType == SelGroup) selected.push_back(CurrSelEntityHandle);
    if (CurrSelEntityType == SelMultiple && CurrMultiSel)
        for (int32_t i = 1; i <= CurrMultiSel->NumOfGrps(); ++i) selected.push_back(CurrMultiSel->GetGrp(i));
    std::vector<int32_t> hidden;
    std::unordered_set<int32_t> seen;
    for (int32_t g : selected)
        for (int32_t f = OMBREL_group_get_father_group(g); f != 0 && f != RootGrp && seen.insert(f).second;
             f = OMBREL_group_get_father_group(f))
            if (IsGrpHidden(f)) hidden.push_back(f);
    return hidden;
}

void HideUnhideAllGroups(bool hide, const std::unordered_set<int32_t>& kept) {
    ForEachTopLevelGroup([&](int32_t g) {
        if (!kept.contains(g)) HideUnhideGroup(g, hide);
    });
}

void HideUnhideAllCameras(bool hide) {
    ForEachWorldCamera([&](int32_t c) { HideUnhideCamera(c, hide); });
}

void HideUnhideAllLights(bool hide) {
    ForEachWorldLight([&](int32_t l) { HideUnhideLight(l, hide); });
}

void DeselectAfterHide() {
    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelNone;
    ThingsToDoOnSelectedEntityChange();
    UpdateCameras();
}

void RedrawAfterHideUnhide() { UpdateCameras(); }

}  // namespace Globals
