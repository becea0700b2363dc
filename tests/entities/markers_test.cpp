#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"

#include "engine_world.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Markers = EngineWorldTest;

constexpr double kNewWorldScale = 0.31210986267166047;

std::vector<int32_t> polygonsOf(int32_t group) {
    std::vector<int32_t> out;
    for (int32_t p = OMBREL_group_get_first_polygon(group); p; p = OMBREL_group_get_next_polygon(group, p))
        out.push_back(p);
    return out;
}

std::vector<Point3d> pointsOf(int32_t polygon) {
    std::vector<Point3d> out;
    for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt; pt = OMBREL_point_get_next_point(pt)) {
        Point3d p;
        OMBREL_point_get_xyz(pt, p.data());
        out.push_back(p);
    }
    return out;
}

Point3d sub(const Point3d& a, const Point3d& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const Point3d& a, const Point3d& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Point3d neg(const Point3d& a) { return {-a[0], -a[1], -a[2]}; }

Point3d centroid(const std::vector<Point3d>& pts) {
    Point3d c = {0, 0, 0};
    for (const Point3d& p : pts)
        for (int k = 0; k < 3; ++k) c[k] += p[k] / static_cast<double>(pts.size());
    return c;
}

// The right-handed (Newell) normal of the points in their order.
Point3d windingNormal(const std::vector<Point3d>& pts) {
    Point3d n = {0, 0, 0};
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const Point3d& a = pts[i];
        const Point3d& b = pts[(i + 1) % pts.size()];
        n[0] += (a[1] - b[1]) * (a[2] + b[2]);
        n[1] += (a[2] - b[2]) * (a[0] + b[0]);
        n[2] += (a[0] - b[0]) * (a[1] + b[1]);
    }
    return n;
}

struct Frame {
    Point3d origin, x, y, z;
    // World point in the marker's own axes.
    Point3d local(const Point3d& p) const {
        const Point3d d = sub(p, origin);
        return {dot(d, x), dot(d, y), dot(d, z)};
    }
};

Frame frameOf(int32_t group) {
    Frame f;
    f.origin = groupLocation(group);
    OMBREL_group_calculate_axis_system(group, f.x.data(), f.y.data(), f.z.data());
    return f;
}

// Smallest and largest own-axis coordinate of the marker's points along axis k.
std::pair<double, double> extent(int32_t group, int k) {
    const Frame f = frameOf(group);
    double lo = 1e300, hi = -1e300;
    for (int32_t pol : polygonsOf(group))
        for (const Point3d& p : pointsOf(pol)) {
            lo = std::min(lo, f.local(p)[k]);
            hi = std::max(hi, f.local(p)[k]);
        }
    return {lo, hi};
}

// Every face's points run clockwise seen from outside (the side the engine
// shows): its right-handed normal points back to the marker's centre.
void expectFacesShowOutside(int32_t group) {
    const Point3d centre = groupLocation(group);
    int face = 0;
    for (int32_t pol : polygonsOf(group)) {
        ++face;
        const auto pts = pointsOf(pol);
        EXPECT_LT(dot(windingNormal(pts), sub(centroid(pts), centre)), 0) << "face " << face;
    }
}

void expectNear(const Point3d& got, const Point3d& want, double tol = 1e-6) {
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], want[k], tol) << "component " << k;
}

Point3d cameraAxis(int32_t cam, int k) {
    Point3d a[3];
    OMBREL_camera_get_axis_system(cam, a[0].data(), a[1].data(), a[2].data());
    return a[k];
}

// The marker takes the camera's axes half a turn about A3: its lens (+x) is where
// the camera looks (-A1).
void expectMarkerFollowsCamera(int32_t cam, int32_t marker) {
    const Frame f = frameOf(marker);
    expectNear(f.x, neg(cameraAxis(cam, 0)));
    expectNear(f.y, neg(cameraAxis(cam, 1)));
    expectNear(f.z, cameraAxis(cam, 2));
    Point3d loc;
    OMBREL_camera_get_location1(cam, loc.data());
    expectNear(f.origin, loc);
}

int32_t makeLight(const Point3d& at, const Point3d& dir) {
    const int32_t light = OMBREL_light_create("l", at.data());
    OMBREL_light_set_direction(light, dir.data());
    return light;
}

Point3d lightDirection(int32_t light) {
    Point3d d;
    OMBREL_light_get_direction(light, d.data());
    return d;
}

Point3d lightLocation(int32_t light) {
    Point3d d;
    OMBREL_light_get_location(light, d.data());
    return d;
}

std::vector<std::string> faceNames(int32_t group) {
    std::vector<std::string> names;
    for (int32_t pol : polygonsOf(group)) names.push_back(entityName(pol));
    return names;
}

std::vector<std::array<int32_t, 3>> fills(int32_t group) {
    std::vector<std::array<int32_t, 3>> out;
    for (int32_t pol : polygonsOf(group)) {
        std::array<int32_t, 3> c{};
        OMBREL_polygon_get_color(pol, &c[0], &c[1], &c[2]);
        out.push_back(c);
    }
    return out;
}

TEST_F(Markers, CameraMarkerIsTheLensedBoxOutsideTheTree) {
    const int32_t cam = OMBREL_camera_create("c");
    OMBREL_camera_set_location(cam, 5, 6, 7);
    CameraGrp markers;
    markers.Add(cam);
    const int32_t m = markers.GetCamGrp(cam);
    ASSERT_NE(m, 0);
    EXPECT_EQ(entityName(m), "CameraGrp");
    EXPECT_EQ(OMBREL_group_get_father_group(m), 0);
    EXPECT_EQ(faceNames(m), std::vector<std::string>(11, "CameraGrp_Face"));
    const std::array<int32_t, 3> blue = {0, 0, 255}, grey = {192, 192, 192};
    auto want = std::vector<std::array<int32_t, 3>>(5, blue);
    want.insert(want.end(), 6, grey);
    EXPECT_EQ(fills(m), want);
    for (int32_t pol : polygonsOf(m))
        for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt; pt = OMBREL_point_get_next_point(pt))
            EXPECT_EQ(OMBREL_point_get_brightness(pt), 100);

    EXPECT_DOUBLE_EQ(markers.MarkerScale(), kNewWorldScale);
    const auto [lo, hi] = extent(m, 0);
    EXPECT_NEAR(lo, -38.38951310861424, 1e-9);
    EXPECT_NEAR(hi, 38.38951310861424, 1e-9);
    // Lens mouth 72.19 and body 48.07 in marker units, either side.
    EXPECT_NEAR(extent(m, 1).second, 72.189946921663 * kNewWorldScale, 1e-9);
    EXPECT_NEAR(extent(m, 2).first, -72.189946921663 * kNewWorldScale, 1e-9);
    expectFacesShowOutside(m);
}

TEST_F(Markers, CameraLensPointsWhereTheCameraLooks) {
    struct Case {
        const char* pose;
        bool setDirection;
        Point3d dir;
    };
    const Case cases[] = {
        {"new", false, {0, 0, 0}},
        {"looking down at an angle", true, {1, 1, -1}},
        {"looking along -y", true, {0, -1, 0}},
        {"looking straight down", true, {0, 0, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pose);
        const int32_t cam = OMBREL_camera_create(c.pose);
        OMBREL_camera_set_location(cam, 100, -50, 20);
        if (c.setDirection) OMBREL_camera_set_direction(cam, c.dir[0], c.dir[1], c.dir[2]);
        CameraGrp markers;
        markers.Add(cam);
        const int32_t m = markers.GetCamGrp(cam);
        expectMarkerFollowsCamera(cam, m);
        const Point3d looks = c.setDirection ? c.dir : neg(cameraAxis(cam, 0));
        // Face 1 closes the lens at its wide end, in front of the camera.
        const Point3d lens = centroid(pointsOf(polygonsOf(m).front()));
        const Point3d ahead = sub(lens, {100, -50, 20});
        EXPECT_GT(dot(ahead, looks), 0.99 * 38.38 * std::sqrt(dot(looks, looks)));
        expectFacesShowOutside(m);
        markers.RemoveAll();
        // The panel's direction road turns the marker the same way.
        markers.Add(cam);
        markers.SetDirection(cam, {-1, 2, 0.5});
        expectMarkerFollowsCamera(cam, markers.GetCamGrp(cam));
        markers.RemoveAll();
    }
}

TEST_F(Markers, RotateTurnsObjectAndMarkerTogether) {
    const double r = 1 / std::sqrt(2.0);
    struct Case {
        int axis;
        bool centre;
        Point3d dir, at;  // after a right-handed quarter turn
    };
    // Start: at (10, 20, 30) looking or shining along (1, 1, 0) / sqrt 2.
    const Case cases[] = {
        {0, false, {r, 0, r}, {10, 20, 30}},   {1, false, {0, r, -r}, {10, 20, 30}},
        {2, false, {-r, r, 0}, {10, 20, 30}},  {0, true, {r, 0, r}, {10, -30, 20}},
        {1, true, {0, r, -r}, {30, 20, -10}},  {2, true, {-r, r, 0}, {-20, 10, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "axis " << c.axis << (c.centre ? " about the origin" : " in place"));
        CameraGrp cameras;
        const int32_t cam = OMBREL_camera_create("c");
        OMBREL_camera_set_location(cam, 10, 20, 30);
        OMBREL_camera_set_direction(cam, 1, 1, 0);
        cameras.Add(cam);
        cameras.Rotate(cam, 90, c.axis, c.centre, 0, 0, 0);
        expectMarkerFollowsCamera(cam, cameras.GetCamGrp(cam));
        expectNear(neg(cameraAxis(cam, 0)), c.dir);
        expectNear(groupLocation(cameras.GetCamGrp(cam)), c.at);

        LightGrp lights;
        const int32_t light = makeLight({10, 20, 30}, {1, 1, 0});
        lights.Add(light, 1);
        lights.Rotate(light, 90, c.axis, c.centre, 0, 0, 0);
        expectNear(lightDirection(light), c.dir);
        expectNear(frameOf(lights.GetLightGrp(light)).x, c.dir);
        expectNear(lightLocation(light), c.at);
        expectNear(groupLocation(lights.GetLightGrp(light)), c.at);
        cameras.RemoveAll();
        lights.RemoveAll();
    }
}

TEST_F(Markers, MoveAndSetLocationCarryTheMarker) {
    CameraGrp cameras;
    LightGrp lights;
    const int32_t cam = OMBREL_camera_create("c");
    const int32_t light = makeLight({0, 0, 50}, {0, 0, 1});  // parallel to z
    cameras.Add(cam);
    lights.Add(light, 0);
    expectNear(frameOf(lights.GetLightGrp(light)).x, {0, 0, 1});

    cameras.Move(cam, {0, 5, 0});
    lights.Move(light, {1, 1, 1});
    Point3d camAt;
    OMBREL_camera_get_location1(cam, camAt.data());
    expectNear(camAt, {0, 5, 0});
    expectNear(groupLocation(cameras.GetCamGrp(cam)), {0, 5, 0});
    expectNear(lightLocation(light), {1, 1, 51});
    expectNear(groupLocation(lights.GetLightGrp(light)), {1, 1, 51});

    cameras.SetLocation(cam, {1, 2, 3});
    lights.SetLocation(light, {-4, -5, -6});
    OMBREL_camera_get_location1(cam, camAt.data());
    expectNear(camAt, {1, 2, 3});
    expectNear(groupLocation(cameras.GetCamGrp(cam)), {1, 2, 3});
    expectNear(lightLocation(light), {-4, -5, -6});
    expectNear(groupLocation(lights.GetLightGrp(light)), {-4, -5, -6});
    expectMarkerFollowsCamera(cam, cameras.GetCamGrp(cam));

    lights.SetDirection(light, {0, -1, 0});
    expectNear(frameOf(lights.GetLightGrp(light)).x, {0, -1, 0});
    // A zero direction is refused by the engine: light and marker keep theirs.
    lights.SetDirection(light, {0, 0, 0});
    expectNear(lightDirection(light), {0, -1, 0});
    expectNear(frameOf(lights.GetLightGrp(light)).x, {0, -1, 0});
}

TEST_F(Markers, RegistryKeepsOrderAndFindsTheFirst) {
    CameraGrp markers;
    const int32_t c1 = OMBREL_camera_create("c1"), c2 = OMBREL_camera_create("c2"), c3 = OMBREL_camera_create("c3");
    EXPECT_EQ(markers.IndexOf(c1), -1);
    for (int32_t c : {c1, c2, c3}) markers.Add(c);
    EXPECT_EQ(markers.IndexOf(c3), 3);

    // Removing a middle entry keeps the order of the others.
    const int32_t m2 = markers.GetCamGrp(c2);
    EXPECT_TRUE(markers.Remove(c2));
    EXPECT_EQ(OMBREL_group_is_group(m2, 0), 0);  // the marker left the engine
    EXPECT_EQ(markers.NumOfMarkers(), 2);
    EXPECT_EQ(markers.IndexOf(c1), 1);
    EXPECT_EQ(markers.IndexOf(c3), 2);
    EXPECT_EQ(markers.GetCamGrp(c2), 0);
    EXPECT_EQ(markers.GetCamHandle(markers.GetCamGrp(c3)), c3);
    EXPECT_EQ(markers.GetCamHandle(markers.GetCamGrp(c1)), c1);

    // An unknown camera: false, 0, and nothing touched.
    const int32_t m1 = markers.GetCamGrp(c1);
    EXPECT_FALSE(markers.Remove(c2));
    EXPECT_FALSE(markers.HideUnhide(c2, 1));
    EXPECT_EQ(markers.GetCamHandle(0), 0);
    EXPECT_EQ(markers.NumOfMarkers(), 2);
    EXPECT_EQ(OMBREL_group_is_disable(m1), 0);

    EXPECT_TRUE(markers.HideUnhide(c1, 1));
    EXPECT_EQ(OMBREL_group_is_disable(m1), 1);
    EXPECT_TRUE(markers.HideUnhide(c1, 0));
    EXPECT_EQ(OMBREL_group_is_disable(m1), 0);

    // Registered twice: two markers, lookups find the first, Remove takes the first.
    markers.Add(c1);
    EXPECT_EQ(markers.NumOfMarkers(), 3);
    EXPECT_EQ(markers.GetCamGrp(c1), m1);
    EXPECT_EQ(markers.IndexOf(c1), 1);
    EXPECT_TRUE(markers.Remove(c1));
    EXPECT_EQ(OMBREL_group_is_group(m1, 0), 0);
    const int32_t again = markers.GetCamGrp(c1);
    EXPECT_NE(again, 0);
    EXPECT_NE(again, m1);
    EXPECT_EQ(markers.GetCamHandle(again), c1);
    EXPECT_EQ(markers.IndexOf(c1), 2);

    const int32_t m3 = markers.GetCamGrp(c3);
    markers.RemoveAll();
    EXPECT_EQ(markers.NumOfMarkers(), 0);
    EXPECT_EQ(OMBREL_group_is_group(m3, 0), 0);
    markers.RemoveAll();  // empty: nothing to do
    EXPECT_EQ(markers.NumOfMarkers(), 0);
}

TEST_F(Markers, LightShapesAndSwitches) {
    struct Case {
        const char* shape;
        int32_t kind;
        int faces;
        std::vector<int> pointsPerFace;
        double halfLengthX;  // from the centre to the x vertex or cap, scaled
    };
    const Case cases[] = {
        {"omni", 0, 8, std::vector<int>(8, 3), 24.044211242870166},
        {"directional", 1, 8, {6, 4, 4, 4, 4, 4, 4, 6}, 31.93891527940044},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shape);
        LightGrp markers;
        const int32_t light = makeLight({1, 2, 3}, {0, 1, 0});
        markers.Add(light, c.kind);
        const int32_t m = markers.GetLightGrp(light);
        EXPECT_EQ(entityName(m), "LightGrp");
        EXPECT_EQ(OMBREL_group_get_father_group(m), 0);
        EXPECT_EQ(faceNames(m), std::vector<std::string>(static_cast<std::size_t>(c.faces), "LightGrp_Face"));
        std::vector<int> counts;
        for (int32_t pol : polygonsOf(m)) counts.push_back(static_cast<int>(pointsOf(pol).size()));
        EXPECT_EQ(counts, c.pointsPerFace);
        expectNear(frameOf(m).x, {0, 1, 0});
        expectNear(frameOf(m).origin, {1, 2, 3});
        EXPECT_NEAR(extent(m, 0).second, c.halfLengthX, 1e-9);
        EXPECT_NEAR(extent(m, 0).first, -c.halfLengthX, 1e-9);
        expectFacesShowOutside(m);

        // A switch to the same shape still builds a new marker, of the same size.
        c.kind == 1 ? markers.SwitchToDirectional(light) : markers.SwitchToOmni(light);
        const int32_t rebuilt = markers.GetLightGrp(light);
        EXPECT_NE(rebuilt, m);
        EXPECT_EQ(OMBREL_group_is_group(m, 0), 0);
        EXPECT_EQ(markers.IndexOf(light), 1);
        EXPECT_NEAR(extent(rebuilt, 0).second, c.halfLengthX, 1e-9);
        expectNear(frameOf(rebuilt).x, {0, 1, 0});
        expectNear(frameOf(rebuilt).origin, {1, 2, 3});
        EXPECT_DOUBLE_EQ(markers.MarkerScale(), kNewWorldScale);
    }

    // Directional caps: white at the back, black at the front (+x).
    LightGrp markers;
    const int32_t light = makeLight({0, 0, 0}, {1, 0, 0});
    markers.Add(light, 0);
    markers.SwitchToDirectional(light);
    const auto f = fills(markers.GetLightGrp(light));
    EXPECT_EQ(f.front(), (std::array<int32_t, 3>{255, 255, 255}));
    EXPECT_EQ(f.back(), (std::array<int32_t, 3>{0, 0, 0}));
    EXPECT_NEAR(extent(markers.GetLightGrp(light), 0).second, 31.93891527940044, 1e-9);

    // Not registered: nothing changes.
    const int32_t other = makeLight({0, 0, 0}, {1, 0, 0});
    const int32_t before = markers.GetLightGrp(light);
    markers.SwitchToOmni(other);
    markers.SwitchToDirectional(other);
    EXPECT_EQ(markers.GetLightGrp(other), 0);
    EXPECT_EQ(markers.GetLightGrp(light), before);
    EXPECT_EQ(markers.NumOfMarkers(), 1);
}

TEST_F(Markers, AHiddenLightKeepsAHiddenMarkerThroughSwitches) {
    LightGrp markers;
    const int32_t hidden = makeLight({0, 0, 0}, {1, 0, 0});
    const int32_t shown = makeLight({5, 0, 0}, {1, 0, 0});
    markers.Add(hidden, 0);
    markers.Add(shown, 0);
    ASSERT_TRUE(markers.HideUnhide(hidden, 1));
    markers.SwitchToDirectional(hidden);
    EXPECT_EQ(OMBREL_group_is_disable(markers.GetLightGrp(hidden)), 1);
    markers.SwitchToOmni(hidden);
    EXPECT_EQ(OMBREL_group_is_disable(markers.GetLightGrp(hidden)), 1);
    markers.SwitchToDirectional(shown);
    EXPECT_EQ(OMBREL_group_is_disable(markers.GetLightGrp(shown)), 0);
}

TEST_F(Markers, ScaleFollowsTheWorldSize) {
    Globals::WorldSize = 3204;  // ten times the marker units
    CameraGrp cameras;
    const int32_t cam = OMBREL_camera_create("c");
    cameras.Add(cam);
    EXPECT_DOUBLE_EQ(cameras.MarkerScale(), 1.0);
    EXPECT_NEAR(extent(cameras.GetCamGrp(cam), 0).second, 123, 1e-9);
    cameras.ScaleGrp(cam, 2);
    EXPECT_NEAR(extent(cameras.GetCamGrp(cam), 0).second, 246, 1e-9);
    expectNear(groupLocation(cameras.GetCamGrp(cam)), {0, 0, 0});
}

}  // namespace
