#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"

#include "engine_world.h"

#include <cmath>

namespace {

using Markers = EngineWorldTest;

int32_t countPolygons(int32_t group) {
    int32_t n = 0;
    for (int32_t p = OMBREL_group_get_first_polygon(group); p; p = OMBREL_group_get_next_polygon(group, p)) ++n;
    return n;
}

void expectNear(const Point3d& got, const Point3d& want, double tol = 1e-6) {
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], want[k], tol) << "component " << k;
}

TEST_F(Markers, CameraMarkerIsACubeAtTheCameraOutsideTheTree) {
    Globals::WorldSize = 2000;
    int32_t cam = OMBREL_camera_create("c");
    OMBREL_camera_set_location(cam, 5, 6, 7);
    OMBREL_camera_set_direction(cam, 0, 1, 0);
    CameraGrp markers;
    markers.Add(cam);
    int32_t m = markers.GetCamGrp(cam);
    ASSERT_NE(m, 0);
    EXPECT_EQ(markers.GetCamHandle(m), cam);
    EXPECT_EQ(entityName(m), "CameraGrp");
    EXPECT_EQ(OMBREL_group_get_father_group(m), 0);
    EXPECT_EQ(countPolygons(m), 6);
    expectNear(groupLocation(m), {5, 6, 7});
    double dims[3];
    OMBREL_group_get_dimensions(m, dims);
    expectNear({dims[0], dims[1], dims[2]}, {20, 20, 20});
    // Every side is seen from outside: a camera straight in front of a face sees it.
    int32_t viewer = OMBREL_camera_create("viewer");
    OMBREL_camera_set_location(viewer, 5, 6, 100);
    OMBREL_camera_set_direction(viewer, 0, 0, -1);
    int32_t surface = OMBREL_ext_surface_create(64, 64);
    OMBREL_camera_set_current(viewer, surface);
    double hit[3];
    int32_t group = 0, polygon = 0;
    EXPECT_EQ(OMBREL_engine_2D_point_to_3D(32, 32, hit, &group, &polygon), 0);
    EXPECT_EQ(group, m);
    EXPECT_NEAR(hit[2], 17, 1e-6);
    OMBREL_ext_surface_destroy(surface);
}

TEST_F(Markers, RegistryLookupsAndRemoval) {
    CameraGrp markers;
    int32_t c1 = OMBREL_camera_create("c1"), c2 = OMBREL_camera_create("c2"), c3 = OMBREL_camera_create("c3");
    for (int32_t c : {c1, c2, c3}) markers.Add(c);
    int32_t m2 = markers.GetCamGrp(c2);
    EXPECT_TRUE(markers.Remove(c2));
    EXPECT_EQ(OMBREL_group_is_group(m2, 0), 0);  // the marker left the engine
    EXPECT_EQ(markers.GetCamGrp(c2), 0);
    EXPECT_EQ(markers.GetCamHandle(markers.GetCamGrp(c3)), c3);
    EXPECT_EQ(markers.GetCamHandle(markers.GetCamGrp(c1)), c1);
    EXPECT_FALSE(markers.Remove(c2));
    EXPECT_FALSE(markers.HideUnhide(c2, 1));
    EXPECT_EQ(markers.GetCamHandle(0), 0);

    EXPECT_TRUE(markers.HideUnhide(c1, 1));
    EXPECT_EQ(OMBREL_group_is_disable(markers.GetCamGrp(c1)), 1);
    EXPECT_TRUE(markers.HideUnhide(c1, 0));
    EXPECT_EQ(OMBREL_group_is_disable(markers.GetCamGrp(c1)), 0);

    int32_t m3 = markers.GetCamGrp(c3);
    markers.RemoveAll();
    EXPECT_EQ(markers.NumOfMarkers(), 0);
    EXPECT_EQ(OMBREL_group_is_group(m3, 0), 0);
    markers.RemoveAll();
}

TEST_F(Markers, CameraAndMarkerMoveAndTurnTogether) {
    CameraGrp markers;
    int32_t cam = OMBREL_camera_create("c");
    OMBREL_camera_set_location(cam, 10, 0, 0);
    OMBREL_camera_set_direction(cam, 1, 0, 0);
    markers.Add(cam);
    const int32_t m = markers.GetCamGrp(cam);

    auto expectAligned = [&](const Point3d& at) {
        Point3d loc, a1, a2, a3, gx, gy, gz;
        OMBREL_camera_get_location1(cam, loc.data());
        expectNear(loc, at);
        expectNear(groupLocation(m), at);
        OMBREL_camera_get_axis_system(cam, a1.data(), a2.data(), a3.data());
        OMBREL_group_calculate_axis_system(m, gx.data(), gy.data(), gz.data());
        expectNear(gx, a1);
        expectNear(gy, a2);
        expectNear(gz, a3);
    };
    expectAligned({10, 0, 0});
    markers.Move(cam, {0, 5, 0});
    expectAligned({10, 5, 0});
    markers.SetLocation(cam, {1, 2, 3});
    expectAligned({1, 2, 3});
    markers.SetDirection(cam, {0, 1, 1});
    expectAligned({1, 2, 3});
    // About its own location: only turns.
    markers.Rotate(cam, 30, 2, false, 0, 0, 0);
    expectAligned({1, 2, 3});
    // About a centre: the location swings right-handed (x towards y about z).
    markers.SetLocation(cam, {10, 0, 0});
    markers.Rotate(cam, 90, 2, true, 0, 0, 0);
    expectAligned({0, 10, 0});
}

TEST_F(Markers, LightDirectionFollowsItsMarker) {
    LightGrp markers;
    const double at[3] = {0, 0, 50};
    int32_t light = OMBREL_light_create("l", at);
    const double dir[3] = {1, 0, 0};
    OMBREL_light_set_direction(light, dir);
    markers.Add(light, 1);
    const int32_t m = markers.GetLightGrp(light);
    ASSERT_NE(m, 0);
    EXPECT_EQ(entityName(m), "LightGrp");
    EXPECT_EQ(markers.GetLightHandle(m), light);
    expectNear(groupLocation(m), {0, 0, 50});

    markers.Rotate(light, 90, 2, false, 0, 0, 0);
    Point3d d, gx, gy, gz;
    OMBREL_light_get_direction(light, d.data());
    OMBREL_group_calculate_axis_system(m, gx.data(), gy.data(), gz.data());
    expectNear(d, {0, 1, 0});
    expectNear(gx, d);

    markers.Rotate(light, 90, 0, true, 0, 0, 0);  // x axis: y towards z, location swung about the origin
    OMBREL_light_get_direction(light, d.data());
    expectNear(d, {0, 0, 1});
    Point3d loc;
    OMBREL_light_get_location(light, loc.data());
    expectNear(loc, {0, -50, 0});
    expectNear(groupLocation(m), {0, -50, 0});

    markers.SetDirection(light, {0, -1, 0});
    OMBREL_group_calculate_axis_system(m, gx.data(), gy.data(), gz.data());
    expectNear(gx, {0, -1, 0});
    markers.Move(light, {1, 1, 1});
    OMBREL_light_get_location(light, loc.data());
    expectNear(loc, {1, -49, 1});
    expectNear(groupLocation(m), {1, -49, 1});
    EXPECT_TRUE(markers.Remove(light));
    EXPECT_EQ(markers.GetLightGrp(light), 0);
}

}  // namespace
