// Undo records of the polygon construction tools of the edited group: an
// extrusion, a bevel and a cut. Each keeps the polygon selection, the welded
// points, their centre and the selection box in line while its group is the one
// being edited; another group's table is rebuilt when that group is edited again.
// They write positions and polygons themselves and need nothing of the tools.
#pragma once

#include "CreationDeletionActions.h"
#include "HandleList.h"

#include "core/CoreTypes.h"

#include <cstdint>
#include <vector>

class ActionExtrude {
public:
    // The side polygons go and the cap moves back by the offset.
    void Undo();
    // The same side polygons come back and the cap moves out again.
    void Redo();
    // The cap: the selected polygons, moved by the extrusion (a list used from index 1).
    template <class List>
    void SetMovedPolsArray(const List& pols, int32_t count) {
        Moved = CopyHandleList(pols, count);
        MovedCount = count;
    }
    // The centre of the selected polygons before and after the cap moved: their
    // difference is the offset.
    void SetInitialLoc(const Point3d& loc) { InitialLoc = loc; }
    void SetFinalLoc(const Point3d& loc) { FinalLoc = loc; }
    // The side polygons of the group CurrSelEntityHandle.
    template <class List>
    void SetAddedPolsArray(const List& pols, int32_t count, int32_t group) {
        Added.SetAddedPols(pols, count);
        Group = group;
    }
    // Side polygons whose making was undone are destroyed.
    void Release() { Added.Release(); }

    bool IsUndone() const { return Added.IsUndone(); }
    Point3d Offset() const;

private:
    void MoveCap(double sign) const;

    std::vector<int32_t> Moved{0};
    int32_t MovedCount = 0;
    Point3d InitialLoc = {0, 0, 0};
    Point3d FinalLoc = {0, 0, 0};
    int32_t Group = 0;
    ActionAddPols Added;
};

// A bevel keeps the positions it wrote, not its factors: a product of many
// small factors cannot be divided out again, and points scaled onto the centre
// could never be told apart.
class ActionBevel {
public:
    // Every moved point gets its position from before the gesture back.
    void Undo();
    // And its position after it.
    void Redo();
    // The total factor of the gesture, as the user sees it; Undo and Redo do not use it.
    void SetBevelAmount(double amount) { Amount = amount; }
    double BevelAmount() const { return Amount; }
    // The points of the group that the gesture moved (by handle), with their
    // positions before and after it; the three lists run in step.
    void SetMovedPts(int32_t group, std::vector<int32_t> pts, std::vector<Point3d> before, std::vector<Point3d> after);
    // Side polygons whose point normals the gesture reset from their planes.
    void SetResetPols(std::vector<int32_t> pols) { ResetPols = std::move(pols); }

private:
    void WritePositions(const std::vector<Point3d>& positions) const;

    double Amount = 1;
    int32_t Group = 0;
    std::vector<int32_t> Pts;
    std::vector<Point3d> Before, After;
    std::vector<int32_t> ResetPols;
};

class ActionCutPol {
public:
    // The pieces go; the cut polygons come back as the polygon selection.
    void Undo();
    // The cut polygons go again; the same pieces come back as the selection.
    void Redo();
    // The polygons the cut replaced (a list used from index 1).
    template <class List>
    void SetDeletedPolsArray(const List& pols, int32_t count) {
        Removed = CopyHandleList(pols, count);
        RemovedCount = count;
    }
    // Those of them that had a "Pol" node before the cut (the pieces of an
    // earlier cut or extrusion); Undo gives them their nodes back.
    void SetDeletedPolsWithNodes(std::vector<int32_t> pols) { RemovedWithNodes = std::move(pols); }
    // Their places in the group before the cut (a list used from index 1); Undo
    // puts them back there.
    void SetDeletedPolsPlaces(std::vector<int32_t> places) { RemovedPlaces = std::move(places); }
    // The pieces, of the group CurrSelEntityHandle.
    template <class List>
    void SetAddedPolsArray(const List& pols, int32_t count, int32_t group) {
        Added.SetAddedPols(pols, count);
        Group = group;
    }
    // Undone: the pieces are destroyed. Done: the cut polygons can never come
    // back, so they are destroyed instead of staying in the engine for good.
    void Release();

    bool IsUndone() const { return Added.IsUndone(); }

private:
    std::vector<int32_t> Removed{0};
    int32_t RemovedCount = 0;
    std::vector<int32_t> RemovedWithNodes;
    std::vector<int32_t> RemovedPlaces{0};
    int32_t Group = 0;
    ActionAddPols Added;
};
