// The selected entities by kind (groups, cameras, lights, tracks), each list in the
// order of adding, with one bounding box per selected group.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class BoundingBox;

class MultipleSelection {
public:
    int32_t NumOfGrps() const { return static_cast<int32_t>(grps_.size()); }
    int32_t NumOfCams() const { return static_cast<int32_t>(cams_.size()); }
    int32_t NumOfLights() const { return static_cast<int32_t>(lights_.size()); }
    int32_t NumOfTracks() const { return static_cast<int32_t>(tracks_.size()); }
    int32_t TotalEntities() const { return NumOfGrps() + NumOfCams() + NumOfLights() + NumOfTracks(); }

    // Nothing happens for a handle already present. A new group gets a box
    // initialised from it.
    void AddGrpHandles(int32_t handle);
    void AddLightHandles(int32_t handle);
    void AddCamHandles(int32_t handle);
    void AddTrackHandles(int32_t handle);

    // Nothing happens for an absent handle; the others keep their order (and the
    // groups their boxes).
    void RemoveGrp(int32_t handle);
    void RemoveLight(int32_t handle);
    void RemoveCam(int32_t handle);
    void RemoveTrack(int32_t handle);

    // 1-based positions; a position outside 1..count raises an error.
    int32_t GetGrp(int32_t position) const;
    int32_t GetLight(int32_t position) const;
    int32_t GetCam(int32_t position) const;
    int32_t GetTrack(int32_t position) const;
    void GetGrp(int32_t position, int32_t& handle) const { handle = GetGrp(position); }
    void GetLight(int32_t position, int32_t& handle) const { handle = GetLight(position); }
    void GetCam(int32_t position, int32_t& handle) const { handle = GetCam(position); }
    void GetTrack(int32_t position, int32_t& handle) const { handle = GetTrack(position); }
    // The box of the group at that position.
    const BoundingBox& GetGrpBndBox(int32_t position) const;

    bool HasGrp(int32_t handle) const;
    bool HasLight(int32_t handle) const;
    bool HasCam(int32_t handle) const;
    bool HasTrack(int32_t handle) const;

    void Reset();

    // Draws every group's box in the view.
    void DrawGrpBndBoxes(int Index) const;
    // Re-reads every box from its group after groups moved or changed size.
    void InitializeBndBoxes();
    // Draws every group as a wireframe in the view.
    void DrawGrpsWires(int Index) const;

private:
    std::vector<int32_t> grps_, cams_, lights_, tracks_;
    std::vector<std::shared_ptr<BoundingBox>> boxes_;  // boxes_[i] belongs to grps_[i]
};
