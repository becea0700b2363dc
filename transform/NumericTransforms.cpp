// The numeric transform dialog's moves, rotations and scalings: each apply
// changes the world at once; the closing step records them.
#include "frmTransformParameters.h"

#include "EditModes.h"
#include "SelectionPlacements.h"
#include "TransformLimits.h"

#include "core/EntityLocations.h"
#include "core/BoundingBox.h"
#include "core/EntityProcedures.h"
#include "core/GroupPolygonProcedures.h"
#include "core/Globals.h"
#include "core/Maths.h"
#include "core/MultipleSelection.h"
#include "core/SelectionCentres.h"
#include "core/TrackProcedures.h"
#include "core/WeldedPoints.h"
#include "core/WindowProcedures.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "platform/NumericField.h"
#include "undo/MultipleSelectionSteps.h"
#include "undo/PointPolygonTransformActions.h"
#include "undo/SharedObjects.h"

#include "ombrel.h"

#include <QLineEdit>

#include <cmath>

namespace {

// The apply procedures clear FormLoaded while they reset their fields; it is set
// again on every way out.
class FieldsResetting {
public:
    explicit FieldsResetting(bool& loaded) : loaded_(loaded) { loaded_ = false; }
    ~FieldsResetting() { loaded_ = true; }
    FieldsResetting(const FieldsResetting&) = delete;
    FieldsResetting& operator=(const FieldsResetting&) = delete;

private:
    bool& loaded_;
};

bool finite(const Point3d& v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

void shift(Point3d& p, const Point3d& d) { Maths::AddVector(p, d); }

}  // namespace

// ---- move

void frmTransformParameters::ReadOpenPlacements() {
    if (placementsRead_) return;
    placementsRead_ = true;
    openPlacements_ = transform::ReadSelectionPlacements(transform::CurrentEditMode());
}

void frmTransformParameters::ApplyAbsolute(int Index) {
    if (!FormLoaded || Index < 0 || Index > 2) return;
    const std::size_t i = static_cast<std::size_t>(Index);
    double v = 0;
    // Text that is no location within reach leaves the row showing the one in force.
    if (!fldAbsolute[i]->HoldsValue(v)) {
        showAbsolute(i, TargetLoc[i]);
        return;
    }
    updwn[i]->Tag = txtAbsolute[i]->text();
    const double previous = TargetLoc[i];
    TargetLoc[i] = v;
    if (ValidateMove(Index)) return;
    // Ignored: the row shows what is in force again.
    TargetLoc[i] = previous;
    showAbsolute(i, previous);
}

void frmTransformParameters::showAbsolute(std::size_t i, double value) {
    txtAbsolute[i]->setText(platform::NumberText(value));
    updwn[i]->Tag = txtAbsolute[i]->text();
}

void frmTransformParameters::ApplyOffset(int Index) {
    if (!FormLoaded || Index < 0 || Index > 2) return;
    const std::size_t i = static_cast<std::size_t>(Index);
    auto showNoOffset = [&] {
        txtOffset[i]->setText(QStringLiteral("0"));
        updwnOffset[i]->Tag = QStringLiteral("0");
    };
    double offset = 0;
    if (!fldOffset[i]->HoldsValue(offset) || offset == 0) {
        showNoOffset();
        return;
    }
    // The selection moves by the very number typed, from where it stands; the
    // Absolute row then shows where that is.
    const double sum = TargetLoc[i] + offset;
    if (!platform::kLengths.contains(sum)) return;
    updwnOffset[i]->Tag = txtOffset[i]->text();
    Point3d d = {0, 0, 0};
    d[i] = offset;
    const double previous = TargetLoc[i];
    TargetLoc[i] = sum;
    if (!MoveBy(d)) TargetLoc[i] = previous;
    showAbsolute(i, TargetLoc[i]);
    showNoOffset();
}

bool frmTransformParameters::ValidateMove(int axis) {
    // The offset from the reference point that the fields show, on the edited
    // axis only: the others show a centre recomputed after the last move (a
    // group's centre of mass, the mean of points), whose rounding is no move.
    Point3d d;
    Maths::VectorFromTo(ReferencePoint(), TargetLoc, d);
    for (int k = 0; k < 3; ++k)
        if (axis >= 0 && axis != k) d[static_cast<std::size_t>(k)] = 0;
    return MoveBy(d);
}

bool frmTransformParameters::MoveBy(const Point3d& d) {
    using namespace Globals;
    const int32_t h = CurrSelEntityHandle;
    const transform::EditMode mode = transform::CurrentEditMode();
    if (!finite(TargetLoc) || !transform::MoveStaysInWorld(transform::SelectionReach(mode), d)) return false;
    if (d[0] == 0 && d[1] == 0 && d[2] == 0) {
        FnlLoc = TargetLoc;
        return true;
    }
    ReadOpenPlacements();

    switch (mode) {
    case transform::EditMode::Point:
        for (int32_t i = 1; i <= NumSelPts; ++i) {
            Point3d p = undo::ReadPoint(SelPts[i]);
            shift(p, d);
            undo::WritePoint(SelPts[i], p);
        }
        shift(movedBy_, d);
        ComputeSelPtsAvgCenter();
        ValidateGroupPolygons(h);
        undo::SelGrpBndBox().Initialize(h);
        break;
    case transform::EditMode::Polygon:
        for (WeldedPoints* set : transform::SelectedWeldedSets())
            for (int32_t j = 1; j <= set->NumOfPts(); ++j) {
                Point3d p = undo::ReadPoint(set->Point(j));
                shift(p, d);
                undo::WritePoint(set->Point(j), p);
            }
        shift(movedBy_, d);
        ComputeSelPolsAvgCenter();
        ValidateGroupPolygons(h);
        undo::SelGrpBndBox().Initialize(h);
        break;
    case transform::EditMode::TrackPoint:
        for (int32_t i = 1; i <= NumSelTrkPts; ++i) {
            const int32_t n = SelTrkPts.at(static_cast<std::size_t>(i));
            Point3d p = {0, 0, 0};
            OMBREL_track_get_point(h, n, p.data());
            shift(p, d);
            OMBREL_track_set_point(h, n, p.data());
        }
        UpdateTrackCenter();
        ComputeSelTrackPtsAvgCenter();
        break;
    case transform::EditMode::Object:
        switch (CurrSelEntityType) {
        case SelGroup:
            OMBREL_group_move(h, d.data(), 0);
            shift(movedBy_, d);
            undo::SelGrpBndBox().Initialize(h);
            break;
        case SelCamera:
            undo::SceneCameras().SetLocation(h, TargetLoc);
            SyncViewIfSelIsViewedCam();
            break;
        case SelLight: undo::SceneLights().SetLocation(h, TargetLoc); break;
        case SelTrack:
            MoveTrack(h, d);
            shift(movedBy_, d);
            UpdateTrackCenter();
            ComputeSelTrackPtsAvgCenter();
            break;
        case SelMultiple: {
            const MultipleSelection& sel = undo::CurrMultiSel();
            for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) OMBREL_group_move(sel.GetGrp(i), d.data(), 0);
            undo::CurrMultiSel().InitializeBndBoxes();
            for (int32_t i = 1; i <= sel.NumOfCams(); ++i) undo::SceneCameras().Move(sel.GetCam(i), d);
            for (int32_t i = 1; i <= sel.NumOfLights(); ++i) undo::SceneLights().Move(sel.GetLight(i), d);
            shift(movedBy_, d);
            break;
        }
        default: break;
        }
        SelObjsAvgCenter = TargetLoc;
        break;
    }
    FnlLoc = TargetLoc;
    UpdateCameras();
    return true;
}

// ---- rotate

void frmTransformParameters::ApplyRotation() {
    FieldsResetting resetting(FormLoaded);
    std::array<bool, 3> has{};
    Point3d angle = {0, 0, 0};
    // A turn by 0 is none: turning about a centre by 0 still rounds every point.
    for (std::size_t i = 0; i < 3; ++i) has[i] = fldWRotate[i]->HoldsValue(angle[i]) && angle[i] != 0;
    if (!transform::TurnStaysInWorld(transform::SelectionReach(transform::CurrentEditMode()))) has = {};
    if (has[0] || has[1] || has[2]) {
        ReadOpenPlacements();
        TurnSelection(has, angle);
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (has[i]) {
            RotationSteps.push_back({angle[i], static_cast<int32_t>(i)});
            NumRotationSteps = static_cast<int32_t>(RotationSteps.size());
        }
        txtORotate[i]->setText(QStringLiteral("0"));
        updwnORotate[i]->Tag = QStringLiteral("0");
        txtWRotate[i]->setText(QStringLiteral("0"));
        updwnWRotate[i]->Tag = QStringLiteral("0");
    }
    Globals::UpdateCameras();
}

void frmTransformParameters::TurnSelection(const std::array<bool, 3>& has, const Point3d& angle) {
    using namespace Globals;
    const int32_t h = CurrSelEntityHandle;
    auto turnAll = [&](const Point3d& centre, Point3d p) {
        for (int32_t k = 0; k < 3; ++k)
            if (has[static_cast<std::size_t>(k)]) p = undo::TurnAbout(p, centre, angle[static_cast<std::size_t>(k)], k);
        return p;
    };
    if (transform::IsPointEditing()) {
        const Point3d c = SelPtsAvgCenter;
        for (int32_t i = 1; i <= NumSelPts; ++i) undo::WritePoint(SelPts[i], turnAll(c, undo::ReadPoint(SelPts[i])));
        ValidateGroupPolygons(h);
        return;
    }
    if (transform::IsPolygonEditing()) {
        const Point3d c = SelPolsAvgCenter;
        for (WeldedPoints* set : transform::SelectedWeldedSets()) undo::MoveWeldedSet(*set, [&](const Point3d& p) { return turnAll(c, p); });
        ValidateGroupPolygons(h);
        return;
    }
    for (int32_t k = 0; k < 3; ++k) {
        if (!has[static_cast<std::size_t>(k)]) continue;
        const double a = angle[static_cast<std::size_t>(k)];
        switch (CurrSelEntityType) {
        case SelGroup: OMBREL_group_rotate(h, a, 0, k); break;
        case SelCamera:
            undo::SceneCameras().Rotate(h, a, k, false, 0, 0, 0);
            SyncViewIfSelIsViewedCam();
            break;
        case SelTrack:
            if (transform::IsTrackPointEditing()) {
                RotateSelTrackPoints(h, k, a);
                UpdateTrackCenter();
            } else {
                RotateTrack(h, a, k);
            }
            break;
        case SelLight: undo::SceneLights().Rotate(h, a, k, false, 0, 0, 0); break;
        case SelMultiple: {
            undo::TurnMultipleSelection(undo::CurrMultiSel(), a, k, openCentre_);
            undo::CurrMultiSel().InitializeBndBoxes();
            break;
        }
        default: break;
        }
    }
    if (CurrSelEntityType == SelGroup) undo::SelGrpBndBox().Initialize(h);
}

// ---- scale

void frmTransformParameters::ApplyScale() {
    auto resetFields = [this] {
        for (std::size_t i = 0; i < 3; ++i) {
            txtOScale[i]->setText(QStringLiteral("1"));
            updwnOScale[i]->Tag = QStringLiteral("1");
            txtWScale[i]->setText(QStringLiteral("1"));
            updwnWScale[i]->Tag = QStringLiteral("1");
        }
    };
    // A factor of 0 (or one too small or too large to undo) is no factor: nothing
    // is scaled, as for text that is no number.
    Point3d f = {1, 1, 1};
    bool numeric = true;
    for (std::size_t i = 0; i < 3; ++i) numeric = numeric && fldWScale[i]->HoldsValue(f[i]);
    const transform::EditMode mode = transform::CurrentEditMode();
    // The factors the closing record will hold; Undo applies their reciprocals.
    Point3d product = mode == transform::EditMode::Object       ? objScaleChng_
                      : mode == transform::EditMode::TrackPoint ? TrkScaleChng
                                                                : ScaleChng;
    if (numeric) {
        for (std::size_t i = 0; i < 3; ++i) product[i] *= f[i];
        numeric = transform::ScaleStaysInWorld(transform::SelectionReach(mode), f, product);
    }
    FieldsResetting resetting(FormLoaded);
    // Factors of 1 change nothing (scaling about a centre by 1 would still round).
    if (!numeric || (f[0] == 1 && f[1] == 1 && f[2] == 1)) {
        resetFields();
        return;
    }
    ReadOpenPlacements();

    using namespace Globals;
    const int32_t h = CurrSelEntityHandle;
    if (transform::IsPointEditing()) {
        const Point3d c = SelPtsAvgCenter;
        for (int32_t i = 1; i <= NumSelPts; ++i)
            undo::WritePoint(SelPts[i], undo::ScaleAbout(undo::ReadPoint(SelPts[i]), c, f));
        ValidateGroupPolygons(h);
    } else if (transform::IsPolygonEditing()) {
        const Point3d c = SelPolsAvgCenter;
        for (WeldedPoints* set : transform::SelectedWeldedSets())
            undo::MoveWeldedSet(*set, [&](const Point3d& p) { return undo::ScaleAbout(p, c, f); });
        ValidateGroupPolygons(h);
    } else {
        switch (CurrSelEntityType) {
        case SelGroup:
            OMBREL_group_scale(h, 0, f[0], f[1], f[2]);
            OMBREL_group_get_dimensions(h, FnlDim.data());
            undo::SelGrpBndBox().Initialize(h);
            break;
        case SelTrack:
            if (transform::IsTrackPointEditing()) ScaleSelTrackPoints(h, f);
            else ScaleTrackXYZ(h, f[0], f[1], f[2]);
            GetTrackDimensions(h, FnlDim);
            break;
        case SelMultiple: {
            undo::ScaleMultipleSelection(undo::CurrMultiSel(), f, openCentre_);
            undo::CurrMultiSel().InitializeBndBoxes();
            break;
        }
        default: break;
        }
        for (std::size_t i = 0; i < 3; ++i) objScaleChng_[i] *= f[i];
    }
    for (std::size_t i = 0; i < 3; ++i) {
        ScaleChng[i] *= f[i];
        TrkScaleChng[i] *= f[i];
    }
    resetFields();
    UpdateCameras();
}
