#include "ObjectTransformActions.h"

#include "MultipleSelectionSteps.h"
#include "SharedObjects.h"

#include "core/EntityLocations.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/Maths.h"
#include "core/SelectionCentres.h"
#include "core/TrackProcedures.h"

#include "ombrel.h"

namespace {

// The track procedures work about TrkCenter; a recorded centre stands in for it
// while they run, so undo turns about the very point the edit used.
class TrackCentreOverride {
public:
    explicit TrackCentreOverride(const Point3d& centre) : saved_(Globals::TrkCenter) { Globals::TrkCenter = centre; }
    ~TrackCentreOverride() { Globals::TrkCenter = saved_; }
    TrackCentreOverride(const TrackCentreOverride&) = delete;
    TrackCentreOverride& operator=(const TrackCentreOverride&) = delete;

private:
    Point3d saved_;
};

void refreshSelGrpBndBoxIfGroup() {
    if (Globals::CurrSelEntityType == SelGroup) undo::SelGrpBndBox().Initialize(Globals::CurrSelEntityHandle);
}

double reciprocal(double f) { return f == 0 ? 1.0 : 1.0 / f; }

}  // namespace

// ---- ActionMove

void ActionMove::Undo() { MoveTo(FrmLoc, ToLoc, -1); }
void ActionMove::Redo() { MoveTo(ToLoc, FrmLoc, 1); }

void ActionMove::SetMovedEntity(int32_t kind, int32_t handle) {
    MovedEntityType = kind;
    MovedEntityHandle = handle;
    if (kind == SelMultiple) undo::CopyCurrMultiSelWithoutTracks(MovedMultiSel);
}

void ActionMove::MoveTo(const Point3d& loc, const Point3d& from, double sign) {
    const int32_t h = MovedEntityHandle;
    Point3d offset;
    if (hasMovedBy_)
        offset = {sign * MovedBy[0], sign * MovedBy[1], sign * MovedBy[2]};
    else
        Maths::VectorFromTo(from, loc, offset);
    const bool after = sign > 0;
    switch (MovedEntityType) {
    case SelGroup:
        if (hasMovedBy_)
            OMBREL_group_move(h, offset.data(), 0);
        else
            OMBREL_group_set_location(h, loc.data());
        WriteBack(after);
        undo::SelGrpBndBox().Initialize(h);
        break;
    case SelCamera:
        undo::SceneCameras().SetLocation(h, loc);
        WriteBack(after);
        Globals::SyncViewIfSelIsViewedCam();
        break;
    case SelTrack:
        if (hasMovedBy_)
            Globals::MoveTrack(h, offset);
        else
            Globals::SetTrackLocation(h, loc);
        WriteBack(after);
        Globals::UpdateTrackCenter();
        break;
    case SelLight:
        undo::SceneLights().SetLocation(h, loc);
        WriteBack(after);
        break;
    case SelMultiple: {
        const MultipleSelection& sel = MovedMultiSel;
        for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) OMBREL_group_move(sel.GetGrp(i), offset.data(), 0);
        for (int32_t i = 1; i <= sel.NumOfLights(); ++i) undo::SceneLights().Move(sel.GetLight(i), offset);
        for (int32_t i = 1; i <= sel.NumOfCams(); ++i) undo::SceneCameras().Move(sel.GetCam(i), offset);
        WriteBack(after);
        undo::CurrMultiSel().InitializeBndBoxes();
        Globals::SelObjsAvgCenter = loc;
        break;
    }
    default: break;
    }
}

// ---- ActionRotate

void ActionRotate::Undo() {
    if (Rotations.NumOfRotations() < 1) return;
    Rotations.forEachUndone([this](double a, int32_t axis) { Turn(a, axis); });
    Exact.RestoreBefore();
    AfterTurning();
}

void ActionRotate::Redo() {
    if (Rotations.NumOfRotations() < 1) return;
    Rotations.forEachRedone([this](double a, int32_t axis) { Turn(a, axis); });
    Exact.RestoreAfter();
    AfterTurning();
}

void ActionRotate::SetRotatedEntity(int32_t kind, int32_t handle) {
    RotatedEntityType = kind;
    RotatedEntityHandle = handle;
    if (kind == SelMultiple) {
        undo::CopyCurrMultiSelWithoutTracks(RotatedMultiSel);
        RotCenter = Globals::SelObjsAvgCenter;
    } else if (kind == SelTrack) {
        RotCenter = Globals::TrkCenter;
    }
}

void ActionRotate::Turn(double a, int32_t axis) {
    const int32_t h = RotatedEntityHandle;
    const Point3d& c = RotCenter;
    switch (RotatedEntityType) {
    case SelGroup: OMBREL_group_rotate(h, a, 0, axis); break;
    case SelCamera:
        undo::SceneCameras().Rotate(h, a, axis, false, 0, 0, 0);
        Globals::SyncViewIfSelIsViewedCam();
        break;
    case SelTrack: {
        TrackCentreOverride centre(c);
        Globals::RotateTrack(h, a, axis);
        break;
    }
    case SelLight: undo::SceneLights().Rotate(h, a, axis, false, 0, 0, 0); break;
    case SelMultiple: undo::TurnMultipleSelection(RotatedMultiSel, a, axis, c); break;
    default: break;
    }
}

void ActionRotate::AfterTurning() {
    if (RotatedEntityType == SelGroup) refreshSelGrpBndBoxIfGroup();
    if (RotatedEntityType == SelMultiple) undo::CurrMultiSel().InitializeBndBoxes();
    if (RotatedEntityType == SelCamera || RotatedEntityType == SelMultiple) Globals::SyncViewIfSelIsViewedCam();
}

// ---- ActionScale

void ActionScale::Undo() {
    Point3d f;
    for (int k = 0; k < 3; ++k) f[k] = reciprocal(ScaleChng[k]);
    Apply(f);
    Exact.RestoreBefore();
    AfterScaling();
}

void ActionScale::Redo() {
    Apply(ScaleChng);
    Exact.RestoreAfter();
    AfterScaling();
}

void ActionScale::SetScaledEntity(int32_t kind, int32_t handle) {
    ScaledEntityType = kind;
    ScaledEntityHandle = handle;
    if (kind == SelMultiple) {
        undo::CopyCurrMultiSelWithoutTracks(ScaledMultiSel);
        ScaleCenter = Globals::SelObjsAvgCenter;
    } else if (kind == SelTrack) {
        Globals::GetTrackCenter(handle, ScaleCenter);
    }
}

void ActionScale::Apply(const Point3d& f) {
    const int32_t h = ScaledEntityHandle;
    switch (ScaledEntityType) {
    case SelGroup: OMBREL_group_scale(h, 0, f[0], f[1], f[2]); break;
    case SelTrack: {
        TrackCentreOverride centre(ScaleCenter);
        Globals::ScaleTrack(h, f);
        break;
    }
    case SelMultiple: undo::ScaleMultipleSelection(ScaledMultiSel, f, ScaleCenter); break;
    default: break;  // cameras and lights keep their size
    }
}

void ActionScale::AfterScaling() {
    if (ScaledEntityType == SelGroup) undo::SelGrpBndBox().Initialize(ScaledEntityHandle);
    if (ScaledEntityType == SelMultiple) undo::CurrMultiSel().InitializeBndBoxes();
}
