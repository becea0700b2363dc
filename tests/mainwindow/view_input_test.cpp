// Presses, moves and releases in the views, driven through the views' handlers
// with a scripted pointer: which view is active, what each navigation tool does
// to the view's camera and label, and what a release with the select tool does.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "core/BoundingBox.h"
#include "mainwindow/KeyedTree.h"
#include "transform/TransformGizmo.h"
#include "undo/ActionCodes.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/DragInProgress.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QLabel>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

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

    // The small world's group selected (no record) with a transform tool, every
    // view redrawn so every view's handle stands where it is drawn.
    void selectGroupWith(Form1& f, int32_t tool) {
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group_;
        Globals::SelGrpBndBox->Initialize(group_);
        f.SetToolMode(tool);
        UpdateCameras();
    }

    // The longest line of a view's handle on screen, and a point 60 % along it.
    static int longestAxis(const TransformGizmo& gizmo) {
        int best = 0;
        double length = -1;
        for (int axis = 0; axis < 3; ++axis) {
            const PixelPt& e = gizmo.AxisEnd2D(axis);
            const double l = std::hypot(e[0] - gizmo.Center2DPx()[0], e[1] - gizmo.Center2DPx()[1]);
            if (l > length) length = l, best = axis;
        }
        return best;
    }
    static PixelPt onAxis(const TransformGizmo& gizmo, int axis, double t) {
        const PixelPt& c = gizmo.Center2DPx();
        const PixelPt& e = gizmo.AxisEnd2D(axis);
        return {static_cast<int32_t>(std::lround(c[0] + t * (e[0] - c[0]))),
                static_cast<int32_t>(std::lround(c[1] + t * (e[1] - c[1])))};
    }

    // A left press at a view pixel, moves of the held button towards `to` in
    // steps (the pointer on the screen follows), a key pressed halfway if any,
    // and the release.
    void handleDrag(Form1& f, int view, PixelPt from, PixelPt to, const std::function<void()>& halfway = {}) {
        platform::clearKeyState();
        platform::setKeyHeld(platform::vk::LButton, true);
        platform_.cursor.follow({from[0], from[1]});
        f.picWindow_MouseDown(view, 1, 0, static_cast<float>(from[0]), static_cast<float>(from[1]));
        constexpr int kSteps = 8;
        for (int i = 0; i <= kSteps; ++i) {
            if (i == kSteps / 2 && halfway) {
                halfway();
                platform::setKeyHeld(platform::vk::LButton, true);
            }
            const int x = from[0] + (to[0] - from[0]) * i / kSteps, y = from[1] + (to[1] - from[1]) * i / kSteps;
            platform_.cursor.follow({x, y});
            f.picWindow_MouseMove(view, 1, 0, static_cast<float>(x), static_cast<float>(y));
        }
        platform::setKeyHeld(platform::vk::LButton, false);
        f.picWindow_MouseUp(view, 1, 0, static_cast<float>(to[0]), static_cast<float>(to[1]));
    }

    // Keys held and keys newly pressed, then the main window's key handler.
    void pressKeys(Form1& f, std::vector<int> heldKeys, std::vector<int> newKeys) {
        platform::clearKeyState();
        for (int k : heldKeys) platform::setKeyHeld(k, true);
        for (int k : newKeys) platform::noteKeyDown(k);
        f.PicBoxHasFocus = true;
        f.Form_KeyDown(0, 0);
        platform::clearKeyState();
    }

    // The whole world as the engine would save it.
    std::string worldBytes() {
        const std::string file = tempPath("world_bytes.wld");
        EXPECT_EQ(OMBREL_engine_save(file.c_str(), Globals::RootGrp, 0x1203), 0);
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static Point3d location(int32_t g) {
        Point3d p = {0, 0, 0};
        OMBREL_group_get_location(g, &p[0], &p[1], &p[2]);
        return p;
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

TEST_F(ViewInputTest, APanDragInTheStandardViewsMovesTheWorldWithThePointer) {
    Form1& f = start();
    // The look-at point of the standard views, where the root's reference point is.
    const double mark[3] = {0, 0, 0};
    auto projected = [&](int view) {
        OMBREL_camera_set_current(cam(view).lngSceneCamera, f.picWindow[static_cast<std::size_t>(view)]->hWnd());
        int32_t px[2] = {0, 0};
        EXPECT_EQ(OMBREL_engine_3D_point_to_2D(mark, px), 0);
        return std::array<int32_t, 2>{px[0], px[1]};
    };
    for (int view : {0, 2}) {
        SCOPED_TRACE(f.lblPicView[static_cast<std::size_t>(view)]->text().toStdString());
        f.mnuResetViews_Click();
        Globals::CurrToolMode = ToolPan;
        const auto before = projected(view);
        drag(f, view, 1, 30, -20);
        const auto after = projected(view);
        EXPECT_NEAR(after[0] - before[0], 30, 1);
        EXPECT_NEAR(after[1] - before[1], -20, 1);
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

// Only the active view's handle hears the moves, so another view's handle keeps
// whatever line its last hover left in hand; the press decides by itself.
TEST_F(ViewInputTest, APressInAnotherViewTakesOnlyTheLineUnderIt) {
    Form1& f = start();
    for (int32_t tool : {ToolRotate, ToolMove}) {
        SCOPED_TRACE(tool);
        selectGroupWith(f, tool);
        f.PicBoxFocused = 0;
        const TransformGizmo& front = *f.ViewGizmos[1];
        ASSERT_TRUE(front.IsShown());
        const std::string before = worldBytes();
        handleDrag(f, 1, {5, 5}, {125, 5});  // empty space, never hovered
        EXPECT_EQ(worldBytes(), before);
        EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord());
        EXPECT_EQ(f.PicBoxFocused, 1);

        if (tool != ToolMove) continue;
        f.PicBoxFocused = 0;
        const int axis = longestAxis(front);
        const PixelPt at = onAxis(front, axis, 0.6), to = onAxis(front, axis, 1.6);
        const Point3d start = location(group_);
        handleDrag(f, 1, at, to);
        const Point3d end = location(group_);
        for (int k = 0; k < 3; ++k) {
            if (k == axis) EXPECT_GT(std::fabs(end[k] - start[k]), 1) << k;
            else EXPECT_EQ(end[k], start[k]) << k;
        }
        ASSERT_TRUE(Globals::UndoRedoStack->HoldsAnyRecord());
        EXPECT_EQ(Globals::UndoRedoStack->Retrive()->ActionType, ActMove);
    }
}

// The view hands each move of a handle drag to the handle twice (the drag, then
// the hover update): the group moves once and each view is painted once a move,
// the four with Ctrl held, the active one without; a move to where the pointer
// already stands paints nothing.
TEST_F(ViewInputTest, EachMoveOfAHandleDragPaintsEachViewOnce) {
    Form1& f = start();
    struct Case {
        bool ctrl;
        uint64_t paintsPerMove;
    };
    for (const Case& c : {Case{false, 1}, Case{true, 4}}) {
        SCOPED_TRACE(c.ctrl ? "Ctrl held" : "no key");
        selectGroupWith(f, ToolMove);
        f.PicBoxFocused = 2;
        const TransformGizmo& gizmo = *f.ViewGizmos[2];
        ASSERT_TRUE(gizmo.IsShown());
        const int axis = longestAxis(gizmo);
        PixelPt at = onAxis(gizmo, axis, 0.6);
        f.picWindow_MouseMove(2, 0, 0, static_cast<float>(at[0]), static_cast<float>(at[1]));
        platform::clearKeyState();
        platform::setKeyHeld(platform::vk::LButton, true);
        if (c.ctrl) platform::setKeyHeld(platform::vk::Control, true);
        platform_.cursor.follow({at[0], at[1]});
        f.picWindow_MouseDown(2, 1, 0, static_cast<float>(at[0]), static_cast<float>(at[1]));
        f.picWindow_MouseMove(2, 1, 0, static_cast<float>(at[0]), static_cast<float>(at[1]));
        for (double t : {0.8, 1.0, 1.2, 1.2}) {
            const bool moves = onAxis(gizmo, axis, t) != at;
            at = onAxis(gizmo, axis, t);
            uint64_t paintedBefore = 0;
            for (int v = 0; v < 4; ++v) paintedBefore = std::max(paintedBefore, views::LastPaintSerial(v));
            const Point3d before = location(group_);
            platform_.cursor.follow({at[0], at[1]});
            f.picWindow_MouseMove(2, 1, 0, static_cast<float>(at[0]), static_cast<float>(at[1]));
            // The active view is painted last, so its serial counts every paint since.
            EXPECT_EQ(views::LastPaintSerial(2) - paintedBefore, moves ? c.paintsPerMove : 0) << t;
            EXPECT_EQ(location(group_) != before, moves) << t;
        }
        platform::setKeyHeld(platform::vk::LButton, false);
        f.picWindow_MouseUp(2, 1, 0, static_cast<float>(at[0]), static_cast<float>(at[1]));
        platform::clearKeyState();
        f.mnuUndo->trigger();
    }
}

// A tool key during a drag takes effect after it: the drag stays a move, its one
// record complete, and the history walks back and forth through it.
TEST_F(ViewInputTest, AToolKeyDuringADragWaitsForTheRelease) {
    Form1& f = start();
    // Select the group with a click, so the history holds a record before the drag.
    f.SetToolMode(ToolSelect);
    OMBREL_camera_set_current(cam(0).lngSceneCamera, f.picWindow[0]->hWnd());
    const double middle[3] = {10, 10, 100};
    PixelPt onGroup = {0, 0};
    ASSERT_EQ(OMBREL_engine_3D_point_to_2D(middle, onGroup.data()), 0);
    f.picWindow_MouseDown(0, 1, 0, static_cast<float>(onGroup[0]), static_cast<float>(onGroup[1]));
    f.picWindow_MouseUp(0, 1, 0, static_cast<float>(onGroup[0]), static_cast<float>(onGroup[1]));
    ASSERT_EQ(Globals::CurrSelEntityHandle, group_);
    f.SetToolMode(ToolMove);
    UpdateCameras();

    const TransformGizmo& top = *f.ViewGizmos[0];
    const int axis = longestAxis(top);
    const std::string start = worldBytes();
    handleDrag(f, 0, onAxis(top, axis, 0.6), onAxis(top, axis, 1.8),
               [&] { pressKeys(f, {platform::vk::Shift, '2'}, {'2'}); });
    EXPECT_EQ(Globals::CurrToolMode, ToolRotate);
    const std::string dragged = worldBytes();
    ASSERT_NE(dragged, start);
    EXPECT_EQ(Globals::UndoRedoStack->Retrive()->ActionType, ActMove);

    f.mnuUndo_Click();
    EXPECT_EQ(worldBytes(), start);
    f.mnuUndo_Click();
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    f.mnuRedo_Click();
    f.mnuRedo_Click();
    EXPECT_EQ(worldBytes(), dragged);
    EXPECT_EQ(Globals::LastErrDescription, "");
}

// Alt+L, then a tool: align mode is over and the handle moves again.
TEST_F(ViewInputTest, ChoosingAToolLeavesAlignMode) {
    struct Case {
        const char* name;
        std::function<void(Form1&)> choose;
        int32_t tool;
    };
    const Case cases[] = {
        {"Shift+1", [this](Form1& f) { pressKeys(f, {platform::vk::Shift, '1'}, {'1'}); }, ToolMove},
        {"Move button", [](Form1& f) { f.Toolbar1_Button("Move")->trigger(); }, ToolMove},
        {"P", [this](Form1& f) { pressKeys(f, {'P'}, {'P'}); }, ToolPan},
    };
    Form1& f = start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        selectGroupWith(f, ToolSelect);
        pressKeys(f, {platform::vk::Menu, 'L'}, {'L'});
        ASSERT_EQ(f.ToolbarButtonValue("Align"), 1);
        c.choose(f);
        EXPECT_EQ(f.ToolbarButtonValue("Align"), 0);
        EXPECT_EQ(Globals::CurrToolMode, c.tool);
    }
    // A handle drag now moves (an align dialog would be an unexpected prompt).
    selectGroupWith(f, ToolMove);
    const TransformGizmo& top = *f.ViewGizmos[0];
    const int axis = longestAxis(top);
    const Point3d start = location(group_);
    handleDrag(f, 0, onAxis(top, axis, 0.6), onAxis(top, axis, 1.6));
    EXPECT_GT(std::fabs(location(group_)[axis] - start[axis]), 1);
    EXPECT_EQ(Globals::UndoRedoStack->Retrive()->ActionType, ActMove);
}

// A hidden selection's handle is not drawn, and where it stood takes no press.
TEST_F(ViewInputTest, AHiddenSelectionsHandleTakesNoPress) {
    Form1& f = start();
    selectGroupWith(f, ToolMove);
    const TransformGizmo& top = *f.ViewGizmos[0];
    ASSERT_TRUE(top.IsShown());
    const int axis = longestAxis(top);
    const PixelPt at = onAxis(top, axis, 0.6), to = onAxis(top, axis, 1.6);
    f.trwGroupView->SetImage(f.trwGroupView->Item(KeyedTree::NodeKey("Group", group_)), "Group Invisible");
    ASSERT_TRUE(f.IsEntityHidden(SelGroup, group_));
    UpdateCameras();
    EXPECT_FALSE(top.IsShown());
    const std::string before = worldBytes();
    handleDrag(f, 0, at, to);
    EXPECT_EQ(worldBytes(), before);
    EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord());
}

// A pop-up or modal window can take the release of a press in a view; the drag
// ends anyway, so Undo and Redo are never left waiting for it.
TEST_F(ViewInputTest, ADragWhoseReleaseIsLostEndsAndUndoWorks) {
    Form1& f = start();
    const auto location = [](int32_t group) {
        std::array<double, 3> at{};
        OMBREL_group_get_location(group, &at[0], &at[1], &at[2]);
        return at;
    };
    auto loseFocus = [&](Qt::FocusReason reason) {
        return [&f, reason] {
            QFocusEvent out(QEvent::FocusOut, reason);
            QApplication::sendEvent(f.picWindow[2], &out);
        };
    };
    struct Case {
        const char* name;
        std::function<void()> loseTheRelease;
        bool worldClosed;
    };
    const Case cases[] = {
        {"a modal window takes the focus", loseFocus(Qt::ActiveWindowFocusReason), false},
        {"a pop-up menu takes the focus", loseFocus(Qt::PopupFocusReason), false},
        {"the world is closed",
         [&] {
             platform_.prompts.answer(platform::MsgResult::No);
             f.mnuCloseFile->trigger();
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Globals::CurrToolMode = ToolMove;
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group_;
        Globals::SelGrpBndBox->Initialize(group_);
        f.PicBoxFocused = 2;
        // A press on the x line of the handle, then a drag to the line's end.
        f.picWindow_MouseMove(2, 0, 0, 1, 1);
        ASSERT_TRUE(f.ViewGizmos[2]->IsShown());
        const PixelPt end = f.ViewGizmos[2]->AxisEnd2D(0), centre = f.ViewGizmos[2]->Center2DPx();
        const int x = (end[0] + centre[0]) / 2, y = (end[1] + centre[1]) / 2;
        const auto start = location(group_);
        f.picWindow_MouseMove(2, 0, 0, x, y);
        platform::setKeyHeld(platform::vk::LButton, true);
        platform_.cursor.follow({x, y});
        f.picWindow_MouseDown(2, 1, 0, x, y);
        f.picWindow_MouseMove(2, 1, 0, x, y);
        platform_.cursor.follow({end[0], end[1]});
        f.picWindow_MouseMove(2, 1, 0, end[0], end[1]);
        ASSERT_NE(location(group_), start);

        c.loseTheRelease();
        platform::setKeyHeld(platform::vk::LButton, false);
        EXPECT_FALSE(undo::IsTransformDragInProgress());
        EXPECT_FALSE(f.ViewGizmos[2]->IsDragging());
        if (c.worldClosed) {
            // The next world's history is not held up by the old drag.
            group_ = OpenSmallWorld();
            auto record = std::make_unique<ActionUndoRedo>();
            record->ActionType = ActMove;
            record->SetActionObjects();
            record->Move->SetMovedEntity(SelGroup, group_);
            record->Move->SetFrmLoc({0, 0, 0});
            record->Move->SetToLoc(location(group_));
            Globals::UndoRedoStack->Push(std::move(record));
            f.mnuUndo->trigger();
            EXPECT_EQ(location(group_), (std::array<double, 3>{0, 0, 0}));
        } else {
            // The drag's move was completed where it stood and is undone like any other.
            f.mnuUndo->trigger();
            for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(location(group_)[i], start[i], 1e-9);
        }
    }
}
