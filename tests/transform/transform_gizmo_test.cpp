#include "transform_fixture.h"

#include "undo/DragInProgress.h"
#include "undo/UndoRedoCommands.h"

#include "core/Maths.h"
#include "core/SelectionCentres.h"
#include "core/WeldedPointsProcedures.h"

namespace {

class GizmoGroup : public TransformFixture {
protected:
    void SetUp() override {
        TransformFixture::SetUp();
        group = makeGroup("box", {0, 0, 0});
        const double pivot[3] = {1, 1, 0.5};
        OMBREL_group_set_rotate_reference_point(group, pivot);
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
        Globals::SelGrpBndBox->Initialize(group);
    }
    int32_t group = 0;
};

// Every axis with every tool: the drag changes the group along that axis only,
// leaves one record, and Undo and Redo give back the start and the end exactly.
TEST_F(GizmoGroup, DragAlongEachAxisWithEachToolIsOneRecordThatUndoAndRedoReplay) {
    for (int tool : {ToolMove, ToolRotate, ToolScale}) {
        for (int axis = 0; axis < 3; ++axis) {
            SCOPED_TRACE("tool " + std::to_string(tool) + " axis " + std::to_string(axis));
            Globals::UndoRedoStack->Reset();
            Globals::CurrToolMode = tool;
            const Point3d loc0 = location(group);
            double dims0[3];
            OMBREL_group_get_dimensions(group, dims0);
            const auto before = pointsOfGroup(group);

            dragHandle(axis, 40);
            const auto after = pointsOfGroup(group);
            EXPECT_EQ(records(), 1);
            const double px = worldPerPixel();
            if (tool == ToolMove) {
                const Point3d loc = location(group);
                for (int k = 0; k < 3; ++k)
                    EXPECT_NEAR(loc[k] - loc0[k], k == axis ? 40 * px : 0.0, k == axis ? 3 * px : 1e-12);
            } else if (tool == ToolScale) {
                double dims[3];
                OMBREL_group_get_dimensions(group, dims);
                for (int k = 0; k < 3; ++k) {
                    if (dims0[k] > 0) {
                        EXPECT_NEAR(dims[k] / dims0[k], k == axis ? 1.04 : 1.0, k == axis ? 0.004 : 1e-9);
                    }
                }
            } else {
                // 0.6 degrees a pixel about the pivot: the coordinate along the axis stays.
                for (std::size_t i = 0; i < after.size(); i += 3)
                    EXPECT_NEAR(after[i + static_cast<std::size_t>(axis)], before[i + static_cast<std::size_t>(axis)], 1e-9);
                EXPECT_GT(std::fabs(after[0] - before[0]) + std::fabs(after[1] - before[1]) + std::fabs(after[2] - before[2]), 1e-3);
                ASSERT_NE(Globals::UndoRedoStack->Retrive(), nullptr);
                ASSERT_TRUE(Globals::UndoRedoStack->Retrive()->Rotate);
                EXPECT_EQ(Globals::UndoRedoStack->Retrive()->Rotate->NumOfRotations(), 1);
                EXPECT_NEAR(Globals::UndoRedoStack->Retrive()->Rotate->Rotation(1).Angle, 24, 2);
            }
            undo::UndoCommand();
            expectNear(pointsOfGroup(group), before);
            undo::RedoCommand();
            expectNear(pointsOfGroup(group), after);
            undo::UndoCommand();  // the next case starts where this one did
        }
    }
}

TEST_F(GizmoGroup, HoverTellsTheLineUnderTheMouseAndShiftScalesUniformly) {
    drawHandle();
    for (int axis = 0; axis < 3; ++axis) {
        moveMouse(0, onAxis(axis, 0.7));
        EXPECT_EQ(gizmo->TransformationPossible, axis);
    }
    moveMouse(0, {5, 5});
    EXPECT_EQ(gizmo->TransformationPossible, 4);

    Globals::CurrToolMode = ToolScale;
    platform::setKeyHeld(platform::vk::Shift, true);
    moveMouse(0, onAxis(1, 0.7));
    EXPECT_EQ(gizmo->TransformationPossible, 3);
    const double dims0 = [&] { double d[3]; OMBREL_group_get_dimensions(group, d); return d[0]; }();
    pressOn(1);
    dragAlong(1, 30);
    release();
    platform::setKeyHeld(platform::vk::Shift, false);
    double dims[3];
    OMBREL_group_get_dimensions(group, dims);
    EXPECT_NE(dims[0], dims0);  // all three axes scale
    EXPECT_EQ(records(), 1);
}

TEST_F(GizmoGroup, TheHoverDrawsOnlyTheHandleOnTheViewsLayer) {
    drawHandle();
    const std::vector<uint8_t> rendered = buffer_;
    moveMouse(0, onAxis(0, 0.5));
    window.calls.clear();
    gizmo->Draw(group, camera_, true);
    EXPECT_EQ(buffer_, rendered);  // the view's buffer is not touched
    EXPECT_EQ(window.count("TransientShown"), 1);
    EXPECT_EQ(window.count("UpdateCameras") + window.count("UpdateCamerasSingle"), 0);
    // The line in hand is yellow on the layer.
    const PixelPt mid = onAxis(0, 0.5);
    bool yellow = false;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            yellow |= platform::GetPixel(layer_.dc(), mid[0] + dx, mid[1] + dy) == platform::rgb(255, 255, 0);
    EXPECT_TRUE(yellow);
}

TEST_F(GizmoGroup, CtrlRepaintsAllViewsEachStepAndSkipsTheFinalRepaint) {
    struct Case {
        bool ctrl;
        int singles, alls;
    };
    for (Case c : {Case{false, 8, 1}, Case{true, 0, 8}}) {
        SCOPED_TRACE(c.ctrl);
        pressOn(0);
        platform::setKeyHeld(platform::vk::Control, c.ctrl);
        window.calls.clear();
        dragAlong(0, 40);  // 8 steps after the starting move
        release();
        platform::setKeyHeld(platform::vk::Control, false);
        EXPECT_EQ(window.count("UpdateCamerasSingle"), c.singles);
        EXPECT_EQ(window.count("UpdateCameras"), c.alls);
    }
}

TEST_F(GizmoGroup, UndoAndRedoWaitForTheReleaseAndTheReleaseCompletesOnlyItsOwnRecord) {
    dragHandle(2, 20);  // an earlier record to undo
    const Point3d afterFirst = location(group);
    pressOn(0);
    dragAlong(0, 30);
    EXPECT_TRUE(undo::IsTransformDragInProgress());
    undo::UndoCommand();
    EXPECT_NE(location(group)[0], afterFirst[0]);  // nothing was undone mid-drag
    release();
    EXPECT_FALSE(undo::IsTransformDragInProgress());
    const Point3d end = location(group);
    undo::UndoCommand();
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(location(group)[k], afterFirst[k], 1e-12);
    undo::RedoCommand();
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(location(group)[k], end[k], 1e-12);

    // The history is emptied during a drag: the release leaves it alone.
    pressOn(1);
    dragAlong(1, 10);
    Globals::UndoRedoStack->Reset();
    release();
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), nullptr);
}

TEST_F(GizmoGroup, APressBesideTheLinesOrOnAHandleNotShownRecordsNothing) {
    drawHandle();
    moveMouse(0, {3, 3});
    platform::setKeyHeld(platform::vk::LButton, true);
    gizmo->MouseDown(1, 3, 3);
    moveMouse(1, {40, 40});
    gizmo->MouseUp(1, 40, 40);
    EXPECT_EQ(records(), 0);

    // The handle went away (nothing selected): the old line is not in hand.
    drawHandle();
    moveMouse(0, onAxis(0, 0.6));
    ASSERT_EQ(gizmo->TransformationPossible, 0);
    Globals::CurrSelEntityType = SelNone;
    drawHandle();
    EXPECT_FALSE(gizmo->IsShown());
    gizmo->MouseDown(1, 0, 0);
    gizmo->MouseUp(1, 0, 0);
    EXPECT_EQ(records(), 0);
}

// A view's handle hears of moves only while its view is active, so its line in
// hand may be stale (X from construction); the press decides by itself.
TEST_F(GizmoGroup, APressTakesTheLineUnderItWhateverTheLastHoverFound) {
    for (int tool : {ToolMove, ToolRotate, ToolScale}) {
        SCOPED_TRACE(tool);
        Globals::UndoRedoStack->Reset();
        Globals::CurrToolMode = tool;
        gizmo = std::make_unique<TransformGizmo>(0);
        drawHandle();
        ASSERT_EQ(gizmo->TransformationPossible, 0);
        const auto start = pointsOfGroup(group);

        platform::setKeyHeld(platform::vk::LButton, true);
        pressAt_ = {5, 5};  // far from every line
        gizmo->MouseDown(1, 5, 5);
        dragAlong(0, 60);
        release();
        EXPECT_EQ(pointsOfGroup(group), start);
        EXPECT_EQ(records(), 0);

        // The Y line, never hovered: Y is the axis in hand.
        platform::setKeyHeld(platform::vk::LButton, true);
        pressAt_ = onAxis(1, 0.6);
        gizmo->MouseDown(1, static_cast<float>(pressAt_[0]), static_cast<float>(pressAt_[1]));
        dragAlong(1, 30);
        release();
        EXPECT_EQ(records(), 1);
        const auto moved = pointsOfGroup(group);
        bool changed = false;
        for (std::size_t i = 0; i < moved.size(); ++i) {
            const bool alongY = i % 3 == 1;
            // A move or a scale along Y changes only y; a turn about Y all but y.
            if (alongY == (tool == ToolRotate)) EXPECT_NEAR(moved[i], start[i], 1e-9) << i;
            else changed |= std::fabs(moved[i] - start[i]) > 1e-6;
        }
        EXPECT_TRUE(changed);
        undo::UndoCommand();
    }
}

TEST_F(GizmoGroup, AStepThatWouldTakeTheGroupOutOfReachIsIgnored) {
    Globals::CurrToolMode = ToolScale;
    const auto start = pointsOfGroup(group);
    pressOn(0);
    double amount = 1e300;
    gizmo->ChangeScale(amount);
    release();
    EXPECT_EQ(pointsOfGroup(group), start);
    undo::UndoCommand();
    EXPECT_EQ(pointsOfGroup(group), start);
}

// Undo takes back exactly the offsets the drag added: coordinates the engine
// can hold exactly through the move (zeros, whole and half units) come back
// bit for bit, and Redo gives the dragged ones again.
TEST_F(GizmoGroup, MovingAndUndoingGivesBackTheExactCoordinates) {
    const double origin[3] = {0, 0, 0};
    OMBREL_group_set_rotate_reference_point(group, origin);
    for (int axis = 0; axis < 3; ++axis) {
        SCOPED_TRACE(axis);
        const auto start = pointsOfGroup(group);
        dragHandle(axis, 37);
        const auto moved = pointsOfGroup(group);
        ASSERT_NE(moved, start);
        undo::UndoCommand();
        EXPECT_EQ(pointsOfGroup(group), start);
        Point3d pivot;
        OMBREL_group_get_rotate_reference_point(group, pivot.data());
        EXPECT_EQ(pivot, (Point3d{0, 0, 0}));
        undo::RedoCommand();
        EXPECT_EQ(pointsOfGroup(group), moved);
        undo::UndoCommand();
    }
}

TEST_F(GizmoGroup, AScaleStepNeverFlattensTheGroup) {
    Globals::CurrToolMode = ToolScale;
    pressOn(0);
    double amount = -1e6;  // a step far beyond the line's start
    gizmo->ChangeScale(amount);
    release();
    double dims[3];
    OMBREL_group_get_dimensions(group, dims);
    EXPECT_GT(dims[0], 0);
    const auto shrunk = pointsOfGroup(group);
    undo::UndoCommand();
    undo::RedoCommand();
    expectNear(pointsOfGroup(group), shrunk);
}

// ---- multiple selection

class GizmoMultiple : public TransformFixture {
protected:
    void SetUp() override {
        TransformFixture::SetUp();
        g1 = makeGroup("a", {-4, 0, 0});
        g2 = makeGroup("b", {6, 3, 1});
        cam = OMBREL_camera_create("cam");
        double at[3] = {2, -8, 3};
        OMBREL_camera_set_location1(cam, at);
        Globals::SceneCameras->Add(cam);
        Globals::CurrMultiSel->AddGrpHandles(g1);
        Globals::CurrMultiSel->AddGrpHandles(g2);
        Globals::CurrMultiSel->AddCamHandles(cam);
        Globals::CurrSelEntityType = SelMultiple;
        Globals::ComputeSelObjsAvgCenter();
    }
    std::vector<double> state() const {
        auto v = pointsOfGroup(g1);
        auto w = pointsOfGroup(g2);
        v.insert(v.end(), w.begin(), w.end());
        double c[3];
        OMBREL_camera_get_location1(cam, c);
        v.insert(v.end(), c, c + 3);
        return v;
    }
    int32_t g1 = 0, g2 = 0, cam = 0;
};

TEST_F(GizmoMultiple, RotationAndScalingKeepThePressCentreForTheWholeDrag) {
    for (int tool : {ToolRotate, ToolScale, ToolMove}) {
        SCOPED_TRACE(tool);
        Globals::CurrToolMode = tool;
        const auto before = state();
        const Point3d centre = Globals::SelObjsAvgCenter;
        Point3d camAt;
        OMBREL_camera_get_location1(cam, camAt.data());
        const double r0 = Maths::Distance(camAt, centre);
        dragHandle(2, 60);
        const auto after = state();
        if (tool == ToolRotate) {
            // The camera swung about the press centre, step after step.
            OMBREL_camera_get_location1(cam, camAt.data());
            EXPECT_NEAR(Maths::Distance(camAt, centre), r0, 1e-9);
        }
        undo::UndoCommand();
        expectNear(state(), before, 1e-9);
        undo::RedoCommand();
        expectNear(state(), after, 1e-9);
        undo::UndoCommand();
        Globals::ComputeSelObjsAvgCenter();
    }
}

TEST_F(GizmoMultiple, MovingAndUndoingGivesBackTheExactCoordinates) {
    const double origin[3] = {0, 0, 0};
    OMBREL_camera_set_location1(cam, origin);
    Globals::ComputeSelObjsAvgCenter();
    const auto start = state();
    dragHandle(0, 41);
    const auto moved = state();
    ASSERT_NE(moved, start);
    undo::UndoCommand();
    EXPECT_EQ(state(), start);
    undo::RedoCommand();
    EXPECT_EQ(state(), moved);
}

// ---- points, polygons and track points

class GizmoGeometry : public TransformFixture {
protected:
    void SetUp() override {
        TransformFixture::SetUp();
        group = OMBREL_group_create("mesh");
        OMBREL_group_set_father_group(group, Globals::RootGrp);
        // Two squares sharing the edge x = 1; a third square apart.
        left = polygon({{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}});
        right = polygon({{1, -1, 0}, {1, 1, 0}, {3, 1, 0}, {3, -1, 0}});
        polygon({{-1, 4, 2}, {-1, 6, 2}, {1, 6, 2}, {1, 4, 2}});
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
        Globals::BuildWeldedPoints(group);
        window.page = 1;
        window.objMode = "Edit Geometry";
    }
    int32_t polygon(std::initializer_list<std::array<double, 3>> corners) {
        int32_t p = OMBREL_polygon_create();
        for (const auto& c : corners) {
            double rec[6] = {c[0], c[1], c[2], 0, 0, 100};
            OMBREL_polygon_add_point(p, rec);
        }
        OMBREL_polygon_set_group(p, group);
        OMBREL_engine_add_polygon(p);
        return p;
    }
    void selectPoints(std::vector<int32_t> pts) {
        window.editGeom = "Point";
        Globals::NumSelPts = 0;
        for (int32_t p : pts) Globals::SelPts[++Globals::NumSelPts] = p;
        Globals::ComputeSelPtsAvgCenter();
    }
    void selectPolygon(int32_t pol) {
        window.editGeom = "Polygon";
        Globals::NumSelPols = 1;
        Globals::SelPols[1] = pol;
        Globals::UpdateSelPolsRelatedPtsArray();
        Globals::ComputeSelPolsAvgCenter();
    }
    int32_t group = 0, left = 0, right = 0;
};

TEST_F(GizmoGeometry, PointsAndPolygonsMoveTurnAndScaleWithOneRecordEach) {
    const auto pts = pointsOf(left);
    for (bool polygons : {false, true}) {
        for (int tool : {ToolMove, ToolRotate, ToolScale}) {
            SCOPED_TRACE(std::string(polygons ? "polygons" : "points") + " tool " + std::to_string(tool));
            Globals::UndoRedoStack->Reset();
            Globals::CurrToolMode = tool;
            if (polygons) selectPolygon(left);
            else selectPoints({pts[0], pts[2]});
            const auto before = pointsOfGroup(group);
            dragHandle(0, 35);
            const auto after = pointsOfGroup(group);
            EXPECT_EQ(records(), 1);
            EXPECT_NE(after, before);
            // The welded twins of the left square's corners in the right square
            // follow a polygon drag and stay where they are in a point drag.
            const auto twin = pointsOf(right);
            double a[3], b[3];
            OMBREL_point_get_xyz(twin[0], a);
            OMBREL_point_get_xyz(pts[3], b);
            const std::vector<double> twinAt(a, a + 3), cornerAt(b, b + 3);
            const std::vector<double> unmoved = {1, -1, 0};
            EXPECT_EQ(twinAt, polygons ? cornerAt : unmoved);
            undo::UndoCommand();
            expectNear(pointsOfGroup(group), before);
            undo::RedoCommand();
            expectNear(pointsOfGroup(group), after);
            undo::UndoCommand();
        }
    }
}

// The selected group's box follows its points through the drag, its Undo and
// its Redo.
TEST_F(GizmoGeometry, PointAndPolygonDragsRefitTheGroupsBox) {
    Globals::SelGrpBndBox->Initialize(group);
    auto expectBoxFits = [this](const char* when) {
        SCOPED_TRACE(when);
        Box6d b;
        OMBREL_group_get_bounding_box(group, b.data());
        Point3d lo = Globals::SelGrpBndBox->WorldCorner(0), hi = lo;
        for (int i = 1; i < 8; ++i) {
            const Point3d c = Globals::SelGrpBndBox->WorldCorner(i);
            for (std::size_t k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], c[k]);
                hi[k] = std::max(hi[k], c[k]);
            }
        }
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_NEAR(lo[k], b[k], 1e-9) << k;
            EXPECT_NEAR(hi[k], b[k + 3], 1e-9) << k;
        }
    };
    const auto pts = pointsOf(left);
    for (bool polygons : {false, true}) {
        for (int tool : {ToolMove, ToolRotate, ToolScale}) {
            SCOPED_TRACE(std::string(polygons ? "polygons" : "points") + " tool " + std::to_string(tool));
            Globals::CurrToolMode = tool;
            if (polygons) selectPolygon(left);
            else selectPoints({pts[0], pts[1]});
            dragHandle(0, -60);  // out past the group's side
            expectBoxFits("after the drag");
            undo::UndoCommand();
            expectBoxFits("after Undo");
            undo::RedoCommand();
            expectBoxFits("after Redo");
            undo::UndoCommand();
        }
    }
}

TEST_F(GizmoGeometry, AnEmptyPointOrPolygonSelectionPushesNothing) {
    const auto pts = pointsOf(left);
    selectPoints({pts[0]});
    drawHandle();
    moveMouse(0, onAxis(0, 0.6));
    ASSERT_EQ(gizmo->TransformationPossible, 0);
    for (const char* sub : {"Point", "Polygon"}) {
        window.editGeom = sub;
        Globals::NumSelPts = Globals::NumSelPols = 0;
        platform::setKeyHeld(platform::vk::LButton, true);
        gizmo->MouseDown(1, 0, 0);
        gizmo->MouseUp(1, 0, 0);
        EXPECT_EQ(Globals::UndoRedoStack->Retrive(), nullptr) << sub;
    }
}

class GizmoTrackPoints : public TransformFixture {
protected:
    void SetUp() override {
        TransformFixture::SetUp();
        const double pts[] = {0, 0, 0, 6, 2, 0, 8, 7, 3, 2, 6, -2};
        track = OMBREL_track_create("path", 0, pts, 4);
        Globals::CurrSelEntityType = SelTrack;
        Globals::CurrSelEntityHandle = track;
        window.page = 2;
        trackPoint = "Point";
        Globals::SelTrkPts = {0, 1, 2};
        Globals::NumSelTrkPts = 2;
        Globals::ComputeSelTrackPtsAvgCenter();
    }
    std::vector<double> trackPoints() const {
        std::vector<double> v;
        for (int32_t i = 0; i < OMBREL_track_get_number_of_points(track); ++i) {
            double p[3];
            OMBREL_track_get_point(track, i, p);
            v.insert(v.end(), p, p + 3);
        }
        return v;
    }
    int32_t track = 0;
};

TEST_F(GizmoTrackPoints, SelectedTrackPointsMoveTurnAndScaleAndReplayOnTheRecordedPoints) {
    for (int tool : {ToolMove, ToolRotate, ToolScale}) {
        SCOPED_TRACE(tool);
        Globals::UndoRedoStack->Reset();
        Globals::CurrToolMode = tool;
        Globals::SelTrkPts = {0, 1, 2};
        Globals::NumSelTrkPts = 2;
        Globals::ComputeSelTrackPtsAvgCenter();
        const auto before = trackPoints();
        dragHandle(1, 30);
        const auto after = trackPoints();
        EXPECT_EQ(records(), 1);
        // Only the selected points 1 and 2 moved.
        for (int i : {0, 9, 10, 11}) EXPECT_EQ(after[static_cast<std::size_t>(i)], before[static_cast<std::size_t>(i)]);
        EXPECT_NE(after, before);
        // Another selection in between does not change what the record replays.
        Globals::SelTrkPts = {0, 3};
        Globals::NumSelTrkPts = 1;
        Globals::SelTrkPtsAvgCenter = {50, 50, 50};
        undo::UndoCommand();
        expectNear(trackPoints(), before);
        undo::RedoCommand();
        expectNear(trackPoints(), after);
        undo::UndoCommand();
    }
}

}  // namespace
