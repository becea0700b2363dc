#include "SelectionBookkeeping.h"

#include "CoreError.h"
#include "Globals.h"
#include "MultipleSelection.h"
#include "TrackProcedures.h"

#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "ombrel.h"

namespace Globals {
namespace {

MultipleSelection& need(const std::shared_ptr<MultipleSelection>& sel, const char* name) {
    if (!sel) core::raiseError(std::string(name) + " has not been created");
    return *sel;
}

bool sameList(int32_t count, auto getCurr, auto getPrev) {
    for (int32_t i = 1; i <= count; ++i)
        if (getCurr(i) != getPrev(i)) return false;
    return true;
}

int32_t cameraMarker(int32_t camera) { return SceneCameras ? SceneCameras->GetCamGrp(camera) : 0; }
int32_t lightMarker(int32_t light) { return SceneLights ? SceneLights->GetLightGrp(light) : 0; }

// The marker's box, or a box of zero size at the entity when it has no marker:
// group 0 would mean the whole world to the engine.
void markerBox(int32_t marker, const Point3d& location, Box6d& box) {
    if (marker != 0) {
        OMBREL_group_get_bounding_box(marker, box.data());
        return;
    }
    box = {location[0], location[1], location[2], location[0], location[1], location[2]};
}

void cameraBox(int32_t camera, Box6d& box) {
    Point3d loc = {0, 0, 0};
    OMBREL_camera_get_location1(camera, loc.data());
    markerBox(cameraMarker(camera), loc, box);
}

void lightBox(int32_t light, Box6d& box) {
    Point3d loc = {0, 0, 0};
    OMBREL_light_get_location(light, loc.data());
    markerBox(lightMarker(light), loc, box);
}

void widen(Box6d& box, const Box6d& part) {
    for (int k = 0; k < 3; ++k) {
        if (part[k] < box[k]) box[k] = part[k];
        if (part[k + 3] > box[k + 3]) box[k + 3] = part[k + 3];
    }
}

}  // namespace

void SaveMultiSelAsPrev() {
    MultipleSelection& prev = need(PrevMultiSel, "The previous selection");
    const MultipleSelection& curr = need(CurrMultiSel, "The current selection");
    if (&prev == &curr) return;
    prev.Reset();
    for (int32_t i = 1; i <= curr.NumOfGrps(); ++i) prev.AddGrpHandles(curr.GetGrp(i));
    for (int32_t i = 1; i <= curr.NumOfLights(); ++i) prev.AddLightHandles(curr.GetLight(i));
    for (int32_t i = 1; i <= curr.NumOfCams(); ++i) prev.AddCamHandles(curr.GetCam(i));
    for (int32_t i = 1; i <= curr.NumOfTracks(); ++i) prev.AddTrackHandles(curr.GetTrack(i));
}

void CopyMultipleSelection(MultipleSelection& dst, const MultipleSelection& src) {
    if (&dst == &src) return;
    dst.Reset();
    for (int32_t i = 1; i <= src.NumOfCams(); ++i) dst.AddCamHandles(src.GetCam(i));
    for (int32_t i = 1; i <= src.NumOfGrps(); ++i) dst.AddGrpHandles(src.GetGrp(i));
    for (int32_t i = 1; i <= src.NumOfLights(); ++i) dst.AddLightHandles(src.GetLight(i));
    for (int32_t i = 1; i <= src.NumOfTracks(); ++i) dst.AddTrackHandles(src.GetTrack(i));
}

bool IsMultiSelSameAsPrev() {
    const MultipleSelection& c = need(CurrMultiSel, "The current selection");
    const MultipleSelection& p = need(PrevMultiSel, "The previous selection");
    if (c.TotalEntities() != p.TotalEntities() || c.NumOfCams() != p.NumOfCams() ||
        c.NumOfGrps() != p.NumOfGrps() || c.NumOfLights() != p.NumOfLights() || c.NumOfTracks() != p.NumOfTracks())
        return false;
    return sameList(c.NumOfCams(), [&](int32_t i) { return c.GetCam(i); }, [&](int32_t i) { return p.GetCam(i); }) &&
           sameList(c.NumOfGrps(), [&](int32_t i) { return c.GetGrp(i); }, [&](int32_t i) { return p.GetGrp(i); }) &&
           sameList(c.NumOfLights(), [&](int32_t i) { return c.GetLight(i); },
                    [&](int32_t i) { return p.GetLight(i); }) &&
           sameList(c.NumOfTracks(), [&](int32_t i) { return c.GetTrack(i); },
                    [&](int32_t i) { return p.GetTrack(i); });
}

bool IsCurrSelSameAsPrevSel() {
    if (CurrSelEntityType != PrevSelEntityType) return false;
    if (CurrSelEntityType == SelMultiple) return IsMultiSelSameAsPrev();
    return CurrSelEntityHandle == PrevSelEntityHandle;
}

bool IsCamSelected(int32_t camera) {
    if (CurrSelEntityType == SelCamera) return CurrSelEntityHandle == camera;
    return CurrSelEntityType == SelMultiple && CurrMultiSel && CurrMultiSel->HasCam(camera);
}

bool IsLightSelected(int32_t light) {
    if (CurrSelEntityType == SelLight) return CurrSelEntityHandle == light;
    return CurrSelEntityType == SelMultiple && CurrMultiSel && CurrMultiSel->HasLight(light);
}

bool IsGrpSelected(int32_t group) {
    if (CurrSelEntityType == SelGroup) return CurrSelEntityHandle == group;
    return CurrSelEntityType == SelMultiple && CurrMultiSel && CurrMultiSel->HasGrp(group);
}

void GetSelectionBoundingBox(int32_t kind, int32_t handle, Box6d& box, const MultipleSelection& selection) {
    switch (kind) {
    case SelGroup: OMBREL_group_get_bounding_box(handle, box.data()); break;
    case SelCamera: cameraBox(handle, box); break;
    case SelTrack: GetTrackExtents(handle, box); break;
    case SelLight: lightBox(handle, box); break;
    case SelMultiple: {
        Box6d part;
        for (int32_t i = 1; i <= selection.NumOfGrps(); ++i) {
            part = box;
            OMBREL_group_get_bounding_box(selection.GetGrp(i), part.data());
            widen(box, part);
        }
        for (int32_t i = 1; i <= selection.NumOfCams(); ++i) {
            cameraBox(selection.GetCam(i), part);
            widen(box, part);
        }
        for (int32_t i = 1; i <= selection.NumOfLights(); ++i) {
            lightBox(selection.GetLight(i), part);
            widen(box, part);
        }
        break;
    }
    default:
        if (OMBREL_group_get_number_of_polygons(0) != 0) OMBREL_group_get_bounding_box(0, box.data());
        break;
    }
}

}  // namespace Globals
