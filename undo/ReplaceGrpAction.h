// The undo record of replacing a group by a rebuilt copy (reduced or made of
// triangles): the copy took the old group's name and place and the old group
// was fake-deleted. Undo and Redo swap the two and give each its own selection.
#pragma once

#include <cstdint>
#include <vector>

class ActionReplaceGrp {
public:
    // The old group comes back with the points and polygons that were selected.
    void Undo();
    // The copy comes back with nothing of it selected.
    void Redo();
    // Before the replacement: the group, its father and the selected points,
    // polygons and point-owning polygons (lists and counts).
    void SetGrpThatWasReplaced(int32_t group, int32_t father);
    void SetGrpReplacedWith(int32_t group);
    // The one of the two that is out of the world can never come back: it goes.
    void Release();

    bool IsUndone() const { return Undone; }

private:
    void Bring(int32_t group, bool hidden, int32_t gone);

    int32_t Replaced = 0;
    int32_t Replacing = 0;
    int32_t Father = 0;
    bool ReplacedHidden = false;
    bool ReplacingHidden = false;
    bool Undone = false;
    std::vector<int32_t> Pts{0}, Pols{0}, PtsPols{0};  // from index 1
    int32_t NumPts = 0, NumPols = 0, NumPtsPols = 0;
};
