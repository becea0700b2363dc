// The handle's mouse side: the press, the drag steps, the move step, the redraw
// policy and the undo record a drag leaves.
#include "TransformGizmo.h"

#include "SelectionPlacements.h"

#include "AlignMode.h"
#include "EditModes.h"
#include "TransformLimits.h"

#include "core/CoreError.h"
#include "core/EntityProcedures.h"
#include "core/GroupPolygonProcedures.h"
#include "core/Globals.h"
#include "core/Maths.h"
#include "core/MultipleSelection.h"
#include "core/BoundingBox.h"
#include "core/SelectionCentres.h"
#include "core/TrackProcedures.h"
#include "core/ViewHooks.h"
#include "core/WeldedPoints.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "platform/cursor.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/DragInProgress.h"
#include "undo/PointPolygonTransformActions.h"
#include "undo/SharedObjects.h"

#include "ombrel.h"

#include <cmath>

namespace {

constexpr double kPixelsPerLength = 50;
constexpr int kWrapMargin = 10;
// Uniform scaling has no line of its own: it follows the screen diagonal up and
// to the right of the handle's centre.
constexpr int kUniformDirection = 50;
constexpr double kStepsPerPixel = 1024;

bool ctrlHeld() { return platform::isKeyHeld(platform::vk::Control); }
bool transformTool(int32_t tool) { return tool >= ToolMove && tool <= ToolScale; }
bool isObjectKind(int32_t kind) {
    return kind == SelGroup || kind == SelCamera || kind == SelTrack || kind == SelLight || kind == SelMultiple;
}

std::unique_ptr<ActionUndoRedo> newRecord(int32_t code) {
    auto r = std::make_unique<ActionUndoRedo>();
    r->ActionType = code;
    r->SetActionObjects();
    return r;
}

ActionUndoRedo* push(std::unique_ptr<ActionUndoRedo> record) {
    ActionUndoRedo* raw = record.get();
    undo::Shared(Globals::UndoRedoStack, "The undo history").Push(std::move(record));
    return raw;
}

bool sameAsStart(const Point3d& f) { return f[0] == 1 && f[1] == 1 && f[2] == 1; }

int32_t roundPixel(float v) {
    const double r = Maths::RoundHalfEven(static_cast<double>(v));
    if (!(r >= INT32_MIN && r <= INT32_MAX)) core::raiseError("Overflow: mouse position outside the pixel range");
    return static_cast<int32_t>(r);
}

}  // namespace

bool TransformGizmo::MayTransform() const {
    using namespace Globals;
    if (transform::IsPointEditing()) return NumSelPts > 0;
    if (transform::IsPolygonEditing()) return NumSelPols > 0;
    if (transform::IsTextureEditing()) return false;
    return CurrSelEntityType >= SelNone && CurrSelEntityType <= SelMultiple && CurrSelEntityType != SelBackground;
}

TransformGizmo::Mode TransformGizmo::StepMode() const { return pressActive_ ? pressMode_ : transform::CurrentEditMode(); }

int32_t TransformGizmo::StepTool() const { return pressActive_ ? pressTool_ : Globals::CurrToolMode; }

void TransformGizmo::Hide() {
    shown_ = false;
    TransformationPossible = AxisNone;
}

void TransformGizmo::BeginDragState(Mode mode) {
    pressMode_ = mode;
    pressTool_ = Globals::CurrToolMode;
    pushed_ = nullptr;
    DragAngle = 0;
    ScaleChng = TrkScaleChng = objScaleChng_ = {1, 1, 1};
    dragTotal_ = dragApplied_ = 0;
    movedBy_ = {0, 0, 0};
    // A power of two far below a pixel's worth of motion: coordinates on that grid
    // (zeros, whole and half units) add the steps exactly, so Undo's one
    // subtraction of their sum gives them back bit for bit.
    moveGrid_ = GizmoSize > 0 ? std::exp2(std::floor(std::log2(GizmoSize / kPixelsPerLength / kStepsPerPixel))) : 0;
    pressCentre_ = Globals::CurrSelEntityType == SelMultiple ? Globals::SelObjsAvgCenter : Globals::TrkCenter;
    dragSets_.clear();
    if (mode == Mode::Polygon) dragSets_ = transform::SelectedWeldedSets();
    // Undo writes these back; they are read at the first motion, so a press
    // on a large group costs nothing and a click reads none.
    pressPlacements_ = {};
    placementsRead_ = false;
}

void TransformGizmo::ReadPressPlacements() {
    if (placementsRead_) return;
    placementsRead_ = true;
    pressPlacements_ = transform::ReadSelectionPlacements(pressMode_);
}

void TransformGizmo::EndDragState() {
    pressActive_ = false;
    pushed_ = nullptr;
    dragSets_.clear();
    pressPlacements_ = {};
    placementsRead_ = false;
}

void TransformGizmo::MouseDown(int16_t Button, float X, float Y) {
    // Align mode takes the views' releases, so a press here would leave a record
    // that no release completes.
    if (transform::IsAlignMode()) return;
    hasLastCursorPos_ = false;
    LastCursorPos = {0, 0};
    Dragging = true;
    undo::TransformDragFlag() = true;
    pressActive_ = false;
    if (Button != 1 || !shown_ || !transformTool(Globals::CurrToolMode)) return;
    // Moves reach only the active view's handle, so another view's line in hand
    // is whatever its last hover left there.
    MousePos = {roundPixel(X), roundPixel(Y)};
    UpdateTransformationPossible();
    if (TransformationPossible == AxisNone) return;

    using namespace Globals;
    Mode mode = Mode::Object;
    if (transform::IsPointEditing()) {
        if (NumSelPts <= 0) return;
        mode = Mode::Point;
    } else if (transform::IsPolygonEditing()) {
        if (NumSelPols <= 0 || NumSelPolsRelatedPts <= 0) return;
        mode = Mode::Polygon;
    } else if (transform::IsTrackPointEditing()) {
        if (NumSelTrkPts <= 0) return;
        mode = Mode::TrackPoint;
    } else if (!isObjectKind(CurrSelEntityType)) {
        return;
    }
    BeginDragState(mode);
    pressActive_ = true;
    StartRecord(mode);
}

bool TransformGizmo::StartRecord(Mode mode) {
    using namespace Globals;
    const int32_t tool = pressTool_;
    std::unique_ptr<ActionUndoRedo> rec;
    switch (mode) {
    case Mode::Point:
        if (tool != ToolMove) return false;
        rec = newRecord(ActMoveGrpPoints);
        rec->MoveGrpPoints->SetMovedPtsToCurrSelPts();
        rec->MoveGrpPoints->SetFrmLoc(SelPtsAvgCenter);
        break;
    case Mode::Polygon:
        if (tool != ToolMove) return false;
        rec = newRecord(ActMoveGrpPols);
        rec->MoveGrpPols->SetMovedWeldedPtsToCurrWeldedPts();
        rec->MoveGrpPols->SetFrmLoc(SelPolsAvgCenter);
        break;
    case Mode::TrackPoint:
        if (tool != ToolMove) return false;
        rec = newRecord(ActMoveTrkPts);
        rec->MoveTrkPts->SetMovedTrkPtsToCurrSelTrkPts();
        rec->MoveTrkPts->SetFrmLoc(SelTrkPtsAvgCenter);
        break;
    case Mode::Object:
        if (tool == ToolMove) {
            Point3d loc = {0, 0, 0};
            GetEntityLocation(CurrSelEntityHandle, CurrSelEntityType, loc);
            rec = newRecord(ActMove);
            rec->Move->SetMovedEntity(CurrSelEntityType, CurrSelEntityHandle);
            rec->Move->SetFrmLoc(loc);
        } else if (tool == ToolScale &&
                   (CurrSelEntityType == SelGroup || CurrSelEntityType == SelTrack || CurrSelEntityType == SelMultiple)) {
            rec = newRecord(ActScale);
            rec->ScaleObj->SetScaledEntity(CurrSelEntityType, CurrSelEntityHandle);
        } else {
            return false;  // rotations are recorded at the release
        }
        break;
    }
    pushed_ = push(std::move(rec));
    return true;
}

void TransformGizmo::MouseMove(int16_t Button, float X, float Y) {
    if (!MayTransform()) {
        if (!Dragging) TransformationPossible = AxisNone;
        return;
    }
    MousePos = {roundPixel(X), roundPixel(Y)};
    if (Button != 1) UpdateTransformationPossible();
    if (Dragging) DragStep(Button, X, Y);
}

void TransformGizmo::DragStep(int16_t Button, float X, float Y) {
    (void)X, (void)Y;
    platform::ScreenPoint cursor = platform::GetCursorPos();
    if (!platform::isKeyHeld(platform::vk::LButton) || Button != 1 || TransformationPossible == AxisNone) return;
    if (!pressActive_) return;

    const int32_t tool = pressTool_;
    if (tool == ToolRotate || tool == ToolScale) {
        const platform::ScreenSize screen = platform::cursor().screenSize();
        const int w = screen.width, h = screen.height;
        bool wrapped = true;
        if (cursor.y >= h - kWrapMargin) cursor.y = kWrapMargin + 1;
        else if (cursor.y <= kWrapMargin) cursor.y = h - kWrapMargin - 1;
        else if (cursor.x >= w - kWrapMargin) cursor.x = kWrapMargin + 1;
        else if (cursor.x <= kWrapMargin) cursor.x = w - kWrapMargin - 1;
        else wrapped = false;
        if (wrapped) {
            hasLastCursorPos_ = false;
            LastCursorPos = {0, 0};
            platform::SetCursorPos(cursor.x, cursor.y);
        }
    }

    const PixelPt c = Center2D;
    const PixelPt e = TransformationPossible == AxisAll
                          ? PixelPt{c[0] + kUniformDirection, c[1] - kUniformDirection}
                          : AxisEnd2D(TransformationPossible);
    PixelPt foot = {0, 0};
    Maths::ClosestPointOnLine2D({cursor.x, cursor.y}, c, e, foot);

    // The view repeats each move through its handle update: a step at the same
    // place moves nothing, so it redraws nothing either.
    if (hasLastCursorPos_ && GizmoSize > 0 && foot != LastCursorPos) {
        double d = Maths::Distance2D(foot, LastCursorPos) * GizmoSize / kPixelsPerLength;
        const double along = double(LastCursorPos[0] - foot[0]) * (e[0] - c[0]) +
                             double(LastCursorPos[1] - foot[1]) * (e[1] - c[1]);
        if (along > 0) d = -d;
        if (d != 0) ReadPressPlacements();
        if (tool == ToolMove) {
            const double asked = dragTotal_ + d;
            double step = (moveGrid_ > 0 ? moveGrid_ * std::round(asked / moveGrid_) : asked) - dragApplied_;
            Point3d offset = {0, 0, 0};
            if (TransformationPossible >= 0 && TransformationPossible <= 2)
                offset[static_cast<std::size_t>(TransformationPossible)] = step;
            // A step that would take the selection out of reach is dropped whole.
            if (transform::MoveStaysInWorld(transform::SelectionReach(pressMode_), offset)) {
                dragTotal_ = asked;
                dragApplied_ += step;
                MoveSelection(step);
            }
        } else if (tool == ToolRotate) {
            double amount = d / GizmoSize;
            Rotate(amount);
        } else if (tool == ToolScale) {
            double amount = 2 * d / GizmoSize;
            ChangeScale(amount);
        }
        using namespace Globals;
        const bool pointsOrPols = pressMode_ == Mode::Point || pressMode_ == Mode::Polygon;
        // The edited group's box follows its points too.
        if (CurrSelEntityType == SelGroup) undo::SelGrpBndBox().Initialize(CurrSelEntityHandle);
        if (!pointsOrPols && CurrSelEntityType == SelMultiple) {
            undo::CurrMultiSel().InitializeBndBoxes();
            ComputeSelObjsAvgCenter();
        }
        if (pointsOrPols) ValidateGroupPolygons(CurrSelEntityHandle);
        RefreshViewOrViews();
    }
    LastCursorPos = foot;
    hasLastCursorPos_ = true;
}

void TransformGizmo::MoveSelection(double& d) {
    if (d == 0 || TransformationPossible < 0 || TransformationPossible > 2) return;
    Point3d offset = {0, 0, 0};
    offset[static_cast<std::size_t>(TransformationPossible)] = d;

    using namespace Globals;
    const int32_t h = CurrSelEntityHandle;
    switch (pressMode_) {
    case Mode::Point:
        for (int32_t i = 1; i <= NumSelPts; ++i) {
            Point3d p = undo::ReadPoint(SelPts[i]);
            Maths::AddVector(p, offset);
            undo::WritePoint(SelPts[i], p);
        }
        ComputeSelPtsAvgCenter();
        return;
    case Mode::Polygon:
        for (WeldedPoints* set : dragSets_)
            undo::MoveWeldedSet(*set, [&](Point3d p) {
                Maths::AddVector(p, offset);
                return p;
            });
        ComputeSelPolsAvgCenter();
        return;
    case Mode::TrackPoint:
        for (int32_t i = 1; i <= NumSelTrkPts; ++i) {
            const int32_t n = SelTrkPts.at(static_cast<std::size_t>(i));
            Point3d p = {0, 0, 0};
            OMBREL_track_get_point(h, n, p.data());
            Maths::AddVector(p, offset);
            OMBREL_track_set_point(h, n, p.data());
        }
        ComputeSelTrackPtsAvgCenter();
        return;
    case Mode::Object: break;
    }
    switch (CurrSelEntityType) {
    case SelGroup: OMBREL_group_move(h, offset.data(), 0); break;
    case SelMultiple: {
        const MultipleSelection& sel = undo::CurrMultiSel();
        for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) OMBREL_group_move(sel.GetGrp(i), offset.data(), 0);
        for (int32_t i = 1; i <= sel.NumOfCams(); ++i) undo::SceneCameras().Move(sel.GetCam(i), offset);
        for (int32_t i = 1; i <= sel.NumOfLights(); ++i) undo::SceneLights().Move(sel.GetLight(i), offset);
        break;
    }
    case SelCamera:
        undo::SceneCameras().Move(h, offset);
        SyncViewIfSelIsViewedCam();
        break;
    case SelLight: undo::SceneLights().Move(h, offset); break;
    case SelTrack:
        if (!transform::IsTrackOnPageAs("Track")) return;
        MoveTrack(h, offset);
        UpdateTrackCenter();
        break;
    default: return;
    }
    Maths::AddVector(movedBy_, offset);
}

void TransformGizmo::RefreshViewOrViews() {
    if (ctrlHeld()) {
        Globals::UpdateCameras();
        return;
    }
    core::callHook(core::viewHooks().updateCamerasSingle, view_);
}

void TransformGizmo::MouseUp(int16_t Button, float X, float Y) {
    (void)X, (void)Y;
    hasLastCursorPos_ = false;
    LastCursorPos = {0, 0};
    Dragging = false;
    undo::TransformDragFlag() = false;
    const bool active = pressActive_;
    const int32_t tool = StepTool();

    using namespace Globals;
    if (!ctrlHeld() && transformTool(tool)) UpdateCameras();
    if (transform::IsTrackOnPageAs("Track")) {
        UpdateTrackCenter();
        UpdateCameras();
    }
    if (transformTool(tool)) RefillEntityPanel();

    if (Button == 1 && transformTool(tool) && TransformationPossible != AxisNone && active) FinishRecord(pressMode_);
    EndDragState();
}

void TransformGizmo::FinishRecord(Mode mode) {
    using namespace Globals;
    const int32_t tool = pressTool_;
    // Only the record this drag pushed, and only while the history still holds it.
    ActionUndoRedo* rec = nullptr;
    if (pushed_ && UndoRedoStack && UndoRedoStack->Retrive() == pushed_) rec = pushed_;
    const int32_t axis = TransformationPossible;
    auto after = [mode] { return transform::ReadSelectionPlacements(mode); };
    // Without a motion nothing changed: nothing to record or read (a turn by 0
    // would only round the world when undone).
    const bool moved = placementsRead_;
    if (!moved && tool == ToolRotate) return;
    auto exact = [&](auto& action) {
        if (moved) action.SetPlacements(std::move(pressPlacements_), after());
    };

    switch (mode) {
    case Mode::Point:
        if (tool == ToolMove) {
            if (!rec || !rec->MoveGrpPoints) return;
            ComputeSelPtsAvgCenter();
            rec->MoveGrpPoints->SetToLoc(SelPtsAvgCenter);
            exact(*rec->MoveGrpPoints);
        } else if (tool == ToolRotate) {
            auto r = newRecord(ActRotateGrpPoints);
            r->RotateGrpPoints->SetRotatedPtsParentGrp(CurrSelEntityHandle);
            r->RotateGrpPoints->SetRotatedPtsToCurrSelPts();
            r->RotateGrpPoints->AddRotation(DragAngle, axis);
            exact(*r->RotateGrpPoints);
            push(std::move(r));
        } else if (!sameAsStart(ScaleChng)) {
            auto r = newRecord(ActScaleGrpPoints);
            r->ScaleGrpPoints->SetScaledPtsToCurrSelPts();
            r->ScaleGrpPoints->SetScaleChng(ScaleChng);
            exact(*r->ScaleGrpPoints);
            push(std::move(r));
        }
        break;
    case Mode::Polygon:
        if (tool == ToolMove) {
            if (!rec || !rec->MoveGrpPols) return;
            ComputeSelPolsAvgCenter();
            rec->MoveGrpPols->SetToLoc(SelPolsAvgCenter);
            exact(*rec->MoveGrpPols);
        } else if (tool == ToolRotate) {
            auto r = newRecord(ActRotateGrpPols);
            r->RotateGrpPols->SetRotatedPolsParentGrp(CurrSelEntityHandle);
            r->RotateGrpPols->SetRotatedWeldedPtsToCurrWeldedPts();
            r->RotateGrpPols->AddRotation(DragAngle, axis);
            exact(*r->RotateGrpPols);
            push(std::move(r));
        } else if (!sameAsStart(ScaleChng)) {
            auto r = newRecord(ActScaleGrpPols);
            r->ScaleGrpPols->SetScaledWeldedPtsToCurrWeldedPts();
            r->ScaleGrpPols->SetScaleChng(ScaleChng);
            exact(*r->ScaleGrpPols);
            push(std::move(r));
        }
        break;
    case Mode::TrackPoint:
        if (tool == ToolMove) {
            if (!rec || !rec->MoveTrkPts) return;
            ComputeSelTrackPtsAvgCenter();
            rec->MoveTrkPts->SetToLoc(SelTrkPtsAvgCenter);
            exact(*rec->MoveTrkPts);
        } else if (tool == ToolRotate) {
            auto r = newRecord(ActRotateTrkPts);
            r->RotateTrkPts->SetRotatedTrkPtsToCurrSelTrkPts();
            r->RotateTrkPts->AddRotation(DragAngle, axis);
            exact(*r->RotateTrkPts);
            push(std::move(r));
        } else if (!sameAsStart(TrkScaleChng)) {
            auto r = newRecord(ActScaleTrkPts);
            r->ScaleTrkPts->SetScaledTrkPtsToCurrSelPts();
            r->ScaleTrkPts->SetScaleChng(TrkScaleChng);
            exact(*r->ScaleTrkPts);
            push(std::move(r));
        }
        break;
    case Mode::Object:
        if (tool == ToolMove) {
            if (!rec || !rec->Move) return;
            Point3d loc = {0, 0, 0};
            GetEntityLocation(CurrSelEntityHandle, CurrSelEntityType, loc);
            rec->Move->SetToLoc(loc);
            rec->Move->SetMovedBy(movedBy_);
            exact(*rec->Move);
        } else if (tool == ToolRotate) {
            auto r = newRecord(ActRotate);
            r->Rotate->SetRotatedEntity(CurrSelEntityType, CurrSelEntityHandle);
            if (CurrSelEntityType == SelMultiple || CurrSelEntityType == SelTrack) r->Rotate->SetRotCenter(pressCentre_);
            r->Rotate->AddRotation(DragAngle, axis);
            exact(*r->Rotate);
            push(std::move(r));
        } else if (rec && rec->ScaleObj) {
            rec->ScaleObj->SetScaleChng(objScaleChng_);
            exact(*rec->ScaleObj);
            if (CurrSelEntityType == SelMultiple || CurrSelEntityType == SelTrack)
                rec->ScaleObj->SetScaleCenter(pressCentre_);
        }
        break;
    }
    DragAngle = 0;
    ScaleChng = TrkScaleChng = objScaleChng_ = {1, 1, 1};
}
