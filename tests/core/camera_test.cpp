#include "core/Camera.h"
#include "core/SyncViewWithCamera.h"

#include "engine_world.h"

#include <cmath>

namespace {

constexpr int kW = 640, kH = 480;

class ViewCamera : public EngineWorldTest {
protected:
    void SetUp() override {
        EngineWorldTest::SetUp();
        if (IsSkipped()) return;
        surface_ = OMBREL_ext_surface_create(kW, kH);
        cam_.lngSceneCamera = OMBREL_camera_create("view");
        OMBREL_camera_set_zoom(cam_.lngSceneCamera, 60);
        OMBREL_camera_set_distance_from_eye(cam_.lngSceneCamera, 1);
        core::viewHooks().focusedViewWidth = [] { return kW; };
    }
    void TearDown() override {
        if (surface_) OMBREL_ext_surface_destroy(surface_);
        EngineWorldTest::TearDown();
    }

    PixelPt project(int32_t camera, const P3& p) {
        OMBREL_camera_set_current(camera, surface_);
        PixelPt px = {-1, -1};
        EXPECT_EQ(OMBREL_engine_3D_point_to_2D(p.data(), px.data()), 0) << p[0] << "," << p[1] << "," << p[2];
        return px;
    }

    void step(int button, int x, int y) {
        platform_.cursor.follow({x, y});
        float fx = 0, fy = 0;
        cam_.MouseMove(button, 0, fx, fy);
        cam_.Update();
    }

    int32_t surface_ = 0;
    Camera cam_;
};

TEST_F(ViewCamera, AfterUpdateTheLookAtPointIsInTheMiddleOfTheView) {
    struct Case {
        double dist, h, v, roll;
        P3 lookAt;
    };
    const Case cases[] = {{500, 0, 0, 0, {0, 0, 0}},      {300, 0.7, 0.4, 0, {10, 20, 30}},
                          {80, 3.5, -0.9, 1.2, {-5, 0, 2}}, {1000, 5.9, 1.5, -0.8, {100, -50, 0}}};
    for (const Case& c : cases) {
        cam_.Initialize(c.dist, c.h, c.v);
        cam_.RollAngle = c.roll;
        cam_.PointAtLoc({c.lookAt[0], c.lookAt[1], c.lookAt[2]});
        cam_.Update();
        PixelPt px = project(cam_.lngSceneCamera, c.lookAt);
        SCOPED_TRACE(testing::Message() << "h " << c.h << " v " << c.v << " roll " << c.roll);
        EXPECT_NEAR(px[0], kW / 2, 1);
        EXPECT_NEAR(px[1], kH / 2, 1);
        Point3d eye;
        OMBREL_camera_get_location1(cam_.lngSceneCamera, eye.data());
        EXPECT_NEAR(OMBREL_math_get_distance(eye.data(), c.lookAt.data()), c.dist, 1e-6);
    }
}

TEST_F(ViewCamera, PanMovesThePictureAsFarAsThePointerMoved) {
    // The mark is the root's reference point, at the look-at distance.
    Globals::RootGrp = makeBox("the_world", {-10, -10, -10}, {10, 10, 10});
    Globals::CurrToolMode = ToolPan;
    const P3 mark = {0, 0, 0};
    struct View {
        const char* name;
        double dist, zoom, h, v;
    };
    // As the standard views stand: an axis view far away through a narrow field,
    // the perspective view closer through a wide one.
    const View views[] = {{"top", 100000, 1, 0, 1.57}, {"perspective", 4000, 24, 2.355, 2.6167}};
    struct Drag {
        int dx, dy;
        double speed;
    };
    const Drag drags[] = {{37, 0, 1}, {0, 23, 1}, {-15, -9, 1}, {10, 0, 2}, {0, -12, 0.5}};
    for (const View& view : views) {
        SCOPED_TRACE(view.name);
        OMBREL_camera_set_zoom(cam_.lngSceneCamera, view.zoom);
        cam_.Initialize(view.dist, view.h, view.v);
        cam_.SetLookAtOffset(0, 0);
        cam_.Update();
        for (const Drag& d : drags) {
            SCOPED_TRACE(testing::Message() << "drag " << d.dx << "," << d.dy << " speed " << d.speed);
            Globals::NavSpeedFactor = d.speed;
            platform_.cursor.follow({400, 300});
            cam_.MouseDown(1, 0, 0, 0);
            const PixelPt before = project(cam_.lngSceneCamera, mark);
            step(1, 400 + d.dx, 300 + d.dy);
            const PixelPt after = project(cam_.lngSceneCamera, mark);
            EXPECT_NEAR(after[0] - before[0], d.dx * d.speed, 1);
            EXPECT_NEAR(after[1] - before[1], d.dy * d.speed, 1);
        }
    }

    // The I key pans without a button.
    Globals::NavSpeedFactor = 1;
    platform_.cursor.follow({400, 300});
    cam_.MouseDown(0, 0, 0, 0);
    const PixelPt before = project(cam_.lngSceneCamera, mark);
    platform::setKeyHeld('I', true);
    step(0, 380, 300);
    EXPECT_NEAR(project(cam_.lngSceneCamera, mark)[0] - before[0], -20, 1);
}

TEST_F(ViewCamera, NavigationStaysWithinItsLimits) {
    cam_.Initialize(10, 0.1, 0.1);
    platform_.cursor.follow({600, 500});
    cam_.MouseDown(1, 0, 0, 0);
    struct Case {
        int32_t tool;
        int dy;
    };
    const Case cases[] = {{ToolZoomCamera, 400}, {ToolZoomCamera, -400}, {ToolMoveCamera, -400},
                          {ToolRollCamera, 300}, {ToolRollCamera, -300}, {ToolRevolve, 300}};
    for (const Case& c : cases) {
        Globals::CurrToolMode = c.tool;
        for (int i = 0; i < 3; ++i) {
            step(1, 600, 500 + c.dy);
            step(1, 600, 500);  // a return trip moves by -dy
            step(1, 600, 500 + c.dy);
        }
        const double zoom = OMBREL_camera_get_zoom(cam_.lngSceneCamera);
        SCOPED_TRACE(testing::Message() << "tool " << c.tool << " dy " << c.dy);
        EXPECT_GE(zoom, 1);
        EXPECT_LE(zoom, 179);
        EXPECT_GE(cam_.dblViewingDistance, 1e-05);
        EXPECT_LE(std::fabs(cam_.RollAngle), 1.57);
        EXPECT_GE(cam_.VerticalAngle(), 0);
        EXPECT_LE(cam_.VerticalAngle(), 6.28318530717958);
        EXPECT_GE(cam_.HorizontalAngle(), 0);
        if (c.tool == ToolMoveCamera) {
            EXPECT_EQ(cam_.dblViewingDistance, 1e-05);
        }
        step(1, 600, 500);
    }
}

TEST_F(ViewCamera, PointerNearAnEdgeJumpsAcrossWithoutMovingTheCamera) {
    Globals::CurrToolMode = ToolRevolve;
    cam_.Initialize(100, 1, 1);
    platform_.cursor.follow({640, 500});
    cam_.MouseDown(1, 0, 0, 0);
    struct Case {
        platform::ScreenPoint at, jump;
    };
    const Case cases[] = {{{640, 1018}, {640, 11}}, {{640, 5}, {640, 1013}}, {{1200, 5}, {1200, 1013}},
                          {{1272, 500}, {11, 500}}, {{9, 500}, {1269, 500}}};
    for (const Case& c : cases) {
        const double h = cam_.HorizontalAngle(), v = cam_.VerticalAngle();
        step(1, c.at.x, c.at.y);
        EXPECT_EQ(platform::GetCursorPos(), c.jump);
        EXPECT_EQ(cam_.HorizontalAngle(), h);
        EXPECT_EQ(cam_.VerticalAngle(), v);
        // The next step starts from where the pointer landed.
        const int dy = c.jump.y > 512 ? -10 : 10;
        step(1, c.jump.x, c.jump.y + dy);
        EXPECT_NEAR(cam_.VerticalAngle(), v + dy * 0.01, 1e-9);
        EXPECT_EQ(cam_.HorizontalAngle(), h);
        platform_.cursor.follow({640, 500});
        cam_.MouseDown(1, 0, 0, 0);
    }
}

// A system that refuses to move the pointer (Wayland).
class RefusingCursor : public platform::doubles::FakeCursor {
public:
    void setPosition(platform::ScreenPoint) override {}
};

TEST_F(ViewCamera, RefusedPointerJumpStillNavigates) {
    RefusingCursor cursor;
    Globals::CurrToolMode = ToolRevolve;
    cam_.Initialize(100, 1, 1);
    cursor.follow({1200, 500});
    cam_.MouseDown(1, 0, 0, 0);
    cursor.follow({1275, 500});
    float x = 0, y = 0;
    cam_.MouseMove(1, 0, x, y);
    EXPECT_NEAR(cam_.HorizontalAngle(), 1 - 0.75, 1e-9);
    EXPECT_EQ(x, 1275);
}

TEST_F(ViewCamera, SyncedViewShowsTheSceneCamerasPicture) {
    struct Case {
        P3 location, direction;
        double roll, zoom;
    };
    const Case cases[] = {{{100, -300, 150}, {-0.2, 1, -0.4}, 0.5, 50},
                          {{0, 0, 0}, {1, 0.3, 0.6}, -0.9, 70},
                          {{50, 50, 50}, {0, -1, 0}, 0, 45},
                          {{-20, 10, 300}, {0.4, 0.1, -1}, 1.0, 60},
                          // Straight down and straight up, turned about the vertical.
                          {{30, -40, 500}, {0, 0, -1}, 0.7, 60},
                          {{-10, 25, -200}, {0, 0, 1}, -2.1, 55}};
    auto& view = Globals::ViewCams[0];
    view = std::make_shared<Camera>();
    view->lngSceneCamera = cam_.lngSceneCamera;
    for (const Case& c : cases) {
        int32_t scene = OMBREL_camera_create("scene");
        OMBREL_camera_set_location1(scene, c.location.data());
        OMBREL_camera_set_direction1(scene, c.direction.data());
        OMBREL_camera_rotate_x_radians(scene, c.roll, OMBREL_MODE_OWN_AXES);
        OMBREL_camera_set_zoom(scene, c.zoom);
        OMBREL_camera_set_distance_from_eye(scene, 1);
        Point3d d, a1, a2, a3;
        OMBREL_camera_get_direction1(scene, d.data());
        OMBREL_camera_get_axis_system(scene, a1.data(), a2.data(), a3.data());
        // Points spread over the scene camera's picture, at several depths.
        std::vector<P3> marks;
        for (double depth : {200.0, 600.0})
            for (double right : {-0.4, 0.0, 0.4})
                for (double up : {-0.3, 0.3})
                    marks.push_back({c.location[0] + depth * (d[0] + right * a2[0] + up * a3[0]),
                                     c.location[1] + depth * (d[1] + right * a2[1] + up * a3[1]),
                                     c.location[2] + depth * (d[2] + right * a2[2] + up * a3[2])});
        std::vector<PixelPt> seen;
        for (const P3& m : marks) seen.push_back(project(scene, m));
        SyncViewWithCamera(scene, 0);
        SCOPED_TRACE(testing::Message() << "roll " << c.roll << " zoom " << c.zoom);
        for (std::size_t i = 0; i < marks.size(); ++i) {
            PixelPt px = project(view->lngSceneCamera, marks[i]);
            EXPECT_NEAR(px[0], seen[i][0], 1) << "mark " << i;
            EXPECT_NEAR(px[1], seen[i][1], 1) << "mark " << i;
        }
    }
}

}  // namespace
