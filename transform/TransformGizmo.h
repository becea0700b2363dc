// The move, rotate and scale handle of one view: three lines of equal world
// length from the selection's centre along the world axes. It remembers where it
// last drew, tells which line is under the mouse, and turns a drag along that
// line into a move, rotation or scaling of the selection with one undo record.
//
// The view calls, always on its own handle:
//   repaint, after render and box:   Draw(CurrSelEntityHandle, camera, false)
//   mouse move with a transform tool: MouseMove(button, x, y), then the hover
//                                    redraw Draw(..., true) (transient layer only)
//   press / release:                 MouseDown / MouseUp(button, x, y)
#pragma once

#include "EditModes.h"

#include "core/CoreTypes.h"
#include "undo/Placements.h"

#include <cstdint>
#include <memory>
#include <vector>

class ActionUndoRedo;
class WeldedPoints;

class TransformGizmo {
public:
    static constexpr int32_t AxisNone = 4;
    static constexpr int32_t AxisAll = 3;  // uniform scaling: scale tool with Shift

    explicit TransformGizmo(int viewIndex = 0);
    ~TransformGizmo();
    TransformGizmo(const TransformGizmo&) = delete;
    TransformGizmo& operator=(const TransformGizmo&) = delete;

    // The line in hand: 0 x, 1 y, 2 z, 3 all three, 4 none.
    int32_t TransformationPossible = 0;

    // DontUseEngineDC False draws on OverlayDC with the shared pens; True draws only
    // the handle on the view's transient layer (a hover, no render).
    void Draw(int32_t selHandle, int32_t camera, bool DontUseEngineDC);
    // Button: 1 left, 2 right, 4 middle; X, Y in view pixels. The press takes the
    // line under X, Y, whatever an earlier hover of this view found.
    void MouseDown(int16_t Button, float X, float Y);
    void MouseUp(int16_t Button, float X, float Y);
    void MouseMove(int16_t Button, float X, float Y);
    void UpdateTransformationPossible();
    // amount in drag units; comes back in degrees.
    void Rotate(double& amount);
    void RotatePts(int32_t AxisFlag, double Angle);
    void RotatePols(int32_t AxisFlag, double Angle);
    // amount in drag units; comes back as the step's added factor.
    void ChangeScale(double& amount);
    // The active view, or all views while Ctrl is held.
    void RefreshViewOrViews();

    int View() const { return view_; }
    bool IsDragging() const { return Dragging; }
    // A left press took a line: the drag keeps the tool and edit mode of the press
    // until the release.
    bool IsDragActive() const { return pressActive_; }
    // The view did not draw the handle (a hidden selection): it takes no press.
    void Hide();
    // The last Draw found something to transform and placed the handle.
    bool IsShown() const { return shown_; }
    const PixelPt& Center2DPx() const { return Center2D; }
    const PixelPt& AxisEnd2D(int axis) const;
    double Size() const { return GizmoSize; }
    const Point3d& Center() const { return Center3D; }

private:
    using Mode = transform::EditMode;

    bool IsCursorOnAxis(int32_t axis, double tol, const PixelPt& p) const;
    void DragStep(int16_t Button, float X, float Y);
    void MoveSelection(double& d);
    bool FindCentre(Point3d& centre) const;
    bool MayTransform() const;
    // The mode a step acts in: the press's during a drag.
    Mode StepMode() const;
    int32_t StepTool() const;
    bool StartRecord(Mode mode);
    void FinishRecord(Mode mode);
    void BeginDragState(Mode mode);
    // Once per drag, just before its first change.
    void ReadPressPlacements();
    void EndDragState();

    int view_;
    PixelPt LastCursorPos = {0, 0};
    bool hasLastCursorPos_ = false;
    PixelPt XAxisEnd2D = {0, 0}, YAxisEnd2D = {0, 0}, ZAxisEnd2D = {0, 0};
    PixelPt Center2D = {0, 0};
    double GizmoSize = 0;
    PixelPt MousePos = {0, 0};
    bool Dragging = false;
    Point3d Center3D = {0, 0, 0};
    double DragAngle = 0;
    Point3d ScaleChng = {1, 1, 1};
    Point3d TrkScaleChng = {1, 1, 1};

    bool shown_ = false;
    // Fixed at the press for the whole drag.
    bool pressActive_ = false;            // a left press on a line of a shown handle
    Mode pressMode_ = Mode::Object;
    int32_t pressTool_ = 0;
    Point3d pressCentre_ = {0, 0, 0};     // multiple selection or track centre
    Point3d objScaleChng_ = {1, 1, 1};    // group, track, multiple selection scaling
    Point3d movedBy_ = {0, 0, 0};         // what an entity move really moved, summed
    double moveGrid_ = 0;                 // what a move step is a multiple of
    // A move drag's amount along the line: asked for, and applied (its steps
    // summed as the engine adds them).
    double dragTotal_ = 0, dragApplied_ = 0;
    ActionUndoRedo* pushed_ = nullptr;    // the record pushed at the press
    undo::Placements pressPlacements_;    // what the drag found, read at its first motion
    bool placementsRead_ = false;
    std::vector<WeldedPoints*> dragSets_;  // the welded sets of a polygon drag
};
