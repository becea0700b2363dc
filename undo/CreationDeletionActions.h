// Undo records of creating and deleting. A deletion is a fake deletion until the
// record that could take it back is released: Release finishes the deferred work
// (a deletion in force, or a creation that was undone, is destroyed in the engine).
// The undo record calls Release exactly once, when it leaves the history.
#pragma once

#include "HandleList.h"
#include "MergedEntities.h"
#include "SelectionActions.h"

#include "core/FakeDeletion.h"
#include "core/MultipleSelection.h"

#include <cstdint>
#include <utility>
#include <vector>

// The entities a creation or deletion of a multiple selection covers: its
// cameras, its groups each with its father and its place among the father's
// children (lists used from index 1), its lights. Tracks are never part of it.
struct RecordedMultiSel {
    MultipleSelection Entities;
    std::vector<int32_t> Fathers{0};
    std::vector<int32_t> Places{0};

    // From CurrMultiSel, fathers read now.
    void SetToCurrSel();
};

class ActionDelete {
public:
    // Brings the entity back and selects it.
    void Undo();
    // Deletes it again; nothing is selected.
    void Redo();
    // Kind 1 group (its father is read now, before it is detached), 2 camera,
    // 3 track, 4 light, 6 the multiple selection (CurrMultiSel). Call before the
    // fake deletion and push the record: a record released while its deletion
    // stands destroys the entity.
    void SetDeletedEntity(int32_t kind, int32_t handle);
    // A deletion in force becomes final.
    void Release();

    bool IsUndone() const { return Undone; }
    int32_t Kind() const { return DeletedKind; }
    int32_t Handle() const { return DeletedHandle; }

private:
    int32_t DeletedKind = 0;
    int32_t DeletedHandle = 0;
    int32_t Father = 0;  // kind 1: the group's father when recorded
    int32_t Place = -1;  // and its place among the father's children
    RecordedMultiSel Deleted;
    bool Undone = false;
};

class ActionCreate {
public:
    // Takes the created entity out of the world and gives the old selection back.
    void Undo();
    // Puts the entity back (a group under the father it had when recorded) and
    // selects it again.
    void Redo();
    // Call after the entity was created and made the current selection, with the
    // one before it saved as the previous selection: kind 1 group, 2 camera,
    // 3 track, 4 light, 6 the groups, cameras and lights of CurrMultiSel
    // (duplicates).
    void SetCreatedEntity(int32_t kind, int32_t handle);
    // For a merged world (kind 1, its root group): what else the merge brought.
    // It leaves the world and comes back with the group.
    void SetMergedEntities(WorldEntities merged) { Merged = std::move(merged); }
    // A merged bitmap reloaded under another handle is followed there (one the
    // user deleted meanwhile is simply passed over).
    void ReplaceHandle(int32_t from, int32_t to);
    // A creation that was undone is destroyed for good.
    void Release();

    bool IsUndone() const { return Undone; }

private:
    int32_t CreatedKind = 0;
    int32_t CreatedHandle = 0;
    bool Undone = false;
    int32_t Father = 0;  // kind 1: the group's father when recorded
    RecordedMultiSel Created;
    WorldEntities Merged;
    ActionSelect SelectionChange;
};

// Polygons of one group that an action takes out of the world or puts back.
struct GroupPolygons {
    std::vector<int32_t> Pols{0};  // from index 1
    std::vector<int32_t> Places{0};  // where each one goes back; -1: last
    int32_t Count = 0;
    int32_t Group = 0;

    template <class List>
    void Set(const List& pols, int32_t count, int32_t group) {
        Pols = CopyHandleList(pols, count);
        Places.assign(static_cast<std::size_t>(count) + 1, -1);
        Count = count;
        Group = group;
    }
    // While the polygons are still in the group: they come back at these places.
    void KeepPlaces() { Places = Globals::PolygonPlaces(Pols, Count); }
    // pols becomes 0..count with the polygons at 1..count.
    void Retrieve(std::vector<int32_t>& pols, int32_t& count) const {
        pols = Pols;
        count = Count;
    }
    void FakeDelete() const;
    void UnDelete() const;
    void DeletePermanently() const;
};

namespace undo {
// Gives polygons that come back the "Pol" nodes under their group that the tools
// making them gave them; one already there, or a group without a node, is passed over.
void AddPolNodes(const std::vector<int32_t>& polygons, int32_t group);
}  // namespace undo

class ActionDeleteGrpPols {
public:
    // Puts the polygons back in their group and selects them.
    void Undo();
    // Fake-deletes them again and selects no polygon.
    void Redo();
    // The polygons (a list used from index 1) of the group CurrSelEntityHandle,
    // before they go: those with a "Pol" node get it back on Undo.
    template <class List>
    void SetDeletedPols(const List& pols, int32_t count) {
        Deleted.Set(pols, count, CurrentGroup());
        Deleted.KeepPlaces();
        NoteNodes();
    }
    void RetrieveDeletedPols(std::vector<int32_t>& pols, int32_t& count) const { Deleted.Retrieve(pols, count); }
    // A deletion in force is made final.
    void Release();

    bool IsUndone() const { return Undone; }

private:
    static int32_t CurrentGroup();
    void NoteNodes();
    void RebuildWeldedPointsWhileEditingGeometry() const;

    GroupPolygons Deleted;
    std::vector<int32_t> WithNodes;
    bool Undone = false;
};

// Polygons added to a group by an extrusion or a cut; owned by that action's
// record, which also looks after the polygon selection and the welded points.
// The tools give each such polygon a node, which comes back with it on Redo.
class ActionAddPols {
public:
    // Takes the polygons out of the world.
    void Undo();
    // Puts them back into their group.
    void Redo();
    // The polygons (a list used from index 1) of the group CurrSelEntityHandle.
    template <class List>
    void SetAddedPols(const List& pols, int32_t count) {
        Added.Set(pols, count, CurrentGroup());
    }
    void RetrieveAddedPols(std::vector<int32_t>& pols, int32_t& count) const { Added.Retrieve(pols, count); }
    // An addition that was undone is destroyed for good.
    void Release();

    bool IsUndone() const { return Undone; }

private:
    static int32_t CurrentGroup();

    GroupPolygons Added;
    bool Undone = false;
};
