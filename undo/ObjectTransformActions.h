// Undo records of moving, rotating and scaling whole entities: a group, camera,
// track, light or multiple selection (kinds 1, 2, 3, 4, 6). A multiple selection is
// copied when the entity is set; Undo and Redo act on that copy.
#pragma once

#include "Placements.h"
#include "RotationStep.h"

#include "core/CoreTypes.h"
#include "core/MultipleSelection.h"

#include <cstdint>

class ActionMove : public undo::ExactPlacements {
public:
    // Puts the entity back at FrmLoc (a multiple selection: moved by FrmLoc - ToLoc),
    // then writes back the placements recorded before the edit (after it, for Redo).
    void Undo();
    void Redo();
    // For kind 6 the selection's centre (SelObjsAvgCenter) before and after.
    void SetFrmLoc(const Point3d& loc) { FrmLoc = loc; }
    void SetToLoc(const Point3d& loc) { ToLoc = loc; }
    void SetMovedEntity(int32_t kind, int32_t handle);
    // The offsets the edit added, summed in its order. Groups, tracks and multiple
    // selections then go back and forth by exactly this sum instead of by a
    // difference of locations, so a coordinate it left exact (a 0, say) comes
    // back exactly; cameras and lights on their own are set to their locations.
    void SetMovedBy(const Point3d& offset) {
        MovedBy = offset;
        hasMovedBy_ = true;
    }

private:
    void MoveTo(const Point3d& loc, const Point3d& from, double sign);

    int32_t MovedEntityType = 0;
    int32_t MovedEntityHandle = 0;
    MultipleSelection MovedMultiSel;
    Point3d FrmLoc = {0, 0, 0};
    Point3d ToLoc = {0, 0, 0};
    Point3d MovedBy = {0, 0, 0};
    bool hasMovedBy_ = false;
};

class ActionRotate {
public:
    // Replays the steps from the last to the first with negated angles, then
    // writes back the placements recorded before the edit (after it, for Redo).
    void Undo();
    void Redo();
    // Kind 6 starts with SelObjsAvgCenter as its centre, kind 3 with TrkCenter.
    void SetRotatedEntity(int32_t kind, int32_t handle);
    void AddRotation(double angle, int32_t axis) { Rotations.AddRotation(angle, axis); }
    // The centre the track or the multiple selection turned about.
    void SetRotCenter(const Point3d& centre) { RotCenter = centre; }
    void SetPlacements(undo::Placements before, undo::Placements after) {
        Exact.Set(std::move(before), std::move(after));
    }

    int32_t NumOfRotations() const { return Rotations.NumOfRotations(); }
    const RotationStep& Rotation(int32_t i) const { return Rotations.Rotation(i); }

private:
    void Turn(double angle, int32_t axis);
    void AfterTurning();

    int32_t RotatedEntityType = 0;
    int32_t RotatedEntityHandle = 0;
    MultipleSelection RotatedMultiSel;
    RotationSteps Rotations;
    Point3d RotCenter = {0, 0, 0};
    undo::PlacementPair Exact;
};

class ActionScale {
public:
    // Applies the reciprocal factors about the recorded centre; a factor of 0 cannot
    // be taken back and leaves its axis as it is.
    void Undo();
    // Applies the factors again.
    void Redo();
    // The factors applied per axis (negative for a mirror).
    void SetScaleChng(const Point3d& factors) { ScaleChng = factors; }
    // The centre a multiple selection or a track was scaled about.
    void SetScaleCenter(const Point3d& centre) { ScaleCenter = centre; }
    // Kind 6 starts with SelObjsAvgCenter as its centre, kind 3 with the track's centre.
    void SetScaledEntity(int32_t kind, int32_t handle);
    // Written back after Undo (before) and Redo (after) have scaled.
    void SetPlacements(undo::Placements before, undo::Placements after) {
        Exact.Set(std::move(before), std::move(after));
    }

private:
    void Apply(const Point3d& factors);
    void AfterScaling();

    int32_t ScaledEntityType = 0;
    int32_t ScaledEntityHandle = 0;
    MultipleSelection ScaledMultiSel;
    Point3d ScaleChng = {1, 1, 1};
    Point3d ScaleCenter = {0, 0, 0};
    undo::PlacementPair Exact;
};
