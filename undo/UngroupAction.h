// The undo record of ungrouping one group from the group tree's menu or the
// Group menu. It keeps the group by handle, so the same engine group comes back.
#pragma once

#include <cstdint>
#include <vector>

class ActionUnGroup {
public:
    // The group comes back under its father at its place, its children under it.
    void Undo();
    // Ungroups it again.
    void Redo();
    // Before the ungroup: the group, its father, its child groups in order and
    // whether it is hidden.
    void SetUngroupedGrp(int32_t group);
    // Released while in force, the group it emptied is destroyed.
    void Release();

    bool IsUndone() const { return Undone; }

private:
    int32_t Group = 0;
    int32_t Father = 0;
    int32_t Place = -1;  // among the father's children
    std::vector<int32_t> Children;
    bool Hidden = false;
    bool Emptied = false;  // no polygons of its own: ungrouping takes it out of the world
    bool Undone = false;
};

namespace undo {

// The recorded Ungroup of the menus: one record around UngroupGroup(group,
// false). A group without child groups has nothing to ungroup: nothing happens.
void UngroupWithUndo(int32_t group);

}  // namespace undo
