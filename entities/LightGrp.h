// The registry of light markers: one marker group per registered light, the omni
// or the directional shape; a light's direction follows its marker's x axis.
#pragma once

#include "MarkerList.h"

#include "core/CoreTypes.h"

#include <cstdint>

class LightGrp {
public:
    // Registers the light and builds its marker at the light, x axis along its
    // direction, scaled to the world: LightType 0 the omni shape, 1 the directional.
    void Add(int32_t LightHandle, int32_t LightType = 0);
    bool Remove(int32_t LightHandle);
    void RemoveAll();
    bool HideUnhide(int32_t LightHandle, int32_t Hide_YesOrNo);

    // The light whose marker is the group, or 0.
    int32_t GetLightHandle(int32_t LightGrpHandle) const { return markers_.OwnerOf(LightGrpHandle); }
    // The light's marker group, or 0.
    int32_t GetLightGrp(int32_t LightHandle) const { return markers_.MarkerOf(LightHandle); }
    int32_t NumOfMarkers() const { return markers_.Count(); }
    // 1-based place of the light in registration order, or -1.
    int32_t IndexOf(int32_t LightHandle) const { return markers_.IndexOf(LightHandle); }
    // The scale Add or a switch last applied.
    double MarkerScale() const { return MarkerScale_; }

    void SetLocation(int32_t LightHandle, const Point3d& Loc);
    void SetDirection(int32_t LightHandle, const Point3d& Dir);
    void Move(int32_t LightHandle, const Point3d& MoveDist);
    // Turns the marker about one world axis (degrees), gives the light the marker's
    // new x axis as its direction and swings its location about the centre.
    void Rotate(int32_t LightHandle, double RotateAmt, int32_t AboutAxis, bool UseGivenRotCtr, double RotCtrX,
                double RotCtrY, double RotCtrZ);
    void ScaleGrp(int32_t LightHandle, double NewScale) { markers_.Scale(LightHandle, NewScale); }
    // Replace the light's marker by a new one of that shape, hidden when the old
    // one was; nothing for a light that is not registered.
    void SwitchToDirectional(int32_t LightHandle);
    void SwitchToOmni(int32_t LightHandle);

private:
    void AlignToLight(int32_t LightHandle, int32_t MarkerGrp) const;
    void switchShape(int32_t LightHandle, bool directional);

    entities::MarkerList markers_;
    double MarkerScale_ = 0;
};
