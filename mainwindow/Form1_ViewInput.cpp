// Focus, mouse presses, moves and releases of the four views: which of the
// view's camera, its transform handle, the align tool or the selection gets each
// event, by tool, workspace mode and button.
#include "Form1.h"

#include "formCreateTrack.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/SelectionBookkeeping.h"
#include "core/SelectionChange.h"
#include "geometry/mdlCutPols.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/key_state.h"
#include "transform/AlignMode.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/PicWindow.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QTabWidget>

namespace {

constexpr int kLeftButton = 1;
constexpr int kObjectPage = 1;

Camera& viewCamera(int index) {
    auto& camera = Globals::ViewCams.at(static_cast<std::size_t>(index));
    if (!camera) throw platform::EditorError("Object variable not set");
    return *camera;
}

void setFocusColour(QFrame* frame, int r, int g, int b) {
    frame->setStyleSheet(QString("QFrame#shpFocus { border: 2px solid rgb(%1, %2, %3); background: transparent; }")
                             .arg(r)
                             .arg(g)
                             .arg(b));
}

// Pan, revolve and zoom leave the standard view: an axis view turns "User", a
// view through a world camera "Perspective".
QString navigatedCaption(const QString& caption) {
    if (caption == "Perspective" || caption == "Camera") return "Perspective";
    return "User";
}

}  // namespace

void Form1::connectViewInput(PicWindow* view) {
    view->MouseDown = [this](int index, int button, int shift, int x, int y) {
        platform::runTrapped(this, [&] { picWindow_MouseDown(index, button, shift, x, y); });
    };
    view->MouseMove = [this](int index, int button, int shift, int x, int y) {
        platform::runTrapped(this, [&] { picWindow_MouseMove(index, button, shift, x, y); });
    };
    view->MouseUp = [this](int index, int button, int shift, int x, int y) {
        platform::runTrapped(this, [&] { picWindow_MouseUp(index, button, shift, x, y); });
    };
    view->DragOver = [this](int index, const QMimeData* data, int& effect) {
        // A drag over a view must never end in the error window: refuse instead.
        try {
            picWindow_OLEDragOver(index, data, effect);
        } catch (...) {
            effect = 0;
        }
    };
    view->DragDrop = [this](int index, const QMimeData* data, int& effect, int button, int shift, int x, int y) {
        platform::runTrapped(this, [&] { picWindow_OLEDragDrop(index, data, effect, button, shift, x, y); });
    };
}

// ---- workspace modes the dispatch asks about

bool Form1::IsCutMode() const {
    return tabWorkspace->currentIndex() == kObjectPage && cmbObj->currentText() == "Edit Geometry" &&
           cmbObjEditGeom->currentText() == "Polygon" && CutButtonValue() == 1;
}

bool Form1::IsPointEditing() const {
    return tabWorkspace->currentIndex() == kObjectPage && cmbObj->currentText() == "Edit Geometry" &&
           cmbObjEditGeom->currentText() == "Point";
}

bool Form1::IsPolygonEditing() const {
    return tabWorkspace->currentIndex() == kObjectPage && cmbObjEditGeom->currentText() == "Polygon" &&
           (cmbObj->currentText() == "Edit Geometry" || cmbObj->currentText() == "Edit Texture");
}

// ---- focus

void Form1::picWindow_GotFocus(int Index) {
    PicBoxFocused = Index;
    PicBoxHasFocus = true;
    setFocusColour(shpFocus, 255, 255, 0);
    SetWindowFocus();
    if (WorldLoaded) OMBREL_camera_set_current(viewCamera(Index).lngSceneCamera, picWindow.at(Index)->hWnd());
}

void Form1::picWindow_LostFocus(int Index) {
    PicBoxHasFocus = false;
    setFocusColour(shpFocus, 0, 0, 225);
    // A pop-up or modal window that takes the focus takes the release with it.
    endHandleDrag(Index);
}

void Form1::endHandleDrag(int Index) {
    TransformGizmo* gizmo = ViewGizmos.at(static_cast<std::size_t>(Index)).get();
    if (gizmo && gizmo->IsDragging()) gizmo->MouseUp(kLeftButton, Globals::MouseUpX, Globals::MouseUpY);
}

// ---- press

void Form1::picWindow_MouseDown(int Index, int Button, int Shift, float X, float Y) {
    Globals::MouseDownX = X;
    Globals::MouseDownY = Y;
    PicBoxFocused = Index;
    PicBoxHasFocus = true;
    SetWindowFocus();
    if (IsCutMode()) {
        // The cut tool takes left presses, with or without a world.
        if (Button == kLeftButton) mdlCutPols::CutPols_MouseDown(X, Y);
        return;
    }
    if (!WorldLoaded) return;
    Camera& camera = viewCamera(Index);
    OMBREL_camera_set_current(camera.lngSceneCamera, picWindow.at(Index)->hWnd());
    camera.MouseDown(Button, Shift, X, Y);
    // In align mode the release picks the target; a press on the handle would
    // start a drag no release finishes.
    if (!transform::IsAlignMode())
        ViewGizmos.at(Index)->MouseDown(static_cast<int16_t>(Button), X, Y);
}

// ---- move

void Form1::picWindow_MouseMove(int Index, int Button, int Shift, float X, float Y) {
    if (!WorldLoaded || Index != PicBoxFocused) return;
    if (IsCutMode()) {
        if (Button == kLeftButton) mdlCutPols::CutPols_MouseMove(X, Y);
        return;
    }
    // A drag of the handle keeps the tool of its press; a tool chosen meanwhile
    // takes over from the next press.
    if (ViewGizmos.at(Index)->IsDragActive()) {
        picWindow_MouseMove_MoveRotateScale(Index, Button, Shift, X, Y);
        return;
    }
    if (transform::IsAlignMode()) {
        transform::SetAlignModeMousePtr(static_cast<int16_t>(Button), X, Y);
        return;
    }
    switch (Globals::CurrToolMode) {
    case ToolSelect: picWindow_MouseMove_Select(Index, Button, X, Y); break;
    case ToolMove:
    case ToolRotate:
    case ToolScale: picWindow_MouseMove_MoveRotateScale(Index, Button, Shift, X, Y); break;
    case ToolPan:
    case ToolRevolve:
    case ToolZoomCamera:
    case ToolMoveCamera:
    case ToolRollCamera: picWindow_MouseMove_PanRevolveZoomCammoveCamroll(Index, Button, Shift, X, Y); break;
    default: break;
    }
}

void Form1::picWindow_MouseMove_MoveRotateScale(int Index, int Button, int, float X, float Y) {
    using namespace Globals;
    if (CurrSelEntityType == SelGroup && IsGrpHidden(CurrSelEntityHandle)) return;
    ViewGizmos.at(Index)->MouseMove(static_cast<int16_t>(Button), X, Y);
    UpdateTransformGizmo(Button, X, Y);
}

void Form1::picWindow_MouseMove_PanRevolveZoomCammoveCamroll(int Index, int Button, int Shift, float X, float Y) {
    UpdateTransformGizmo(Button, X, Y);
    if (Button == kLeftButton || platform::isKeyHeld('I')) {
        Camera& camera = viewCamera(Index);
        camera.MouseMove(Button, Shift, X, Y);
        camera.Update();
        UpdateCamerasSingle(Index);
    }
    const int32_t tool = Globals::CurrToolMode;
    if (tool == ToolMoveCamera || tool == ToolRollCamera) return;
    // A view through a world camera becomes a free one.
    SetViewCaption(Index, navigatedCaption(lblPicView.at(Index)->text()).toStdString());
}

// ---- release

void Form1::picWindow_MouseUp(int Index, int Button, int, float X, float Y) {
    Globals::MouseUpX = X;
    Globals::MouseUpY = Y;
    if (IsCutMode()) {
        // The cut tool cuts on a left release, with or without a world.
        if (Button == kLeftButton) mdlCutPols::CutPols_MouseUp(X, Y);
        return;
    }
    if (!WorldLoaded) return;
    TransformGizmo& gizmo = *ViewGizmos.at(Index);
    // The release of a handle drag only ends it, whatever was chosen meanwhile.
    if (gizmo.IsDragActive()) {
        gizmo.MouseUp(static_cast<int16_t>(Button), X, Y);
        return;
    }
    if (transform::IsAlignMode()) {
        transform::PickAlignTarget(static_cast<int16_t>(Button), X, Y, this);
        return;
    }
    gizmo.MouseUp(static_cast<int16_t>(Button), X, Y);
    // A custom track being laid takes every release.
    if (formCreateTrack::CustomTrkMode) {
        NewTrack_MouseUp(Button, X, Y);
        return;
    }
    if (Button == kLeftButton && Globals::CurrToolMode == ToolSelect) picWindow_MouseUp_Select(Index, Button, X, Y);
}

// ---- the transform handle under the pointer

void Form1::UpdateTransformGizmo(int Button, float X, float Y) {
    using namespace Globals;
    const int32_t kind = CurrSelEntityType;
    if (kind != SelGroup && kind != SelMultiple && kind != SelCamera && kind != SelLight && kind != SelTrack) return;
    TransformGizmo& gizmo = *ViewGizmos.at(PicBoxFocused);
    gizmo.Draw(CurrSelEntityHandle, viewCamera(PicBoxFocused).lngSceneCamera, true);
    const int32_t tool = CurrToolMode;
    if (tool != ToolMove && tool != ToolRotate && tool != ToolScale) return;
    gizmo.MouseMove(static_cast<int16_t>(Button), X, Y);
    if (gizmo.TransformationPossible == TransformGizmo::AxisNone)
        ResetMousePointer();
    else
        SetMousePointer();
}
