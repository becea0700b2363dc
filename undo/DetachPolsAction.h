// Undo record of moving the selected polygons of a group into a new group. The
// new group leaves the hierarchy on Undo as a deletion takes it (detached and
// disabled) and comes back under the root group on Redo, always the same group.
#pragma once

#include "HandleList.h"

#include <cstdint>
#include <vector>

class ActionDetachPols {
public:
    // The polygons back in the old group at their places, the new group taken out; the old group
    // becomes the selection.
    void Undo();
    // The polygons in the new group again, back under the root group and selected.
    void Redo();
    // SelPols(1..NumSelPols), with their places in the old group: call before
    // they move.
    void SetDetachedPolsToCurrSel();
    void SetNewGrp(int32_t group) { NewGrp = group; }
    void SetOldGrp(int32_t group) { OldGrp = group; }

private:
    void MovePolsTo(int32_t group) const;
    static void Select(int32_t group);

    std::vector<int32_t> Pols{0};  // from index 1
    std::vector<int32_t> Places{0};  // in the old group
    int32_t Count = 0;
    int32_t OldGrp = 0;
    int32_t NewGrp = 0;
};
