// The registry of light markers: one marker group per registered light; a light's
// direction follows its marker's x axis.
#pragma once

#include "core/CoreTypes.h"

#include <cstdint>
#include <vector>

class LightGrp {
public:
    // Registers the light and builds its marker at the light, x axis along its
    // direction. The marker kind (0 omni, 1 directional) picks the full shapes that
    // come later; both are the cube for now.
    void Add(int32_t LightHandle, int32_t LightType = 0);
    bool Remove(int32_t LightHandle);
    void RemoveAll();
    bool HideUnhide(int32_t LightHandle, int32_t Hide_YesOrNo);

    // The light whose marker is the group, or 0.
    int32_t GetLightHandle(int32_t LightGrpHandle) const {
        for (const Entry& e : entries_)
            if (e.MarkerGrp == LightGrpHandle) return e.LightHandle;
        return 0;
    }
    // The light's marker group, or 0.
    int32_t GetLightGrp(int32_t LightHandle) const {
        const Entry* e = find(LightHandle);
        return e ? e->MarkerGrp : 0;
    }
    int32_t NumOfMarkers() const { return static_cast<int32_t>(entries_.size()); }

    void SetLocation(int32_t LightHandle, const Point3d& Loc);
    void SetDirection(int32_t LightHandle, const Point3d& Dir);
    void Move(int32_t LightHandle, const Point3d& MoveDist);
    // Turns the marker about one world axis (degrees), gives the light the marker's
    // new x axis as its direction and swings its location about the centre.
    void Rotate(int32_t LightHandle, double RotateAmt, int32_t AboutAxis, bool UseGivenRotCtr, double RotCtrX,
                double RotCtrY, double RotCtrZ);

private:
    struct Entry {
        int32_t MarkerGrp = 0;
        int32_t LightHandle = 0;
    };
    const Entry* find(int32_t LightHandle) const {
        for (const Entry& e : entries_)
            if (e.LightHandle == LightHandle) return &e;
        return nullptr;
    }
    void AlignToLight(int32_t LightHandle, int32_t MarkerGrp) const;

    std::vector<Entry> entries_;
};
