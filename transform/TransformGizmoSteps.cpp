// Rotation and scaling steps of a drag of the handle.
#include "TransformGizmo.h"

#include "EditModes.h"
#include "TransformLimits.h"

#include "core/CoreError.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/TrackProcedures.h"
#include "core/WeldedPoints.h"
#include "core/EntityProcedures.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "undo/MultipleSelectionSteps.h"
#include "undo/PointPolygonTransformActions.h"
#include "undo/SharedObjects.h"

#include "ombrel.h"

#include <algorithm>
#include <string>

namespace {

constexpr double kDegreesPerUnit = 30;
constexpr double kScalePerUnit = 1.0 / 40;
// A step never flattens or mirrors the selection: its factor stays above this.
constexpr double kMinStepFactor = 0.01;

}  // namespace

void TransformGizmo::RotatePts(int32_t AxisFlag, double Angle) {
    using namespace Globals;
    const Point3d c = SelPtsAvgCenter;
    for (int32_t i = 1; i <= NumSelPts; ++i)
        undo::WritePoint(SelPts[i], undo::TurnAbout(undo::ReadPoint(SelPts[i]), c, Angle, AxisFlag));
}

void TransformGizmo::RotatePols(int32_t AxisFlag, double Angle) {
    const Point3d c = Globals::SelPolsAvgCenter;
    const auto sets = Dragging && pressActive_ ? dragSets_ : transform::SelectedWeldedSets();
    for (WeldedPoints* set : sets)
        undo::MoveWeldedSet(*set, [&](const Point3d& p) { return undo::TurnAbout(p, c, Angle, AxisFlag); });
}

void TransformGizmo::Rotate(double& amount) {
    if (amount == 0) return;
    const Mode mode = StepMode();
    if (!transform::TurnStaysInWorld(transform::SelectionReach(mode))) return;
    const double angle = amount * kDegreesPerUnit;
    amount = angle;
    DragAngle += angle;
    const int32_t axis = TransformationPossible;

    using namespace Globals;
    const int32_t h = CurrSelEntityHandle;
    if (mode == Mode::Point) return RotatePts(axis, angle);
    if (mode == Mode::Polygon) return RotatePols(axis, angle);
    switch (CurrSelEntityType) {
    case SelGroup: OMBREL_group_rotate(h, angle, 0, axis); break;
    case SelMultiple: {
        // The common centre is the one of the press for the whole drag.
        undo::TurnMultipleSelection(undo::CurrMultiSel(), angle, axis,
                                    Dragging && pressActive_ ? pressCentre_ : SelObjsAvgCenter);
        break;
    }
    case SelCamera:
        undo::SceneCameras().Rotate(h, angle, axis, false, 0, 0, 0);
        SyncViewIfSelIsViewedCam();
        break;
    case SelLight:
        undo::SceneLights().Rotate(h, angle, axis, false, 0, 0, 0);
        break;
    case SelTrack:
        if (transform::IsTrackOnPageAs("Track")) RotateTrack(h, angle, axis);
        else if (transform::IsTrackOnPageAs("Point")) RotateSelTrackPoints(h, axis, angle);
        break;
    default: break;
    }
}

void TransformGizmo::ChangeScale(double& amount) {
    if (!Dragging || amount == 0) return;
    const double s = amount * kScalePerUnit;
    amount = s;
    Point3d f = {1, 1, 1};
    if (TransformationPossible >= 0 && TransformationPossible <= 2)
        f[static_cast<std::size_t>(TransformationPossible)] += s;
    else if (TransformationPossible == AxisAll)
        f = {1 + s, 1 + s, 1 + s};
    for (double& k : f) k = std::max(k, kMinStepFactor);
    auto accumulate = [&f](Point3d& total) {
        for (int k = 0; k < 3; ++k) total[static_cast<std::size_t>(k)] *= f[static_cast<std::size_t>(k)];
    };

    using namespace Globals;
    const int32_t h = CurrSelEntityHandle;
    const Mode mode = StepMode();
    // The running product the drag's record will hold.
    Point3d total = objScaleChng_;
    if (mode == Mode::Point || mode == Mode::Polygon) total = ScaleChng;
    else if (mode == Mode::TrackPoint) total = TrkScaleChng;
    accumulate(total);
    if (!transform::ScaleStaysInWorld(transform::SelectionReach(mode), f, total)) return;
    if (mode == Mode::Point) {
        accumulate(ScaleChng);
        const Point3d c = SelPtsAvgCenter;
        for (int32_t i = 1; i <= NumSelPts; ++i)
            undo::WritePoint(SelPts[i], undo::ScaleAbout(undo::ReadPoint(SelPts[i]), c, f));
        return;
    }
    if (mode == Mode::Polygon) {
        accumulate(ScaleChng);
        const Point3d c = SelPolsAvgCenter;
        const auto sets = pressActive_ ? dragSets_ : transform::SelectedWeldedSets();
        for (WeldedPoints* set : sets)
            undo::MoveWeldedSet(*set, [&](const Point3d& p) { return undo::ScaleAbout(p, c, f); });
        return;
    }
    switch (CurrSelEntityType) {
    case SelGroup:
        OMBREL_group_scale(h, 0, f[0], f[1], f[2]);
        accumulate(objScaleChng_);
        break;
    case SelMultiple: {
        undo::ScaleMultipleSelection(undo::CurrMultiSel(), f, pressActive_ ? pressCentre_ : SelObjsAvgCenter);
        accumulate(objScaleChng_);
        break;
    }
    case SelTrack:
        if (transform::IsTrackOnPageAs("Track")) {
            ScaleTrack(h, f);
            accumulate(objScaleChng_);
        } else if (transform::IsTrackOnPageAs("Point")) {
            accumulate(TrkScaleChng);
            ScaleSelTrackPoints(h, f);
        }
        break;
    default: break;  // cameras and lights keep their size
    }
}
