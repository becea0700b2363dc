// Undo records of moving, rotating and scaling geometry inside the edited group:
// the selected points, or the welded point sets touched by the selected polygons
// (each set moves as one vertex: its first point is transformed and the result is
// written to every point of the set).
#pragma once

#include "Placements.h"
#include "RotationStep.h"

#include "core/CoreTypes.h"
#include "core/WeldedPoints.h"

#include <cstdint>
#include <memory>
#include <vector>

// Undo and Redo shift back and forth, then write back the recorded placements.
class ActionMoveGrpPoints : public undo::ExactPlacements {
public:
    void Undo();
    void Redo();
    void SetFrmLoc(const Point3d& loc) { FrmLoc = loc; }
    void SetToLoc(const Point3d& loc) { ToLoc = loc; }
    void SetMovedPtsToCurrSelPts();

    int32_t NumOfPts() const { return count; }

private:
    void ComputeMoveOffset();
    void Shift(double sign);

    Point3d FrmLoc = {0, 0, 0};
    Point3d ToLoc = {0, 0, 0};
    Point3d offset = {0, 0, 0};
    std::vector<int32_t> points{0};  // from index 1
    int32_t count = 0;
    int32_t group = 0;
};

class ActionRotateGrpPoints {
public:
    // The steps from the last to the first with negated angles, about the recorded centre.
    void Undo();
    void Redo();
    // Also records the centre (SelPtsAvgCenter) and the edited group.
    void SetRotatedPtsToCurrSelPts();
    void SetRotatedPtsParentGrp(int32_t grp) { group = grp; }
    // Written back after Undo (before) and Redo (after) have turned or scaled.
    void SetPlacements(undo::Placements before, undo::Placements after) {
        exact.Set(std::move(before), std::move(after));
    }
    void AddRotation(double angle, int32_t axis) { steps.AddRotation(angle, axis); }

    int32_t NumOfRotations() const { return steps.NumOfRotations(); }

private:
    void Turn(double angle, int32_t axis);

    std::vector<int32_t> points{0};
    int32_t count = 0;
    RotationSteps steps;
    Point3d centre = {0, 0, 0};
    int32_t group = 0;
    undo::PlacementPair exact;
};

class ActionScaleGrpPoints {
public:
    // The reciprocal factors about the recorded centre; a factor of 0 cannot be
    // taken back and leaves its axis as it is.
    void Undo();
    void Redo();
    void SetScaleChng(const Point3d& factors) { factors_ = factors; }
    // Also records the centre (SelPtsAvgCenter) and the edited group.
    void SetScaledPtsToCurrSelPts();
    // Written back after Undo (before) and Redo (after) have turned or scaled.
    void SetPlacements(undo::Placements before, undo::Placements after) {
        exact.Set(std::move(before), std::move(after));
    }

private:
    void Apply(const Point3d& f);
    void Finish();

    Point3d factors_ = {1, 1, 1};
    std::vector<int32_t> points{0};
    int32_t count = 0;
    int32_t group = 0;
    Point3d centre = {0, 0, 0};
    undo::PlacementPair exact;
};

// The welded point sets a polygon record owns: copies of the WeldedPts entries
// listed in SelPolsRelatedPts when the record was filled.
using WeldedSetList = std::vector<std::shared_ptr<WeldedPoints>>;

// Undo and Redo shift back and forth, then write back the recorded placements.
class ActionMoveGrpPols : public undo::ExactPlacements {
public:
    void Undo();
    void Redo();
    void SetFrmLoc(const Point3d& loc) { FrmLoc = loc; }
    // Also computes the offset.
    void SetToLoc(const Point3d& loc);
    void SetMovedWeldedPtsToCurrWeldedPts();

    int32_t NumOfSets() const { return count; }

private:
    void Shift(double sign);

    Point3d FrmLoc = {0, 0, 0};
    Point3d ToLoc = {0, 0, 0};
    Point3d offset = {0, 0, 0};
    WeldedSetList sets;
    int32_t count = 0;
};

class ActionRotateGrpPols {
public:
    void Undo();
    void Redo();
    // Also records the centre (SelPolsAvgCenter) and the edited group.
    void SetRotatedWeldedPtsToCurrWeldedPts();
    void SetRotatedPolsParentGrp(int32_t grp) { group = grp; }
    // Written back after Undo (before) and Redo (after) have turned or scaled.
    void SetPlacements(undo::Placements before, undo::Placements after) {
        exact.Set(std::move(before), std::move(after));
    }
    void AddRotation(double angle, int32_t axis) { steps.AddRotation(angle, axis); }

private:
    void Turn(double angle, int32_t axis);

    WeldedSetList sets;
    int32_t count = 0;
    RotationSteps steps;
    Point3d centre = {0, 0, 0};
    int32_t group = 0;
    undo::PlacementPair exact;
};

class ActionScaleGrpPols {
public:
    void Undo();
    void Redo();
    void SetScaleChng(const Point3d& factors) { factors_ = factors; }
    // Also records the centre (SelPolsAvgCenter) and the edited group.
    void SetScaledWeldedPtsToCurrWeldedPts();
    // Written back after Undo (before) and Redo (after) have turned or scaled.
    void SetPlacements(undo::Placements before, undo::Placements after) {
        exact.Set(std::move(before), std::move(after));
    }

private:
    void Apply(const Point3d& f);
    void Finish();

    Point3d factors_ = {1, 1, 1};
    WeldedSetList sets;
    int32_t count = 0;
    int32_t group = 0;
    Point3d centre = {0, 0, 0};
    undo::PlacementPair exact;
};

namespace undo {

// Geometry steps shared by the point and polygon records and the transform tools.
Point3d ReadPoint(int32_t point);
void WritePoint(int32_t point, const Point3d& p);
// Turns p about centre in the plane of the axis (y, z for 0; x, z for 1; x, y for
// 2), the first coordinate towards the second for a positive angle; another axis
// leaves p as it is.
Point3d TurnAbout(const Point3d& p, const Point3d& centre, double angle, int32_t axis);
// 1/f per axis; a factor of 0 has no inverse and gives 1 (its axis stays as it is).
Point3d Reciprocals(const Point3d& f);
// centre + f * (p - centre), axis by axis; an axis with a factor of 1 stays as it is.
Point3d ScaleAbout(const Point3d& p, const Point3d& centre, const Point3d& f);
// Writes where(first point's position) to every point of the set.
template <class Where>
void MoveWeldedSet(const WeldedPoints& set, Where where) {
    if (set.NumOfPts() < 1) return;
    const Point3d p = where(ReadPoint(set.Point(1)));
    for (int32_t j = 1; j <= set.NumOfPts(); ++j) WritePoint(set.Point(j), p);
}
// Copies of WeldedPts(SelPolsRelatedPts(1..NumSelPolsRelatedPts)).
WeldedSetList CopySelPolsWeldedSets();

}  // namespace undo
