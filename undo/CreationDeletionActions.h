// Undo records of creating and deleting. A deletion is a fake deletion until the
// record that could take it back is released: Release finishes the deferred work
// (a deletion in force, or a creation that was undone, is destroyed in the engine).
// The undo record calls Release exactly once, when it leaves the history.
#pragma once

#include "HandleList.h"
#include "SelectionActions.h"

#include <cstdint>
#include <vector>

class ActionCreate {
public:
    // Takes the created entity out of the world and gives the old selection back.
    void Undo();
    // Puts the entity back under the father it had when recorded and selects it.
    void Redo();
    // Call after the entity was created and made the current selection, with the
    // one before it saved as the previous selection. Groups (kind 1) only for now:
    // the other kinds come with their own fake deletions.
    void SetCreatedEntity(int32_t kind, int32_t handle);
    // A creation that was undone is destroyed for good.
    void Release();

    bool IsUndone() const { return Undone; }

private:
    int32_t CreatedKind = 0;
    int32_t CreatedHandle = 0;
    bool Undone = false;
    std::vector<int32_t> Fathers{0};  // from index 1
    ActionSelect SelectionChange;
};

class ActionDeleteGrpPols {
public:
    // Puts the polygons back in their group and selects them.
    void Undo();
    // Fake-deletes them again and selects no polygon.
    void Redo();
    // The polygons (a list used from index 1) of the group CurrSelEntityHandle.
    template <class List>
    void SetDeletedPols(const List& pols, int32_t count) {
        Pols = CopyHandleList(pols, count);
        Count = count;
        Group = CurrentGroup();
    }
    // pols becomes 0..count with the polygons at 1..count.
    void RetrieveDeletedPols(std::vector<int32_t>& pols, int32_t& count) const {
        pols = Pols;
        count = Count;
    }
    // A deletion in force is made final.
    void Release();

    bool IsUndone() const { return Undone; }

private:
    static int32_t CurrentGroup();
    void RebuildWeldedPointsWhileEditingGeometry() const;

    std::vector<int32_t> Pols{0};
    int32_t Count = 0;
    int32_t Group = 0;
    bool Undone = false;
};
