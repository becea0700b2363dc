// The numeric transform dialog's moves, rotations and scalings: each apply
// changes the world at once; the closing step records them.
#include "frmTransformParameters.h"

#include "EditModes.h"

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

void frmTransformParameters::ApplyAbsolute(int Index) {
    if (!FormLoaded || Index < 0 || Index > 2) return;
    const std::size_t i = static_cast<std::size_t>(Index);
    double v = 0;
    if (!platform::ReadNumber(txtAbsolute[i]->text(), v)) return;
    updwn[i]->Tag = txtAbsolute[i]->text();
    const double previous = TargetLoc[i];
    TargetLoc[i] = v;
    ValidateMove(Index);
    if (!finite(TargetLoc)) TargetLoc[i] = previous;
}

void frmTransformParameters::ApplyOffset(int Index) {
    if (!FormLoaded || Index < 0 || Index > 2) return;
    const std::size_t i = static_cast<std::size_t>(Index);
    double offset = 0, absolute = 0;
    if (!platform::ReadNumber(txtOffset[i]->text(), offset)) return;
    // A non-numeric Absolute field counts as the value last applied on the row.
    if (!platform::ReadNumber(txtAbsolute[i]->text(), absolute)) absolute = TargetLoc[i];
    const double sum = absolute + offset;
    if (!std::isfinite(sum)) return;
    updwnOffset[i]->Tag = txtOffset[i]->text();
    txtAbsolute[i]->setText(platform::NumberText(sum));
    txtOffset[i]->setText(QStringLiteral("0"));
    updwnOffset[i]->Tag = QStringLiteral("0");
    ApplyAbsolute(Index);
}

void frmTransformParameters::ValidateMove(int axis) {
    using namespace Globals;
    const int32_t h = CurrSelEntityHandle;
    auto offsetFrom = [this](const Point3d& centre) {
        Point3d d;
        Maths::VectorFromTo(centre, TargetLoc, d);
        return d;
    };
    switch (transform::CurrentEditMode()) {
    case transform::EditMode::Point: {
        const Point3d d = offsetFrom(SelPtsAvgCenter);
        if (!finite(d)) return;
        for (int32_t i = 1; i <= NumSelPts; ++i) {
            Point3d p = undo::ReadPoint(SelPts[i]);
            shift(p, d);
            undo::WritePoint(SelPts[i], p);
        }
        ComputeSelPtsAvgCenter();
        ValidateGroupPolygons(h);
        break;
    }
    case transform::EditMode::Polygon: {
        const Point3d d = offsetFrom(SelPolsAvgCenter);
        if (!finite(d)) return;
        for (WeldedPoints* set : transform::SelectedWeldedSets())
            for (int32_t j = 1; j <= set->NumOfPts(); ++j) {
                Point3d p = undo::ReadPoint(set->Point(j));
                shift(p, d);
                undo::WritePoint(set->Point(j), p);
            }
        ComputeSelPolsAvgCenter();
        ValidateGroupPolygons(h);
        break;
    }
    case transform::EditMode::TrackPoint: {
        const Point3d d = offsetFrom(SelTrkPtsAvgCenter);
        if (!finite(d)) return;
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
    }
    case transform::EditMode::Object:
        switch (CurrSelEntityType) {
        case SelGroup: {
            // The fields show the centre of mass: the group moves by what the typed
            // value asks of it, on the edited axis only.
            Point3d com = {0, 0, 0};
            OMBREL_group_get_center_of_mass(h, com.data());
            Point3d d = {0, 0, 0};
            for (int k = 0; k < 3; ++k)
                if (axis < 0 || axis == k) d[static_cast<std::size_t>(k)] = TargetLoc[static_cast<std::size_t>(k)] - com[static_cast<std::size_t>(k)];
            Point3d loc = core::groupLocation(h);
            shift(loc, d);
            if (!finite(loc)) return;
            OMBREL_group_set_location(h, loc.data());
            undo::SelGrpBndBox().Initialize(h);
            break;
        }
        case SelCamera:
            if (!finite(TargetLoc)) return;
            undo::SceneCameras().SetLocation(h, TargetLoc);
            SyncViewIfSelIsViewedCam();
            break;
        case SelLight:
            if (!finite(TargetLoc)) return;
            undo::SceneLights().SetLocation(h, TargetLoc);
            break;
        case SelTrack:
            if (!finite(TargetLoc)) return;
            SetTrackLocation(h, TargetLoc);
            UpdateTrackCenter();
            ComputeSelTrackPtsAvgCenter();
            break;
        case SelMultiple: {
            const Point3d d = offsetFrom(SelObjsAvgCenter);
            if (!finite(d)) return;
            const MultipleSelection& sel = undo::CurrMultiSel();
            for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) {
                Point3d p = core::groupLocation(sel.GetGrp(i));
                shift(p, d);
                OMBREL_group_set_location(sel.GetGrp(i), p.data());
            }
            undo::CurrMultiSel().InitializeBndBoxes();
            for (int32_t i = 1; i <= sel.NumOfCams(); ++i) {
                Point3d p = {0, 0, 0};
                OMBREL_camera_get_location1(sel.GetCam(i), p.data());
                shift(p, d);
                undo::SceneCameras().SetLocation(sel.GetCam(i), p);
            }
            for (int32_t i = 1; i <= sel.NumOfLights(); ++i) {
                Point3d p = {0, 0, 0};
                OMBREL_light_get_location(sel.GetLight(i), p.data());
                shift(p, d);
                undo::SceneLights().SetLocation(sel.GetLight(i), p);
            }
            break;
        }
        default: break;
        }
        SelObjsAvgCenter = TargetLoc;
        break;
    }
    FnlLoc = TargetLoc;
    UpdateCameras();
}

// ---- rotate

void frmTransformParameters::ApplyRotation() {
    FieldsResetting resetting(FormLoaded);
    std::array<bool, 3> has{};
    Point3d angle = {0, 0, 0};
    for (std::size_t i = 0; i < 3; ++i) has[i] = platform::ReadNumber(txtWRotate[i]->text(), angle[i]);

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
    } else if (transform::IsPolygonEditing()) {
        const Point3d c = SelPolsAvgCenter;
        for (WeldedPoints* set : transform::SelectedWeldedSets()) undo::MoveWeldedSet(*set, [&](const Point3d& p) { return turnAll(c, p); });
        ValidateGroupPolygons(h);
    } else {
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
    for (std::size_t i = 0; i < 3; ++i) {
        if (has[i] && angle[i] != 0) {
            RotationSteps.push_back({angle[i], static_cast<int32_t>(i)});
            NumRotationSteps = static_cast<int32_t>(RotationSteps.size());
        }
        txtORotate[i]->setText(QStringLiteral("0"));
        updwnORotate[i]->Tag = QStringLiteral("0");
        txtWRotate[i]->setText(QStringLiteral("0"));
        updwnWRotate[i]->Tag = QStringLiteral("0");
    }
    UpdateCameras();
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
    Point3d f = {1, 1, 1};
    bool numeric = true;
    for (std::size_t i = 0; i < 3; ++i) numeric = numeric && platform::ReadNumber(txtWScale[i]->text(), f[i]);
    Point3d product = ScaleChng;
    if (numeric) {
        for (std::size_t i = 0; i < 3; ++i) {
            if (f[i] == 0) {
                txtWScale[i]->setText(QStringLiteral("0.000001"));  // its spinner follows
                f[i] = 0.000001;
            }
            product[i] *= f[i];
        }
        numeric = finite(product);
    }
    FieldsResetting resetting(FormLoaded);
    if (!numeric) {
        resetFields();
        return;
    }

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
