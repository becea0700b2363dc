// Presses, moves and releases in the views, driven through the views' handlers
// with a scripted pointer: which view is active, what each navigation tool does
// to the view's camera and label, and what a release with the select tool does.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "platform/key_state.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/PicWindow.h"

#include <QApplication>
#include <QLabel>

#include <cmath>

namespace {

Camera& cam(int view) { return *Globals::ViewCams[static_cast<std::size_t>(view)]; }

struct CameraState {
    double horiz, vert, distance, roll, zoom, hOffset, vOffset;
};

CameraState stateOf(int view) {
    const Camera& c = cam(view);
    return {c.HorizontalAngle(), c.VerticalAngle(), c.dblViewingDistance, c.RollAngle,
            OMBREL_camera_get_zoom(c.lngSceneCamera), c.HorizontalOffset(), c.VerticalOffset()};
}

class ViewInputTest : public EditorFixture {
protected:
    Form1& start() {
        Form1& f = StartEditor();
        group_ = OpenSmallWorld();
        QApplication::processEvents();
        return f;
    }

    // A press at the pointer's screen position, then a move by (dx, dy) pixels.
    void drag(Form1& f, int view, int button, int dx, int dy, int moveView = -1) {
        platform_.cursor.follow({600, 500});
        f.picWindow_MouseDown(view, button, 0, 100, 100);
        platform_.cursor.follow({600 + dx, 500 + dy});
        f.picWindow_MouseMove(moveView < 0 ? view : moveView, button, 0, 100 + dx, 100 + dy);
    }

    int32_t group_ = 0;
};

}  // namespace

TEST_F(ViewInputTest, APressMakesTheViewActiveAndKeepsItsPosition) {
    Form1& f = start();
    f.PicBoxHasFocus = false;
    f.picWindow_MouseDown(3, 1, 0, 37, 21);
    EXPECT_EQ(f.PicBoxFocused, 3);
    EXPECT_TRUE(f.PicBoxHasFocus);
    EXPECT_EQ(Globals::MouseDownX, 37);
    EXPECT_EQ(Globals::MouseDownY, 21);
    EXPECT_EQ(OMBREL_camera_get_current(), cam(3).lngSceneCamera);
}

TEST_F(ViewInputTest, EachNavigationToolChangesTheCameraAndTheLabelAsItShould) {
    Form1& f = start();
    const double z = Globals::WorldSize;
    struct Case {
        int32_t tool;
        int dx, dy;
        const char* label;  // of view 0 ("Top") afterwards
        std::function<void(const CameraState& before, const CameraState& after)> check;
    };
    const Case cases[] = {
        {ToolRevolve, 20, 10, "User",
         [](const CameraState& b, const CameraState& a) {
             EXPECT_NEAR(std::remainder(a.horiz - (b.horiz - 0.2), 6.28318530717958), 0, 1e-9);
             EXPECT_NEAR(a.vert, b.vert + 0.1, 1e-9);
             EXPECT_DOUBLE_EQ(a.distance, b.distance);
         }},
        {ToolZoomCamera, 0, 40, "User",
         [](const CameraState& b, const CameraState& a) { EXPECT_NEAR(a.zoom, b.zoom * 1.1, 1e-9); }},
        {ToolMoveCamera, 0, 10, "Top",
         [z](const CameraState& b, const CameraState& a) {
             EXPECT_NEAR(a.distance, b.distance + 10 * z / (b.zoom * 10), 1e-6);
         }},
        {ToolRollCamera, 0, 40, "Top",
         [](const CameraState& b, const CameraState& a) { EXPECT_NEAR(a.roll, b.roll + 0.5, 1e-12); }},
        {ToolPan, 10, 0, "User",
         [](const CameraState& b, const CameraState& a) {
             EXPECT_LT(a.hOffset, b.hOffset);
             EXPECT_DOUBLE_EQ(a.vOffset, b.vOffset);
             EXPECT_DOUBLE_EQ(a.horiz, b.horiz);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        f.mnuResetViews_Click();
        Globals::CurrToolMode = c.tool;
        const CameraState before = stateOf(0);
        const CameraState others = stateOf(1);
        drag(f, 0, 1, c.dx, c.dy);
        c.check(before, stateOf(0));
        EXPECT_EQ(f.lblPicView[0]->text().toStdString(), c.label);
        EXPECT_DOUBLE_EQ(stateOf(1).horiz, others.horiz);
        EXPECT_DOUBLE_EQ(stateOf(1).distance, others.distance);
    }
}

TEST_F(ViewInputTest, NavigatingACameraViewNamesItPerspective) {
    Form1& f = start();
    f.lblPicView[1]->setText("Camera");
    Globals::CurrToolMode = ToolRevolve;
    drag(f, 1, 1, 5, 5);
    EXPECT_EQ(f.lblPicView[1]->text(), "Perspective");
}

TEST_F(ViewInputTest, MovesOverAViewThatIsNotActiveAreIgnored) {
    Form1& f = start();
    Globals::CurrToolMode = ToolRevolve;
    const CameraState view0 = stateOf(0), view1 = stateOf(1);
    drag(f, 0, 1, 30, 30, /*moveView=*/1);
    EXPECT_DOUBLE_EQ(stateOf(0).horiz, view0.horiz);
    EXPECT_DOUBLE_EQ(stateOf(1).horiz, view1.horiz);
    EXPECT_EQ(f.lblPicView[1]->text(), "Front");
}

TEST_F(ViewInputTest, APanMoveWithoutAButtonNavigatesOnlyWhileIIsHeld) {
    Form1& f = start();
    Globals::CurrToolMode = ToolPan;
    const double before = stateOf(0).hOffset;
    drag(f, 0, 0, 25, 0);
    EXPECT_DOUBLE_EQ(stateOf(0).hOffset, before);
    platform::setKeyHeld('I', true);
    drag(f, 0, 0, 25, 0);
    EXPECT_LT(stateOf(0).hOffset, before);
}

TEST_F(ViewInputTest, WithoutAWorldNothingNavigates) {
    Form1& f = StartEditor();
    Globals::CurrToolMode = ToolRevolve;
    const double before = cam(0).HorizontalAngle();
    drag(f, 0, 1, 30, 0);
    EXPECT_EQ(f.PicBoxFocused, 0);
    EXPECT_DOUBLE_EQ(cam(0).HorizontalAngle(), before);
    EXPECT_EQ(f.lblPicView[0]->text(), "Top");
}

TEST_F(ViewInputTest, OnlyALeftReleaseWithTheSelectToolRunsTheSelectionAndRedraws) {
    Form1& f = start();
    struct Case {
        int32_t tool;
        int button;
        bool redrawn;
    };
    const Case cases[] = {{ToolSelect, 1, true}, {ToolSelect, 2, false}, {ToolRevolve, 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        Globals::CurrToolMode = c.tool;
        // Nothing selected, and a band over empty space selects nothing again.
        Globals::CurrSelEntityType = SelNone;
        Globals::CurrSelEntityHandle = 0;
        Globals::PrevSelEntityType = SelGroup;
        Globals::OverlayDC = nullptr;
        f.picWindow_MouseDown(0, c.button, 0, 5, 6);
        f.picWindow_MouseUp(0, c.button, 0, 7, 8);
        EXPECT_EQ(Globals::MouseUpX, 7);
        EXPECT_EQ(Globals::MouseUpY, 8);
        // An unchanged selection records nothing, yet the views are redrawn.
        EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord());
        EXPECT_EQ(Globals::OverlayDC != nullptr, c.redrawn);
        EXPECT_EQ(Globals::PrevSelEntityType, c.redrawn ? SelNone : SelGroup);
    }
}

TEST_F(ViewInputTest, InAlignModeAPressDoesNotReachTheHandle) {
    Form1& f = start();
    Globals::CurrToolMode = ToolMove;
    f.picWindow_MouseDown(0, 1, 0, 10, 10);
    EXPECT_TRUE(f.ViewGizmos[0]->IsDragging());
    f.picWindow_MouseUp(0, 1, 0, 10, 10);
    EXPECT_FALSE(f.ViewGizmos[0]->IsDragging());

    f.SetToolbarButtonValue("Align", 1);
    f.picWindow_MouseDown(0, 1, 0, 10, 10);
    EXPECT_FALSE(f.ViewGizmos[0]->IsDragging());
    // The move goes to the align tool, which shows its own pointer.
    f.picWindow_MouseMove(0, 0, 0, 12, 12);
    EXPECT_EQ(f.picWindow[0]->MouseIcon(), "Align Mode");
}

TEST_F(ViewInputTest, FocusMarksTheActiveViewAndLosingItClearsTheFlag) {
    Form1& f = start();
    f.picWindow_GotFocus(2);
    EXPECT_EQ(f.PicBoxFocused, 2);
    EXPECT_TRUE(f.PicBoxHasFocus);
    EXPECT_TRUE(f.shpFocus->styleSheet().contains("rgb(255, 255, 0)"));
    EXPECT_EQ(OMBREL_camera_get_current(), cam(2).lngSceneCamera);
    f.picWindow_LostFocus(2);
    EXPECT_FALSE(f.PicBoxHasFocus);
    EXPECT_EQ(f.PicBoxFocused, 2);
    EXPECT_TRUE(f.shpFocus->styleSheet().contains("rgb(0, 0, 225)"));
}

TEST_F(ViewInputTest, OverTheHandleATransformToolShowsItsPointerAndOffItEveryViewGetsTheDefault) {
    Form1& f = start();
    Globals::CurrToolMode = ToolMove;
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = group_;
    f.PicBoxFocused = 2;
    f.picWinSetMousePtr("Pointer");
    // A first move places the handle.
    f.picWindow_MouseMove(2, 0, 0, 1, 1);
    ASSERT_TRUE(f.ViewGizmos[2]->IsShown());
    const PixelPt end = f.ViewGizmos[2]->AxisEnd2D(0);
    const PixelPt centre = f.ViewGizmos[2]->Center2DPx();
    const float x = static_cast<float>((end[0] + centre[0]) / 2), y = static_cast<float>((end[1] + centre[1]) / 2);
    f.picWindow_MouseMove(2, 0, 0, x, y);
    EXPECT_EQ(f.picWindow[2]->MousePointer(), 99);
    EXPECT_EQ(f.picWindow[2]->MouseIcon(), "Move");
    f.picWindow_MouseMove(2, 0, 0, 1, 1);
    for (PicWindow* view : f.picWindow) EXPECT_EQ(view->MousePointer(), 0);
}
