// Undo records of moving, rotating and scaling the selected points of a track.
// Each record keeps its own copy of the point numbers, the track and the centre,
// and replays on those, whatever is selected when it runs.
#pragma once

#include "Placements.h"
#include "RotationStep.h"

#include "core/CoreTypes.h"

#include <cstdint>
#include <vector>

// Undo and Redo shift back and forth, then write back the recorded placements.
class ActionMoveTrkPts : public undo::ExactPlacements {
public:
    void Undo();
    void Redo();
    void SetFrmLoc(const Point3d& loc) { FrmLoc = loc; }
    void SetToLoc(const Point3d& loc) { ToLoc = loc; }
    void SetMovedTrkPtsToCurrSelTrkPts();

    int32_t NumOfPts() const { return count; }

private:
    void ComputeMoveOffset();
    void Shift(double sign);

    Point3d FrmLoc = {0, 0, 0};
    Point3d ToLoc = {0, 0, 0};
    Point3d offset = {0, 0, 0};
    std::vector<int32_t> points{0};  // point numbers from index 1
    int32_t count = 0;
    int32_t track = 0;
};

class ActionRotateTrkPts {
public:
    void Undo();
    void Redo();
    // Point numbers, track and centre (SelTrkPtsAvgCenter).
    void SetRotatedTrkPtsToCurrSelTrkPts();
    // Written back after Undo (before) and Redo (after) have turned or scaled.
    void SetPlacements(undo::Placements before, undo::Placements after) {
        exact.Set(std::move(before), std::move(after));
    }
    void AddRotation(double angle, int32_t axis) { steps.AddRotation(angle, axis); }

    int32_t NumOfRotations() const { return steps.NumOfRotations(); }

private:
    std::vector<int32_t> points{0};
    int32_t count = 0;
    RotationSteps steps;
    int32_t track = 0;
    Point3d centre = {0, 0, 0};
    undo::PlacementPair exact;
};

class ActionScaleTrkPts {
public:
    // The reciprocal factors; a factor of 0 cannot be taken back and leaves its axis.
    void Undo();
    void Redo();
    void SetScaleChng(const Point3d& factors) { factors_ = factors; }
    // Point numbers, track and centre (SelTrkPtsAvgCenter).
    void SetScaledTrkPtsToCurrSelPts();
    // Written back after Undo (before) and Redo (after) have turned or scaled.
    void SetPlacements(undo::Placements before, undo::Placements after) {
        exact.Set(std::move(before), std::move(after));
    }

private:
    void Apply(const Point3d& f);

    Point3d factors_ = {1, 1, 1};
    std::vector<int32_t> points{0};
    int32_t count = 0;
    int32_t track = 0;
    Point3d centre = {0, 0, 0};
    undo::PlacementPair exact;
};
