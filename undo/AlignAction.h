// Undo record of one use of the align dialog: the start and end locations of the
// aligned group, camera or light, or of every group, camera and light of a
// multiple selection (lists laid out 3i-2, 3i-1, 3i from index 1).
#pragma once

#include "Placements.h"

#include "core/CoreTypes.h"
#include "core/MultipleSelection.h"

#include <cstdint>
#include <vector>

using LocationList = std::vector<double>;

class ActionAlign : public undo::ExactPlacements {
public:
    // Each puts the entities at the recorded locations, then writes back the
    // placements recorded before the alignment (after it, for Redo).
    void Undo();
    void Redo();
    // The alignment is done: the end locations are read from the engine now.
    void SetAlignedEntity(int32_t kind, int32_t handle, const Point3d& start, const MultipleSelection& multiSel,
                          const LocationList& grpStarts, const LocationList& camStarts,
                          const LocationList& lightStarts);

private:
    void PlaceAt(const Point3d& loc, const LocationList& grps, const LocationList& cams,
                 const LocationList& lights, bool after);

    int32_t AlignedEntityType = 0;
    int32_t AlignedEntityHandle = 0;
    Point3d FrmLoc = {0, 0, 0};
    Point3d ToLoc = {0, 0, 0};
    MultipleSelection AlignedMultiSel;
    LocationList FrmGrpLocs{0}, FrmCamLocs{0}, FrmLightLocs{0};
    LocationList ToGrpLocs{0}, ToCamLocs{0}, ToLightLocs{0};
};

namespace undo {

// Entry i (from 1) of a location list.
Point3d LocationAt(const LocationList& list, int32_t i);
void SetLocationAt(LocationList& list, int32_t i, const Point3d& loc);

}  // namespace undo
