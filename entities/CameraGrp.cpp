#include "CameraGrp.h"

#include "MarkerShapes.h"

#include "core/Globals.h"
#include "core/Maths.h"
#include "ombrel.h"

namespace {

// The marker's lens is on its +x side and the camera looks along -A1: the marker
// takes the camera's axes turned half a turn about A3, (-A1, -A2, A3). Mirroring
// the shape instead would turn its faces inside out.
void turnMarkerToCamera(int32_t CamHandle, int32_t MarkerGrp) {
    Point3d a1 = {0, 0, 0}, a2 = {0, 0, 0}, a3 = {0, 0, 0};
    OMBREL_camera_get_axis_system(CamHandle, a1.data(), a2.data(), a3.data());
    const Point3d x = {-a1[0], -a1[1], -a1[2]}, y = {-a2[0], -a2[1], -a2[2]};
    OMBREL_group_rotate_to_match_axis_system(MarkerGrp, x.data(), y.data(), a3.data());
}

}  // namespace

void CameraGrp::Add(int32_t CamHandle) {
    const int32_t marker = entities::BuildMarker(entities::CameraShape());
    markers_.Append(CamHandle, marker);
    AlignToCamera(CamHandle, marker);
    MarkerScale_ = entities::MarkerScaleFor(Globals::WorldSize);
    ScaleGrp(CamHandle, MarkerScale_);
}

bool CameraGrp::Remove(int32_t CamHandle) { return markers_.Remove(CamHandle); }

void CameraGrp::RemoveAll() { markers_.RemoveAll(); }

bool CameraGrp::HideUnhide(int32_t CamHandle, int32_t Hide_YesOrNo) {
    return markers_.HideUnhide(CamHandle, Hide_YesOrNo);
}

void CameraGrp::SetLocation(int32_t CamHandle, const Point3d& Loc) {
    OMBREL_camera_set_location1(CamHandle, Loc.data());
    if (int32_t marker = GetCamGrp(CamHandle)) OMBREL_group_set_location(marker, Loc.data());
}

void CameraGrp::SetDirection(int32_t CamHandle, const Point3d& Dir) {
    OMBREL_camera_set_direction1(CamHandle, Dir.data());
    if (int32_t marker = GetCamGrp(CamHandle)) turnMarkerToCamera(CamHandle, marker);
}

void CameraGrp::Move(int32_t CamHandle, const Point3d& MoveDist) {
    OMBREL_camera_move(CamHandle, OMBREL_MODE_WORLD, MoveDist[0], MoveDist[1], MoveDist[2]);
    if (int32_t marker = GetCamGrp(CamHandle)) OMBREL_group_move(marker, MoveDist.data(), OMBREL_MODE_WORLD);
}

void CameraGrp::Rotate(int32_t CamHandle, double RotateAmt, int32_t AboutAxis, bool UseGivenRotCtr, double RotCtrX,
                       double RotCtrY, double RotCtrZ) {
    Point3d centre = {0, 0, 0};
    if (UseGivenRotCtr)
        Maths::SetVector(centre, RotCtrX, RotCtrY, RotCtrZ);
    else
        OMBREL_camera_get_location1(CamHandle, centre.data());
    switch (AboutAxis) {
    case 0: OMBREL_camera_rotate_x(CamHandle, RotateAmt, OMBREL_MODE_WORLD); break;
    case 1: OMBREL_camera_rotate_y(CamHandle, RotateAmt, OMBREL_MODE_WORLD); break;
    case 2: OMBREL_camera_rotate_z(CamHandle, RotateAmt, OMBREL_MODE_WORLD); break;
    default: break;
    }
    if (int32_t marker = GetCamGrp(CamHandle)) OMBREL_group_rotate(marker, RotateAmt, OMBREL_MODE_WORLD, AboutAxis);
    Point3d p = {0, 0, 0};
    OMBREL_camera_get_location1(CamHandle, p.data());
    Maths::RotatePointAboutAxis(p, RotateAmt, AboutAxis, centre);
    SetLocation(CamHandle, p);
}

void CameraGrp::AlignToCamera(int32_t CamHandle, int32_t MarkerGrp) const {
    Point3d loc = {0, 0, 0};
    turnMarkerToCamera(CamHandle, MarkerGrp);
    OMBREL_camera_get_location1(CamHandle, loc.data());
    OMBREL_group_set_location(MarkerGrp, loc.data());
}
