#include "LightGrp.h"

#include "MarkerCube.h"

#include "core/Globals.h"
#include "core/Maths.h"
#include "ombrel.h"

#include <algorithm>

namespace {

constexpr const char* kMarkerName = "LightGrp";

}  // namespace

void LightGrp::Add(int32_t LightHandle, int32_t) {
    Entry e;
    e.LightHandle = LightHandle;
    e.MarkerGrp = entities::BuildMarkerCube(kMarkerName, Globals::WorldSize / 100, 255, 255, 0);
    entries_.push_back(e);
    AlignToLight(LightHandle, e.MarkerGrp);
}

bool LightGrp::Remove(int32_t LightHandle) {
    auto it =
        std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.LightHandle == LightHandle; });
    if (it == entries_.end()) return false;
    if (it->MarkerGrp) OMBREL_group_delete_members(it->MarkerGrp);
    entries_.erase(it);
    return true;
}

void LightGrp::RemoveAll() {
    for (const Entry& e : entries_)
        if (e.MarkerGrp) OMBREL_group_delete_members(e.MarkerGrp);
    entries_.clear();
}

bool LightGrp::HideUnhide(int32_t LightHandle, int32_t Hide_YesOrNo) {
    const Entry* e = find(LightHandle);
    if (!e) return false;
    if (e->MarkerGrp) OMBREL_group_disable(e->MarkerGrp, Hide_YesOrNo);
    return true;
}

void LightGrp::SetLocation(int32_t LightHandle, const Point3d& Loc) {
    OMBREL_light_set_location(LightHandle, Loc.data());
    if (int32_t marker = GetLightGrp(LightHandle)) OMBREL_group_set_location(marker, Loc.data());
}

void LightGrp::SetDirection(int32_t LightHandle, const Point3d& Dir) {
    OMBREL_light_set_direction(LightHandle, Dir.data());
    if (int32_t marker = GetLightGrp(LightHandle)) {
        const Point3d zero = {0, 0, 0}, up = {0, 0, 1};
        OMBREL_group_rotate_to_match_axis_system(marker, Dir.data(), zero.data(), up.data());
    }
}

void LightGrp::Move(int32_t LightHandle, const Point3d& MoveDist) {
    Point3d loc = {0, 0, 0};
    OMBREL_light_get_location(LightHandle, loc.data());
    Maths::AddVector(loc, MoveDist);
    OMBREL_light_set_location(LightHandle, loc.data());
    if (int32_t marker = GetLightGrp(LightHandle)) OMBREL_group_move(marker, MoveDist.data(), OMBREL_MODE_WORLD);
}

void LightGrp::Rotate(int32_t LightHandle, double RotateAmt, int32_t AboutAxis, bool UseGivenRotCtr, double RotCtrX,
                      double RotCtrY, double RotCtrZ) {
    Point3d centre = {0, 0, 0};
    if (UseGivenRotCtr)
        Maths::SetVector(centre, RotCtrX, RotCtrY, RotCtrZ);
    else
        OMBREL_light_get_location(LightHandle, centre.data());
    if (int32_t marker = GetLightGrp(LightHandle)) {
        OMBREL_group_rotate(marker, RotateAmt, OMBREL_MODE_WORLD, AboutAxis);
        Point3d x, w;
        OMBREL_group_calculate_axis_system(marker, x.data(), w.data(), w.data());
        OMBREL_light_set_direction(LightHandle, x.data());
    } else {
        // Without a marker the direction turns by itself, the same way.
        Point3d dir = {0, 0, 0};
        OMBREL_light_get_direction(LightHandle, dir.data());
        Maths::RotatePointAboutAxis(dir, RotateAmt, AboutAxis, {0, 0, 0});
        OMBREL_light_set_direction(LightHandle, dir.data());
    }
    Point3d p = {0, 0, 0};
    OMBREL_light_get_location(LightHandle, p.data());
    Maths::RotatePointAboutAxis(p, RotateAmt, AboutAxis, centre);
    SetLocation(LightHandle, p);
}

void LightGrp::AlignToLight(int32_t LightHandle, int32_t MarkerGrp) const {
    Point3d dir = {0, 0, 0}, loc = {0, 0, 0};
    const Point3d zero = {0, 0, 0};
    OMBREL_light_get_direction(LightHandle, dir.data());
    OMBREL_group_rotate_to_match_axis_system(MarkerGrp, dir.data(), zero.data(), zero.data());
    OMBREL_light_get_location(LightHandle, loc.data());
    OMBREL_group_set_location(MarkerGrp, loc.data());
}
