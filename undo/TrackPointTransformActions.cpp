#include "TrackPointTransformActions.h"

#include "PointPolygonTransformActions.h"

#include "core/CoreError.h"
#include "core/Globals.h"
#include "core/Maths.h"
#include "core/SelectionCentres.h"
#include "core/TrackProcedures.h"

#include "ombrel.h"

#include <string>

namespace {

std::vector<int32_t> copySelTrkPts() {
    const int32_t n = Globals::NumSelTrkPts;
    if (n < 0 || static_cast<std::size_t>(n) >= Globals::SelTrkPts.size())
        core::raiseError("The track point selection holds fewer than " + std::to_string(n) + " points");
    std::vector<int32_t> copy(static_cast<std::size_t>(n) + 1, 0);
    for (int32_t i = 1; i <= n; ++i) copy[static_cast<std::size_t>(i)] = Globals::SelTrkPts[static_cast<std::size_t>(i)];
    return copy;
}

// The track procedures turn and scale SelTrkPts about SelTrkPtsAvgCenter; the
// recorded points and centre stand in for them while a record replays.
class RecordedSelection {
public:
    RecordedSelection(const std::vector<int32_t>& points, int32_t count, const Point3d& centre)
        : pts_(Globals::SelTrkPts), num_(Globals::NumSelTrkPts), centre_(Globals::SelTrkPtsAvgCenter) {
        Globals::SelTrkPts = points;
        Globals::NumSelTrkPts = count;
        Globals::SelTrkPtsAvgCenter = centre;
    }
    ~RecordedSelection() {
        Globals::SelTrkPts = std::move(pts_);
        Globals::NumSelTrkPts = num_;
        Globals::SelTrkPtsAvgCenter = centre_;
    }
    RecordedSelection(const RecordedSelection&) = delete;
    RecordedSelection& operator=(const RecordedSelection&) = delete;

private:
    std::vector<int32_t> pts_;
    int32_t num_;
    Point3d centre_;
};

}  // namespace

// ---- move

void ActionMoveTrkPts::ComputeMoveOffset() { Maths::VectorFromTo(FrmLoc, ToLoc, offset); }

void ActionMoveTrkPts::Shift(double sign) {
    ComputeMoveOffset();
    for (int32_t i = 1; i <= count; ++i) {
        const int32_t n = points[static_cast<std::size_t>(i)];
        Point3d p = {0, 0, 0};
        OMBREL_track_get_point(track, n, p.data());
        for (int k = 0; k < 3; ++k) p[k] += sign * offset[k];
        OMBREL_track_set_point(track, n, p.data());
    }
    WriteBack(sign > 0);
    Globals::ComputeSelTrackPtsAvgCenter();
}

void ActionMoveTrkPts::Undo() { Shift(-1); }
void ActionMoveTrkPts::Redo() { Shift(1); }

void ActionMoveTrkPts::SetMovedTrkPtsToCurrSelTrkPts() {
    points = copySelTrkPts();
    count = Globals::NumSelTrkPts;
    track = Globals::CurrSelEntityHandle;
}

// ---- rotate

void ActionRotateTrkPts::Undo() {
    RecordedSelection sel(points, count, centre);
    steps.forEachUndone([this](double a, int32_t axis) { Globals::RotateSelTrackPoints(track, axis, a); });
    exact.RestoreBefore();
}

void ActionRotateTrkPts::Redo() {
    RecordedSelection sel(points, count, centre);
    steps.forEachRedone([this](double a, int32_t axis) { Globals::RotateSelTrackPoints(track, axis, a); });
    exact.RestoreAfter();
}

void ActionRotateTrkPts::SetRotatedTrkPtsToCurrSelTrkPts() {
    points = copySelTrkPts();
    count = Globals::NumSelTrkPts;
    track = Globals::CurrSelEntityHandle;
    centre = Globals::SelTrkPtsAvgCenter;
}

// ---- scale

void ActionScaleTrkPts::Apply(const Point3d& f) {
    RecordedSelection sel(points, count, centre);
    Globals::ScaleSelTrackPoints(track, f);
}

void ActionScaleTrkPts::Undo() {
    Apply(undo::Reciprocals(factors_));
    exact.RestoreBefore();
}

void ActionScaleTrkPts::Redo() {
    Apply(factors_);
    exact.RestoreAfter();
}

void ActionScaleTrkPts::SetScaledTrkPtsToCurrSelPts() {
    points = copySelTrkPts();
    count = Globals::NumSelTrkPts;
    track = Globals::CurrSelEntityHandle;
    centre = Globals::SelTrkPtsAvgCenter;
}
