#include "LightGrp.h"

#include "MarkerShapes.h"

#include "core/Globals.h"
#include "core/Maths.h"
#include "ombrel.h"

namespace {

int32_t buildShape(bool directional) {
    return entities::BuildMarker(directional ? entities::DirectionalShape() : entities::OmniShape());
}

}  // namespace

void LightGrp::Add(int32_t LightHandle, int32_t LightType) {
    const int32_t marker = buildShape(LightType == 1);
    markers_.Append(LightHandle, marker);
    AlignToLight(LightHandle, marker);
    MarkerScale_ = entities::MarkerScaleFor(Globals::WorldSize);
    ScaleGrp(LightHandle, MarkerScale_);
}

bool LightGrp::Remove(int32_t LightHandle) { return markers_.Remove(LightHandle); }

void LightGrp::RemoveAll() { markers_.RemoveAll(); }

bool LightGrp::HideUnhide(int32_t LightHandle, int32_t Hide_YesOrNo) {
    return markers_.HideUnhide(LightHandle, Hide_YesOrNo);
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
        // Only the x axis is used; the engine lets y and z share one array.
        Point3d x = {0, 0, 0}, w = {0, 0, 0};
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

void LightGrp::SwitchToDirectional(int32_t LightHandle) { switchShape(LightHandle, true); }

void LightGrp::SwitchToOmni(int32_t LightHandle) { switchShape(LightHandle, false); }

void LightGrp::switchShape(int32_t LightHandle, bool directional) {
    const int32_t i = IndexOf(LightHandle);
    if (i < 0) return;
    const int32_t old = GetLightGrp(LightHandle);
    // A hidden light keeps a hidden marker: its node still says so.
    const int32_t hidden = old ? OMBREL_group_is_disable(old) : 0;
    if (old) OMBREL_group_delete_members(old);
    const int32_t marker = buildShape(directional);
    markers_.SetMarker(i, marker);
    Point3d dir = {0, 0, 0}, loc = {0, 0, 0};
    OMBREL_light_get_direction(LightHandle, dir.data());
    OMBREL_light_get_location(LightHandle, loc.data());
    SetDirection(LightHandle, dir);
    SetLocation(LightHandle, loc);
    MarkerScale_ = entities::MarkerScaleFor(Globals::WorldSize);
    ScaleGrp(LightHandle, MarkerScale_);
    if (hidden) OMBREL_group_disable(marker, 1);
}

void LightGrp::AlignToLight(int32_t LightHandle, int32_t MarkerGrp) const {
    Point3d dir = {0, 0, 0}, loc = {0, 0, 0};
    const Point3d zero = {0, 0, 0};
    OMBREL_light_get_direction(LightHandle, dir.data());
    OMBREL_group_rotate_to_match_axis_system(MarkerGrp, dir.data(), zero.data(), zero.data());
    OMBREL_light_get_location(LightHandle, loc.data());
    OMBREL_group_set_location(MarkerGrp, loc.data());
}
