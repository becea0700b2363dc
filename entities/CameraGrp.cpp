#include "CameraGrp.h"

#include "MarkerCube.h"

#include "core/Globals.h"
#include "core/Maths.h"
#include "ombrel.h"

#include <algorithm>

namespace {

constexpr const char* kMarkerName = "CameraGrp";

}  // namespace

void CameraGrp::Add(int32_t CamHandle) {
    Entry e;
    e.CamHandle = CamHandle;
    e.MarkerGrp = entities::BuildMarkerCube(kMarkerName, Globals::WorldSize / 100, 0, 0, 255);
    entries_.push_back(e);
    AlignToCamera(CamHandle, e.MarkerGrp);
}

bool CameraGrp::Remove(int32_t CamHandle) {
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.CamHandle == CamHandle; });
    if (it == entries_.end()) return false;
    if (it->MarkerGrp) OMBREL_group_delete_members(it->MarkerGrp);
    entries_.erase(it);
    return true;
}

void CameraGrp::RemoveAll() {
    for (const Entry& e : entries_)
        if (e.MarkerGrp) OMBREL_group_delete_members(e.MarkerGrp);
    entries_.clear();
}

bool CameraGrp::HideUnhide(int32_t CamHandle, int32_t Hide_YesOrNo) {
    const Entry* e = find(CamHandle);
    if (!e) return false;
    if (e->MarkerGrp) OMBREL_group_disable(e->MarkerGrp, Hide_YesOrNo);
    return true;
}

void CameraGrp::SetLocation(int32_t CamHandle, const Point3d& Loc) {
    OMBREL_camera_set_location1(CamHandle, Loc.data());
    if (int32_t marker = GetCamGrp(CamHandle)) OMBREL_group_set_location(marker, Loc.data());
}

void CameraGrp::SetDirection(int32_t CamHandle, const Point3d& Dir) {
    OMBREL_camera_set_direction1(CamHandle, Dir.data());
    if (int32_t marker = GetCamGrp(CamHandle)) {
        Point3d a1, a2, a3;
        OMBREL_camera_get_axis_system(CamHandle, a1.data(), a2.data(), a3.data());
        OMBREL_group_rotate_to_match_axis_system(marker, a1.data(), a2.data(), a3.data());
    }
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
    Point3d a1, a2, a3, loc = {0, 0, 0};
    OMBREL_camera_get_axis_system(CamHandle, a1.data(), a2.data(), a3.data());
    OMBREL_group_rotate_to_match_axis_system(MarkerGrp, a1.data(), a2.data(), a3.data());
    OMBREL_camera_get_location1(CamHandle, loc.data());
    OMBREL_group_set_location(MarkerGrp, loc.data());
}
