// The selected entities by kind (groups, cameras, lights, tracks), each list in the
// order of adding, with one bounding box per selected group.
#pragma once

#include "CoreTypes.h"

#include <cstdint>
#include <memory>
#include <unordered_set>
#include <vector>

class BoundingBox;

class MultipleSelection {
public:
    int32_t NumOfGrps() const { return grps_.count(); }
    int32_t NumOfCams() const { return cams_.count(); }
    int32_t NumOfLights() const { return lights_.count(); }
    int32_t NumOfTracks() const { return tracks_.count(); }
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
    // Removes every handle that other holds, in one pass over each list.
    void RemoveEvery(const MultipleSelection& other);

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
    // A list in the order of adding, with an index of its handles, so adding and
    // finding stay constant-time in selections of many thousand entities.
    struct Handles {
        std::vector<int32_t> list;
        std::unordered_set<int32_t> index;

        bool contains(int32_t handle) const { return index.count(handle) != 0; }
        bool add(int32_t handle);
        // The position removed, or -1 when the handle is absent.
        std::ptrdiff_t remove(int32_t handle);
        // The positions removed, in increasing order.
        std::vector<std::size_t> removeEvery(const Handles& other);
        void clear();
        int32_t count() const { return static_cast<int32_t>(list.size()); }
    };

    Handles grps_, cams_, lights_, tracks_;
    std::vector<std::shared_ptr<BoundingBox>> boxes_;  // boxes_[i] belongs to grps_.list[i]
    // Every box's drawn corners in one row, gathered at the first draw after the
    // boxes were read or the list changed: the four views then share them
    // instead of each visiting ten thousand boxes scattered in memory.
    mutable std::vector<Point3d> drawnCorners_;
    mutable uint64_t cornersRead_ = 0;  // BoundingBox::Initializations() when gathered
    mutable bool cornersKept_ = false;
};
