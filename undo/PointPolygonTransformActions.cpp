#include "PointPolygonTransformActions.h"

#include "HandleList.h"
#include "SharedObjects.h"

#include "core/GroupPolygonProcedures.h"
#include "core/Globals.h"
#include "core/Maths.h"
#include "core/SelectionCentres.h"

#include "ombrel.h"

#include <algorithm>
#include <string>

namespace undo {

Point3d ReadPoint(int32_t point) {
    Point3d p = {0, 0, 0};
    OMBREL_point_get_xyz(point, p.data());
    return p;
}

void WritePoint(int32_t point, const Point3d& p) { OMBREL_point_set_xyz(point, p.data()); }

Point3d TurnAbout(const Point3d& p, const Point3d& centre, double angle, int32_t axis) {
    int first = 0, second = 0;
    switch (axis) {
    case 0: first = 1, second = 2; break;
    case 1: first = 0, second = 2; break;
    case 2: first = 0, second = 1; break;
    default: return p;
    }
    Point3d d;
    Maths::VectorFromTo(centre, p, d);
    Maths::RotatePoint2D(d[first], d[second], angle, d[first], d[second]);
    Maths::AddVector(d, centre);
    return d;
}

Point3d ScaleAbout(const Point3d& p, const Point3d& centre, const Point3d& f) {
    Point3d r;
    // A factor of 1 leaves its axis alone, as scaling about the centre would round it.
    for (int k = 0; k < 3; ++k) r[k] = f[k] == 1 ? p[k] : centre[k] + (p[k] - centre[k]) * f[k];
    return r;
}

Point3d Reciprocals(const Point3d& f) {
    Point3d r;
    for (int k = 0; k < 3; ++k) r[k] = f[k] == 0 ? 1.0 : 1.0 / f[k];
    return r;
}

WeldedSetList CopySelPolsWeldedSets() {
    WeldedSetList copy;
    copy.reserve(static_cast<std::size_t>(std::max(Globals::NumSelPolsRelatedPts, 0)));
    for (int32_t i = 1; i <= Globals::NumSelPolsRelatedPts; ++i) {
        const auto& entry = Globals::WeldedPts[Globals::SelPolsRelatedPts[i]];
        if (!entry) core::raiseError("Welded point entry " + std::to_string(Globals::SelPolsRelatedPts[i]) + " does not exist");
        auto set = std::make_shared<WeldedPoints>();
        for (int32_t j = 1; j <= entry->NumOfPts(); ++j) set->AddPt(entry->Point(j));
        copy.push_back(std::move(set));
    }
    return copy;
}

}  // namespace undo

namespace {

template <class Each>
void forEachPoint(const std::vector<int32_t>& points, int32_t count, Each each) {
    for (int32_t i = 1; i <= count; ++i) each(points[static_cast<std::size_t>(i)]);
}

template <class Where>
void moveSets(const WeldedSetList& sets, Where where) {
    for (const auto& set : sets) undo::MoveWeldedSet(*set, where);
}

void refreshGroupBox(int32_t group) {
    if (Globals::SelGrpBndBox) Globals::SelGrpBndBox->Initialize(group);
}

// The box drawn around the edited group follows its points.
void refreshSelectedGroupBox() {
    if (Globals::CurrSelEntityType == SelGroup) refreshGroupBox(Globals::CurrSelEntityHandle);
}

}  // namespace

// ---- points

void ActionMoveGrpPoints::ComputeMoveOffset() { Maths::VectorFromTo(FrmLoc, ToLoc, offset); }

void ActionMoveGrpPoints::Shift(double sign) {
    ComputeMoveOffset();
    forEachPoint(points, count, [&](int32_t pt) {
        Point3d p = undo::ReadPoint(pt);
        for (int k = 0; k < 3; ++k) p[k] += sign * offset[k];
        undo::WritePoint(pt, p);
    });
    WriteBack(sign > 0);
    Globals::ComputeSelPtsAvgCenter();
    Globals::ValidateGroupPolygons(group);
    refreshSelectedGroupBox();
}

void ActionMoveGrpPoints::Undo() { Shift(-1); }
void ActionMoveGrpPoints::Redo() { Shift(1); }

void ActionMoveGrpPoints::SetMovedPtsToCurrSelPts() {
    count = Globals::NumSelPts;
    points = CopyHandleList(Globals::SelPts, count);
    group = Globals::CurrSelEntityHandle;
}

void ActionRotateGrpPoints::Turn(double angle, int32_t axis) {
    forEachPoint(points, count, [&](int32_t pt) { undo::WritePoint(pt, undo::TurnAbout(undo::ReadPoint(pt), centre, angle, axis)); });
}

void ActionRotateGrpPoints::Undo() {
    steps.forEachUndone([this](double a, int32_t axis) { Turn(a, axis); });
    exact.RestoreBefore();
    Globals::ValidateGroupPolygons(group);
    refreshSelectedGroupBox();
}

void ActionRotateGrpPoints::Redo() {
    steps.forEachRedone([this](double a, int32_t axis) { Turn(a, axis); });
    exact.RestoreAfter();
    Globals::ValidateGroupPolygons(group);
    refreshSelectedGroupBox();
}

void ActionRotateGrpPoints::SetRotatedPtsToCurrSelPts() {
    count = Globals::NumSelPts;
    points = CopyHandleList(Globals::SelPts, count);
    group = Globals::CurrSelEntityHandle;
    centre = Globals::SelPtsAvgCenter;
}

void ActionScaleGrpPoints::Apply(const Point3d& f) {
    forEachPoint(points, count, [&](int32_t pt) { undo::WritePoint(pt, undo::ScaleAbout(undo::ReadPoint(pt), centre, f)); });
}

void ActionScaleGrpPoints::Finish() {
    Globals::ValidateGroupPolygons(group);
    refreshGroupBox(group);
}

void ActionScaleGrpPoints::Undo() {
    Apply(undo::Reciprocals(factors_));
    exact.RestoreBefore();
    Finish();
}

void ActionScaleGrpPoints::Redo() {
    Apply(factors_);
    exact.RestoreAfter();
    Finish();
}

void ActionScaleGrpPoints::SetScaledPtsToCurrSelPts() {
    count = Globals::NumSelPts;
    points = CopyHandleList(Globals::SelPts, count);
    group = Globals::CurrSelEntityHandle;
    centre = Globals::SelPtsAvgCenter;
}

// ---- polygons (welded point sets)

void ActionMoveGrpPols::SetToLoc(const Point3d& loc) {
    ToLoc = loc;
    Maths::VectorFromTo(FrmLoc, ToLoc, offset);
}

void ActionMoveGrpPols::Shift(double sign) {
    moveSets(sets, [&](Point3d p) {
        for (int k = 0; k < 3; ++k) p[k] += sign * offset[k];
        return p;
    });
    WriteBack(sign > 0);
    Globals::ComputeSelPolsAvgCenter();
    if (Globals::CurrSelEntityType == SelGroup) Globals::ValidateGroupPolygons(Globals::CurrSelEntityHandle);
    refreshSelectedGroupBox();
}

void ActionMoveGrpPols::Undo() { Shift(-1); }
void ActionMoveGrpPols::Redo() { Shift(1); }

void ActionMoveGrpPols::SetMovedWeldedPtsToCurrWeldedPts() {
    sets = undo::CopySelPolsWeldedSets();
    count = static_cast<int32_t>(sets.size());
}

void ActionRotateGrpPols::Turn(double angle, int32_t axis) {
    moveSets(sets, [&](const Point3d& p) { return undo::TurnAbout(p, centre, angle, axis); });
}

void ActionRotateGrpPols::Undo() {
    steps.forEachUndone([this](double a, int32_t axis) { Turn(a, axis); });
    exact.RestoreBefore();
    Globals::ValidateGroupPolygons(group);
    refreshSelectedGroupBox();
}

void ActionRotateGrpPols::Redo() {
    steps.forEachRedone([this](double a, int32_t axis) { Turn(a, axis); });
    exact.RestoreAfter();
    Globals::ValidateGroupPolygons(group);
    refreshSelectedGroupBox();
}

void ActionRotateGrpPols::SetRotatedWeldedPtsToCurrWeldedPts() {
    sets = undo::CopySelPolsWeldedSets();
    count = static_cast<int32_t>(sets.size());
    group = Globals::CurrSelEntityHandle;
    centre = Globals::SelPolsAvgCenter;
}

void ActionScaleGrpPols::Apply(const Point3d& f) {
    moveSets(sets, [&](const Point3d& p) { return undo::ScaleAbout(p, centre, f); });
}

void ActionScaleGrpPols::Finish() {
    Globals::ValidateGroupPolygons(group);
    refreshGroupBox(group);
}

void ActionScaleGrpPols::Undo() {
    Apply(undo::Reciprocals(factors_));
    exact.RestoreBefore();
    Finish();
}

void ActionScaleGrpPols::Redo() {
    Apply(factors_);
    exact.RestoreAfter();
    Finish();
}

void ActionScaleGrpPols::SetScaledWeldedPtsToCurrWeldedPts() {
    sets = undo::CopySelPolsWeldedSets();
    count = static_cast<int32_t>(sets.size());
    group = Globals::CurrSelEntityHandle;
    centre = Globals::SelPolsAvgCenter;
}
