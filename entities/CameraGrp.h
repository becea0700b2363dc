// The registry of camera markers: one marker group per registered camera, and the
// operations that move and turn a camera together with its marker.
#pragma once

#include "MarkerList.h"

#include "core/CoreTypes.h"

#include <cstdint>

class CameraGrp {
public:
    // Registers the camera and builds its marker at the camera, its lens pointing
    // where the camera looks, scaled to the world.
    void Add(int32_t CamHandle);
    // Deletes the first marker of the camera; false when it is not registered.
    bool Remove(int32_t CamHandle);
    void RemoveAll();
    // 1 hides the camera's marker, 0 shows it; false when it is not registered.
    bool HideUnhide(int32_t CamHandle, int32_t Hide_YesOrNo);

    // The camera whose marker is the group, or 0.
    int32_t GetCamHandle(int32_t CamGrp) const { return markers_.OwnerOf(CamGrp); }
    // The camera's marker group, or 0.
    int32_t GetCamGrp(int32_t CamHandle) const { return markers_.MarkerOf(CamHandle); }
    int32_t NumOfMarkers() const { return markers_.Count(); }
    // 1-based place of the camera in registration order, or -1.
    int32_t IndexOf(int32_t CamHandle) const { return markers_.IndexOf(CamHandle); }
    // The scale Add last applied.
    double MarkerScale() const { return MarkerScale_; }

    void SetLocation(int32_t CamHandle, const Point3d& Loc);
    void SetDirection(int32_t CamHandle, const Point3d& Dir);
    void Move(int32_t CamHandle, const Point3d& MoveDist);
    // Turns camera and marker about one world axis (degrees) and swings the camera's
    // location about the given centre, or about itself.
    void Rotate(int32_t CamHandle, double RotateAmt, int32_t AboutAxis, bool UseGivenRotCtr, double RotCtrX,
                double RotCtrY, double RotCtrZ);
    // Scales the camera's marker by NewScale about its own location.
    void ScaleGrp(int32_t CamHandle, double NewScale) { markers_.Scale(CamHandle, NewScale); }

private:
    void AlignToCamera(int32_t CamHandle, int32_t MarkerGrp) const;

    entities::MarkerList markers_;
    double MarkerScale_ = 0;
};
