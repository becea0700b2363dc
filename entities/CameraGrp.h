// The registry of camera markers: one marker group per registered camera, and the
// operations that move and turn a camera together with its marker.
#pragma once

#include "core/CoreTypes.h"

#include <cstdint>
#include <vector>

class CameraGrp {
public:
    // Registers the camera and builds its marker at the camera, turned to its axes.
    void Add(int32_t CamHandle);
    // Deletes the first marker of the camera; false when it is not registered.
    bool Remove(int32_t CamHandle);
    void RemoveAll();
    // 1 hides the camera's marker, 0 shows it; false when it is not registered.
    bool HideUnhide(int32_t CamHandle, int32_t Hide_YesOrNo);

    // The camera whose marker is the group, or 0.
    int32_t GetCamHandle(int32_t CamGrp) const {
        for (const Entry& e : entries_)
            if (e.MarkerGrp == CamGrp) return e.CamHandle;
        return 0;
    }
    // The camera's marker group, or 0.
    int32_t GetCamGrp(int32_t CamHandle) const {
        const Entry* e = find(CamHandle);
        return e ? e->MarkerGrp : 0;
    }
    int32_t NumOfMarkers() const { return static_cast<int32_t>(entries_.size()); }

    void SetLocation(int32_t CamHandle, const Point3d& Loc);
    void SetDirection(int32_t CamHandle, const Point3d& Dir);
    void Move(int32_t CamHandle, const Point3d& MoveDist);
    // Turns camera and marker about one world axis (degrees) and swings the camera's
    // location about the given centre, or about itself.
    void Rotate(int32_t CamHandle, double RotateAmt, int32_t AboutAxis, bool UseGivenRotCtr, double RotCtrX,
                double RotCtrY, double RotCtrZ);

private:
    struct Entry {
        int32_t MarkerGrp = 0;
        int32_t CamHandle = 0;
    };
    const Entry* find(int32_t CamHandle) const {
        for (const Entry& e : entries_)
            if (e.CamHandle == CamHandle) return &e;
        return nullptr;
    }
    void AlignToCamera(int32_t CamHandle, int32_t MarkerGrp) const;

    std::vector<Entry> entries_;  // in the order of registration
};
