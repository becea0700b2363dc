// World to screen through the current camera: result codes and the standard views.
#include "engine_fixture.h"

#include "ombrel_edges.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int32_t kUnset = -777;

class ProjectionTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        // Eye at the origin looking along +x: image right is -y, image up is +z.
        // 64 x 48 pixels at 90 degrees: f = 32, so x pixel = 32 - 32 y / x. Cases keep
        // off exact pixel borders, where tan(45 degrees) rounding decides.
        camera = OMBREL_camera_create("view");
        surface = OMBREL_ext_surface_create(64, 48);
        OMBREL_camera_set_zoom(camera, 90);
        OMBREL_camera_set_distance_from_eye(camera, 1);
        ASSERT_EQ(OMBREL_camera_set_current(camera, surface), 0);
    }
    void TearDown() override {
        OMBREL_ext_surface_destroy(surface);
        EngineTest::TearDown();
    }
    int32_t camera = 0, surface = 0;
};

TEST_F(ProjectionTest, PointCodes) {
    struct Case {
        const char* what;
        P3 p;
        int32_t code, x, y;
    };
    const Case cases[] = {
        {"straight ahead: the surface centre", {10, 0, 0}, 0, 32, 24},
        {"right and up", {10, -5.01, 2.4}, 0, 48, 16},
        {"last column and row", {10, -9.999, -7.499}, 0, 63, 47},
        {"one past the right edge", {10, -10.01, 0}, 2, 64, 24},
        {"off to the left", {10, 19.9, 0}, 2, -32, 24},
        {"nearer than the near distance", {0.5, 0, 0}, 2, 32, 24},
        {"nearer and far off: clamped", {1e-9, -1, 0}, 2, 1000000, 24},
        {"on the eye plane", {0, 3, 0}, -1, kUnset, kUnset},
        {"behind the eye", {-5, 0, 0}, -1, kUnset, kUnset},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int32_t px[2] = {kUnset, kUnset};
        EXPECT_EQ(OMBREL_engine_3D_point_to_2D(c.p.data(), px), c.code);
        EXPECT_EQ(px[0], c.x);
        EXPECT_EQ(px[1], c.y);
    }
}

TEST_F(ProjectionTest, EdgeCodes) {
    struct Case {
        const char* what;
        P3 a, b;
        int32_t code, ax, ay, bx, by;
    };
    const Case cases[] = {
        {"in front, on the surface", {10, 0, 0}, {10, -5.01, 2.4}, 0, 32, 24, 48, 16},
        {"leaving the surface: ends never moved for the viewport", {10, 0, 0}, {10, -100.01, 0}, 0, 32, 24, 352, 24},
        {"across the near plane: far end clipped at depth 1", {10, -5.01, 0}, {-10, -5.01, 0}, 2, 48, 24, 192, 24},
        {"wholly off to one side", {10, -20.01, 0}, {10, -30.01, 0}, 1, 96, 24, 128, 24},
        {"passing outside a corner", {10, -8.76, 13.74}, {10, -21.26, 1.24}, 1, 60, -20, 100, 20},
        {"wholly nearer than the near plane", {0.5, 0, 0}, {-3, 1, 0}, -1, kUnset, kUnset, kUnset, kUnset},
        {"wholly behind the eye", {-1, 0, 0}, {-3, 1, 0}, -1, kUnset, kUnset, kUnset, kUnset},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int32_t a[2] = {kUnset, kUnset}, b[2] = {kUnset, kUnset};
        EXPECT_EQ(OMBREL_engine_3D_edge_to_2D(c.a.data(), c.b.data(), a, b), c.code);
        EXPECT_EQ(a[0], c.ax);
        EXPECT_EQ(a[1], c.ay);
        EXPECT_EQ(b[0], c.bx);
        EXPECT_EQ(b[1], c.by);
    }
}

TEST_F(ProjectionTest, NothingProjectsWithoutACurrentCamera) {
    int32_t other = OMBREL_camera_create("other");
    OMBREL_camera_set_current(other, surface);
    OMBREL_camera_delete(other);
    const P3 p{10, 0, 0};
    int32_t px[2] = {kUnset, kUnset}, q[2] = {kUnset, kUnset};
    EXPECT_EQ(OMBREL_engine_3D_point_to_2D(p.data(), px), -1);
    EXPECT_EQ(OMBREL_engine_3D_edge_to_2D(p.data(), p.data(), px, q), -1);
    EXPECT_EQ(px[0], kUnset);
    EXPECT_EQ(OMBREL_engine_3D_point_to_2D(nullptr, px), -1);
}

// The view code's orbit: eye offset E from the angles, A1 along E, A2 left zero,
// A3 the old up projected on the plane through E and world z.
void orbit(int32_t cam, double dist, double h, double v) {
    double e[3] = {dist * std::cos(v) * std::cos(h), dist * std::cos(v) * std::sin(h), dist * std::sin(v)};
    double a1[3], a2[3], a3[3];
    OMBREL_camera_get_axis_system(cam, a1, a2, a3);
    double len = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
    double n[3] = {e[1], -e[0], 0};  // E x (0, 0, 1)
    double nl = std::hypot(n[0], n[1]);
    double s = (n[0] * a3[0] + n[1] * a3[1]) / (nl * nl);
    double up[3] = {a3[0] - n[0] * s, a3[1] - n[1] * s, a3[2]};
    double ul = std::sqrt(up[0] * up[0] + up[1] * up[1] + up[2] * up[2]);
    double na1[3] = {e[0] / len, e[1] / len, e[2] / len}, zero[3] = {0, 0, 0};
    double na3[3] = {up[0] / ul, up[1] / ul, up[2] / ul};
    ASSERT_EQ(OMBREL_camera_set_axis_system(cam, na1, zero, na3), 0);
    ASSERT_EQ(OMBREL_camera_set_location1(cam, e), 0);
}

TEST_F(ProjectionTest, StandardViewsLookAtTheOrigin) {
    const double worldSize = 1000, pi = 3.14;
    struct Case {
        const char* name;
        double dist, h, v, zoom, nearDist;
    };
    const Case views[] = {
        {"Top", worldSize * 100, 0, pi / 2, 1, worldSize},
        {"Bottom", worldSize * 100, 0, -pi / 2, 1, worldSize},
        {"Left", worldSize * 100, pi / 2, pi, 1, worldSize},
        {"Right", worldSize * 100, -pi / 2, pi, 1, worldSize},
        {"Front", worldSize * 100, pi, pi, 1, worldSize},
        {"Back", worldSize * 100, 0, pi, 1, worldSize},
        {"Perspective", worldSize * 4, pi - pi / 4, pi - pi / 6, 24, worldSize / 100},
    };
    int32_t odd = OMBREL_ext_surface_create(65, 49);  // centre pixel (32, 24) without a tie
    for (const Case& c : views) {
        SCOPED_TRACE(c.name);
        OMBREL_camera_set_direction(camera, 1, 0, 0);
        orbit(camera, c.dist, c.h, c.v);
        OMBREL_camera_set_zoom(camera, c.zoom);
        OMBREL_camera_set_distance_from_eye(camera, c.nearDist);
        OMBREL_camera_set_current(camera, odd);
        const double origin[3] = {0, 0, 0};
        int32_t px[2];
        EXPECT_EQ(OMBREL_engine_3D_point_to_2D(origin, px), 0);
        EXPECT_EQ(px[0], 32);
        EXPECT_EQ(px[1], 24);
    }
    // Top: +y to the right, -x up.
    OMBREL_camera_set_direction(camera, 1, 0, 0);
    orbit(camera, worldSize * 100, 0, pi / 2);
    OMBREL_camera_set_zoom(camera, 1);
    const double right[3] = {0, 300, 0}, up[3] = {-300, 0, 0};
    int32_t r[2], u[2];
    OMBREL_engine_3D_point_to_2D(right, r);
    OMBREL_engine_3D_point_to_2D(up, u);
    EXPECT_GT(r[0], 32);
    EXPECT_EQ(r[1], 24);
    EXPECT_EQ(u[0], 32);
    EXPECT_LT(u[1], 24);
    OMBREL_ext_surface_destroy(odd);
}

// Many edges in one call answer, edge by edge, what one call per edge answers:
// the same code and the same pixels (untouched where the single call leaves them),
// in the close view of the fixture and in the far, narrow top view the editor uses.
TEST_F(ProjectionTest, EdgesAtOnceAnswerAsOneByOne) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    struct Edge {
        const char* what;
        P3 a, b;
    };
    const Edge edges[] = {
        {"in front, on the surface", {10, 0, 0}, {10, -5.01, 2.4}},
        {"leaving the surface", {10, 0, 0}, {10, -100.01, 0}},
        {"across the near plane", {10, -5.01, 0}, {-10, -5.01, 0}},
        {"across the near plane the other way", {-4, 3, 1}, {30, -2, 7}},
        {"wholly off to one side", {10, -20.01, 0}, {10, -30.01, 0}},
        {"passing outside a corner", {10, -8.76, 13.74}, {10, -21.26, 1.24}},
        {"wholly nearer than the near plane", {0.5, 0, 0}, {-3, 1, 0}},
        {"wholly behind the eye", {-1, 0, 0}, {-3, 1, 0}},
        {"far off: clamped", {1e-3, -1e5, 0}, {20, 1, 1}},
        {"near the top view's picture", {-300, 20, 5}, {250, -40, -5}},
        {"crossing the top view's eye plane", {0, 0, 2e5}, {10, 10, -10}},
        {"beside the top view's picture", {2000, 900, 0}, {2500, -900, 0}},
        {"an infinite end", {10, 0, 0}, {inf, 0, 0}},
        {"a NaN end", {nan, 0, 0}, {10, 1, 1}},
    };
    struct View {
        const char* name;
        bool top;
    };
    for (const View v : {View{"close, 90 degrees", false}, View{"top, far and narrow", true}}) {
        SCOPED_TRACE(v.name);
        if (v.top) {
            orbit(camera, 1e5, 0, 3.14 / 2);
            OMBREL_camera_set_zoom(camera, 1);
            OMBREL_camera_set_distance_from_eye(camera, 1000);
        }
        // Each edge's two points, then its ends by index; after the table's own
        // edges come edges joining one edge's second point to the next one's
        // first, so that points are shared between edges of every kind.
        std::vector<double> points;
        for (const Edge& e : edges) {
            points.insert(points.end(), e.a.begin(), e.a.end());
            points.insert(points.end(), e.b.begin(), e.b.end());
        }
        const int32_t m = static_cast<int32_t>(std::size(edges));
        std::vector<int32_t> ends;
        for (int32_t i = 0; i < m; ++i) ends.insert(ends.end(), {2 * i, 2 * i + 1});
        for (int32_t i = 0; i + 1 < m; ++i) ends.insert(ends.end(), {2 * i + 1, 2 * i + 2});
        const int32_t n = static_cast<int32_t>(ends.size() / 2);
        std::vector<int32_t> pixels(4 * ends.size() / 2, kUnset), results(ends.size() / 2, kUnset);
        ASSERT_EQ(OMBREL_ext_3D_edges_to_2D(2 * m, points.data(), n, ends.data(), pixels.data(), results.data()), n);
        int codes[4] = {0, 0, 0, 0};  // -1, 0, 1, 2
        for (int32_t i = 0; i < n; ++i) {
            const double* pa = &points[3 * static_cast<std::size_t>(ends[2 * i])];
            const double* pb = &points[3 * static_cast<std::size_t>(ends[2 * i + 1])];
            SCOPED_TRACE(i < m ? edges[i].what : "joining two edges");
            int32_t a[2] = {kUnset, kUnset}, b[2] = {kUnset, kUnset};
            const int32_t code = OMBREL_engine_3D_edge_to_2D(pa, pb, a, b);
            EXPECT_EQ(results[i], code);
            EXPECT_EQ(pixels[4 * i], a[0]);
            EXPECT_EQ(pixels[4 * i + 1], a[1]);
            EXPECT_EQ(pixels[4 * i + 2], b[0]);
            EXPECT_EQ(pixels[4 * i + 3], b[1]);
            ++codes[code + 1];
        }
        // The table reaches every answer in each view.
        for (int c = 0; c < 4; ++c) EXPECT_GT(codes[c], 0) << "no edge answered " << c - 1;
    }
}

TEST_F(ProjectionTest, EdgesAtOnceRefuseNoListsANegativeCountABadIndexAndNoCamera) {
    const double points[6] = {10, 0, 0, 10, -5.01, 2.4};
    const int32_t ends[2] = {0, 1}, past[2] = {0, 2}, before[2] = {-1, 1};
    int32_t pixels[4] = {kUnset, kUnset, kUnset, kUnset}, results[1] = {kUnset};
    struct Case {
        const char* what;
        int32_t pointCount, count;
        const double* points;
        const int32_t* ends;
        int32_t *pixels, *results;
    };
    const Case cases[] = {
        {"a negative count", 2, -1, points, ends, pixels, results},
        {"a negative point count", -1, 1, points, ends, pixels, results},
        {"no points", 2, 1, nullptr, ends, pixels, results},
        {"points counted but not given", 2, 0, nullptr, nullptr, nullptr, nullptr},
        {"no ends", 2, 1, points, nullptr, pixels, results},
        {"no pixels", 2, 1, points, ends, nullptr, results},
        {"no results", 2, 1, points, ends, pixels, nullptr},
        {"an end past the points", 2, 1, points, past, pixels, results},
        {"an end before the points", 2, 1, points, before, pixels, results},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OMBREL_ext_clear_last_error();
        EXPECT_EQ(OMBREL_ext_3D_edges_to_2D(c.pointCount, c.points, c.count, c.ends, c.pixels, c.results), -1);
        EXPECT_EQ(results[0], kUnset);
        EXPECT_EQ(pixels[0], kUnset);
        EXPECT_NE(std::string(OMBREL_ext_get_last_error()), "");
    }
    EXPECT_EQ(OMBREL_ext_3D_edges_to_2D(0, nullptr, 0, nullptr, nullptr, nullptr), 0);

    // Without a camera every edge gets the single call's failure.
    int32_t other = OMBREL_camera_create("other");
    OMBREL_camera_set_current(other, surface);
    OMBREL_camera_delete(other);
    EXPECT_EQ(OMBREL_ext_3D_edges_to_2D(2, points, 1, ends, pixels, results), -1);
    EXPECT_EQ(results[0], -1);
    EXPECT_EQ(pixels[0], kUnset);
}

}  // namespace
