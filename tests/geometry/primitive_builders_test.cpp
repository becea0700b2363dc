#include "builder_fixture.h"

#include "geometry/CreateBox.h"
#include "geometry/RandomColour.h"
#include "geometry/RoundPrimitives.h"

#include "core/Globals.h"

#include <cmath>
#include <functional>
#include <optional>

namespace {

using geometry::FaceSink;

// Cosines and sines of the angles the examples meet, rounded to 10 decimals.
constexpr double c18 = 0.9510565163, s18 = 0.3090169944;
constexpr double c36 = 0.8090169944, s36 = 0.5877852523;
constexpr double c45 = 0.7071067812, s45 = 0.7071067812;
constexpr double c72 = 0.3090169944, s72 = 0.9510565163;
constexpr double s120 = 0.8660254038;
constexpr double c342 = 0.9510565163, s342 = -0.3090169944;
constexpr double s162 = 0.3090169944, c162 = -0.9510565163;

struct Corner {
    Point3d pos;
    double u, v;
    Point3d normal;
};

// A face by its number; its first corners as listed, and how many it has in all.
struct Face {
    int index;
    int points;
    std::vector<Corner> corners;
};

struct Case {
    const char* label;
    std::function<bool(FaceSink*)> build;
    const char* group;
    int polygons;
    std::vector<Face> faces;
    double tolerance;
    // Closed shapes whose faces all look away from this point.
    std::optional<Point3d> centre;
    bool plane = false;
};

Point3d sub(const Point3d& a, const Point3d& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Point3d cross(const Point3d& a, const Point3d& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double dot(const Point3d& a, const Point3d& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The side a face shows: (P2 - P1) x (P1 - P0).
Point3d visibleSide(const std::vector<EnginePoint>& pts) {
    return cross(sub(pts[2].pos, pts[1].pos), sub(pts[1].pos, pts[0].pos));
}

// The cone's slope normal at an angle, for radius 100 and height 200.
Point3d coneNormal(double degrees) {
    const double alpha = std::atan(2.0), phi = degrees * 3.14159265358979 / 180;
    return {std::cos(phi) * std::sin(alpha), std::sin(phi) * std::sin(alpha), std::cos(alpha)};
}

std::string faceName(const std::string& group, int index) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", index);
    return group + "_Face" + digits;
}

class PrimitiveBuildersTest : public BuilderFixture {};

TEST_F(PrimitiveBuildersTest, ShapesAreBuiltAsDefined) {
    const double third = 1.0 / 3, twoThirds = 2.0 / 3, h = 100.0 / 3;
    const Point3d up = {0, 0, 1}, down = {0, 0, -1};
    const double r45 = 200 + 60 * c45;
    const std::vector<Case> cases = {
        {"box 100 x 100 x 100, counts 1, 1, 1",
         [](FaceSink* s) { return geometry::CreateBox(s).Create(100, 100, 100, 1, 1, 1); }, "Box01", 6,
         {{0, 4,
           {{{-50, -50, -50}, 0, 0, down},
            {{50, -50, -50}, 0, 1, down},
            {{50, 50, -50}, 1, 1, down},
            {{-50, 50, -50}, 1, 0, down}}},
          {2, 4,
           {{{-50, -50, -50}, 1, 1, {-1, 0, 0}},
            {{-50, 50, -50}, 0, 1, {-1, 0, 0}},
            {{-50, 50, 50}, 0, 0, {-1, 0, 0}},
            {{-50, -50, 50}, 1, 0, {-1, 0, 0}}}}},
         0, Point3d{0, 0, 0}},
        {"box 100 x 100 x 100, counts 2, 3, 4",
         [](FaceSink* s) { return geometry::CreateBox(s).Create(100, 100, 100, 2, 3, 4); }, "Box01", 52,
         {{0, 4,
           {{{-50, -50, -50}, 0, 0, down},
            {{0, -50, -50}, 0, 0.5, down},
            {{0, -50 + h, -50}, third, 0.5, down},
            {{-50, -50 + h, -50}, third, 0, down}}},
          {12, 4,
           {{{-50, -50, -50}, 1, 1, {-1, 0, 0}},
            {{-50, -50 + h, -50}, twoThirds, 1, {-1, 0, 0}},
            {{-50, -50 + h, -25}, twoThirds, 0.75, {-1, 0, 0}},
            {{-50, -50, -25}, 1, 0.75, {-1, 0, 0}}}},
          {51, 4,
           {{{0, 50, 25}, 0.5, 0.25, {0, 1, 0}},
            {{50, 50, 25}, 0, 0.25, {0, 1, 0}},
            {{50, 50, 50}, 0, 0, {0, 1, 0}},
            {{0, 50, 50}, 0.5, 0, {0, 1, 0}}}}},
         1e-12, Point3d{0, 0, 0}},
        {"plane 100 x 100, counts 2, 2",
         [](FaceSink* s) { return geometry::CreatePlane(s).Create(100, 100, 2, 2); }, "Plane01", 4,
         {{0, 4,
           {{{0, -50, -50}, 1, 1, {1, 0, 0}},
            {{0, -50, 0}, 1, 0.5, {1, 0, 0}},
            {{0, 0, 0}, 0.5, 0.5, {1, 0, 0}},
            {{0, 0, -50}, 0.5, 1, {1, 0, 0}}}},
          {3, 4,
           {{{0, 0, 0}, 0.5, 0.5, {1, 0, 0}},
            {{0, 0, 50}, 0.5, 0, {1, 0, 0}},
            {{0, 50, 50}, 0, 0, {1, 0, 0}},
            {{0, 50, 0}, 0, 0.5, {1, 0, 0}}}}},
         0, std::nullopt, true},
        {"cylinder of 4 sides",
         [](FaceSink* s) { return geometry::CreateCylinder(s).Create(100, 300, 1, 4, 1); }, "Cylinder01", 6,
         {{0, 4,
           {{{100, 0, 150}, 0, 0, {100, 0, 0}},
            {{0, 100, 150}, 0.25, 0, {0, 100, 0}},
            {{0, 100, -150}, 0.25, 1, {0, 100, 0}},
            {{100, 0, -150}, 0, 1, {100, 0, 0}}}},
          {4, 4,
           {{{100, 0, -150}, 1, 0.5, down},
            {{0, 100, -150}, 0.5, 1, down},
            {{-100, 0, -150}, 0, 0.5, down},
            {{0, -100, -150}, 0.5, 0, down}}},
          {5, 4,
           {{{100, 0, 150}, 1, 0.5, up},
            {{0, -100, 150}, 0.5, 0, up},
            {{-100, 0, 150}, 0, 0.5, up},
            {{0, 100, 150}, 0.5, 1, up}}}},
         0, Point3d{0, 0, 0}},
        {"cylinder of 10 sides",
         [](FaceSink* s) { return geometry::CreateCylinder(s).Create(100, 300, 1, 10, 1); }, "Cylinder01", 12,
         {{1, 4,
           {{{100 * c36, 100 * s36, 150}, 0.1, 0, {100 * c36, 100 * s36, 0}},
            {{100 * c72, 100 * s72, 150}, 0.2, 0, {100 * c72, 100 * s72, 0}},
            {{100 * c72, 100 * s72, -150}, 0.2, 1, {100 * c72, 100 * s72, 0}},
            {{100 * c36, 100 * s36, -150}, 0.1, 1, {100 * c36, 100 * s36, 0}}}},
          {10, 10,
           {{{100, 0, -150}, 1, 0.5, down},
            {{100 * c36, 100 * s36, -150}, c36 / 2 + 0.5, s36 / 2 + 0.5, down}}},
          {11, 10, {{{100, 0, 150}, 1, 0.5, up}, {{100 * c36, -100 * s36, 150}, c36 / 2 + 0.5, 0.5 - s36 / 2, up}}}},
         1e-9, Point3d{0, 0, 0}},
        {"sphere of 1 segment",
         [](FaceSink* s) { return geometry::CreateSphere(s).Create(100, 1); }, "Sphere01", 8,
         {{0, 3, {{{0, 0, 100}, 0, 0, {0, 0, 100}}, {{0, 100, 0}, 0.25, 0.5, {0, 100, 0}}, {{100, 0, 0}, 0, 0.5, {100, 0, 0}}}},
          {7, 3,
           {{{0, -100, 0}, 0.75, 0.5, {0, -100, 0}},
            {{100, 0, 0}, 1, 0.5, {100, 0, 0}},
            {{0, 0, -100}, 1, 1, {0, 0, -100}}}}},
         0, Point3d{0, 0, 0}},
        {"sphere of 9 segments",
         [](FaceSink* s) { return geometry::CreateSphere(s).Create(100, 9); }, "Sphere01", 200,
         {{0, 3,
           {{{0, 0, 100}, 0, 0, {0, 0, 100}},
            {{100 * s18 * c18, 100 * s18 * s18, 100 * c18}, 0.05, 0.1, {100 * s18 * c18, 100 * s18 * s18, 100 * c18}},
            {{100 * s18, 0, 100 * c18}, 0, 0.1, {100 * s18, 0, 100 * c18}}}},
          {199, 3,
           {{{100 * s162 * c342, 100 * s162 * s342, 100 * c162}, 0.95, 0.9,
             {100 * s162 * c342, 100 * s162 * s342, 100 * c162}},
            {{100 * s162, 0, 100 * c162}, 1, 0.9, {100 * s162, 0, 100 * c162}},
            {{0, 0, -100}, 1, 1, {0, 0, -100}}}}},
         1e-9, Point3d{0, 0, 0}},
        {"cone of 1 ring",
         [](FaceSink* s) { return geometry::CreateCone(s).Create(100, 200, 1, 10, 1); }, "Cone01", 11,
         {{0, 3,
           {{{100, 0, 0}, 0, 0, coneNormal(0)}, {{0, 0, 200}, 0.1, 1, up}, {{100 * c36, 100 * s36, 0}, 0.1, 0, coneNormal(36)}}},
          {10, 10, {{{100, 0, 0}, 1, 0.5, down}, {{100 * c36, 100 * s36, 0}, c36 / 2 + 0.5, s36 / 2 + 0.5, down}}}},
         1e-9, Point3d{0, 0, 50}},
        {"cone of 2 rings",
         [](FaceSink* s) { return geometry::CreateCone(s).Create(100, 200, 1, 10, 2); }, "Cone01", 21,
         {{0, 4,
           {{{100, 0, 0}, 0, 0, coneNormal(0)},
            {{50, 0, 100}, 0, 0.5, coneNormal(0)},
            {{50 * c36, 50 * s36, 100}, 0.1, 0.5, coneNormal(36)},
            {{100 * c36, 100 * s36, 0}, 0.1, 0, coneNormal(36)}}},
          {10, 3,
           {{{50, 0, 100}, 0, 0.5, coneNormal(0)},
            {{0, 0, 200}, 0.1, 1, up},
            {{50 * c36, 50 * s36, 100}, 0.1, 0.5, coneNormal(36)}}},
          {20, 10, {{{100, 0, 0}, 1, 0.5, down}}}},
         1e-9, Point3d{0, 0, 50}},
        {"torus 200, 60 of 10 x 8",
         [](FaceSink* s) { return geometry::CreateTorus(s).Create(200, 60, 10, 8); }, "Torus01", 80,
         {{0, 4,
           {{{260, 0, 0}, 0, 0, {60, 0, 0}},
            {{260 * c36, 0, 260 * s36}, 0.1, 0, {60 * c36, 0, 60 * s36}},
            {{r45 * c36, 60 * s45, r45 * s36}, 0.1, 0.125, {60 * c45 * c36, 60 * s45, 60 * c45 * s36}},
            {{r45, 60 * s45, 0}, 0, 0.125, {60 * c45, 60 * s45, 0}}}}},
         1e-9, std::nullopt},
        {"torus 200, 60 of 3 x 3",
         [](FaceSink* s) { return geometry::CreateTorus(s).Create(200, 60, 3, 3); }, "Torus01", 9,
         {{8, 4,
           {{{-85, -60 * s120, -170 * s120}, twoThirds, twoThirds, {15, -60 * s120, 30 * s120}},
            {{170, -60 * s120, 0}, 1, twoThirds, {-30, -60 * s120, 0}},
            {{260, 0, 0}, 1, 1, {60, 0, 0}},
            {{-130, 0, -260 * s120}, twoThirds, 1, {-30, 0, -60 * s120}}}}},
         1e-9, std::nullopt},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        freshWorld();
        RecordingSink sink;
        ASSERT_TRUE(c.build(&sink));
        const int32_t group = Globals::CurrSelEntityHandle;
        EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
        EXPECT_EQ(nameOf(group), c.group);
        EXPECT_EQ(OMBREL_group_get_father_group(group), Globals::RootGrp);
        const std::vector<int32_t> polygons = polygonsOf(group);
        ASSERT_EQ(static_cast<int>(polygons.size()), c.polygons);
        ASSERT_EQ(sink.faces.size(), polygons.size());

        for (std::size_t f = 0; f < polygons.size(); ++f) {
            const std::vector<EnginePoint> pts = enginePoints(polygons[f]);
            const auto& given = sink.faces[f];
            ASSERT_EQ(pts.size(), given.size()) << "face " << f;
            EXPECT_EQ(nameOf(polygons[f]), faceName(c.group, static_cast<int>(f)));
            for (std::size_t k = 0; k < pts.size(); ++k) {
                // The engine keeps every value exactly as given.
                const EnginePoint want{{given[k].rec[0], given[k].rec[1], given[k].rec[2]},
                                       given[k].rec[3], given[k].rec[4], given[k].rec[5]};
                EXPECT_EQ(pts[k].pos, want.pos) << "face " << f << " corner " << k;
                EXPECT_EQ(pts[k].u, want.u);
                EXPECT_EQ(pts[k].v, want.v);
                EXPECT_EQ(pts[k].sixth, c.plane && k == 1 ? 65280.0 : 100.0) << "face " << f << " corner " << k;
            }
            // Every corner's normal lies on the visible side, and closed shapes
            // show their outside.
            const Point3d side = visibleSide(pts);
            for (std::size_t k = 0; k < pts.size(); ++k)
                EXPECT_GT(dot(side, given[k].normal), 0) << "face " << f << " corner " << k;
            if (c.centre) {
                Point3d centroid = {0, 0, 0};
                for (const EnginePoint& p : pts)
                    for (std::size_t i = 0; i < 3; ++i) centroid[i] += p.pos[i] / static_cast<double>(pts.size());
                EXPECT_GT(dot(side, sub(centroid, *c.centre)), 0) << "face " << f;
            }
        }

        for (const Face& face : c.faces) {
            SCOPED_TRACE("face " + std::to_string(face.index));
            const auto f = static_cast<std::size_t>(face.index);
            const std::vector<EnginePoint> pts = enginePoints(polygons[f]);
            ASSERT_EQ(static_cast<int>(pts.size()), face.points);
            for (std::size_t k = 0; k < face.corners.size(); ++k) {
                const Corner& want = face.corners[k];
                for (std::size_t i = 0; i < 3; ++i) {
                    EXPECT_NEAR(pts[k].pos[i], want.pos[i], c.tolerance) << "corner " << k;
                    EXPECT_NEAR(sink.faces[f][k].normal[i], want.normal[i], c.tolerance) << "normal " << k;
                }
                EXPECT_NEAR(pts[k].u, want.u, c.tolerance) << "corner " << k;
                EXPECT_NEAR(pts[k].v, want.v, c.tolerance) << "corner " << k;
            }
        }
    }
}

TEST_F(PrimitiveBuildersTest, RoundNormalsKeepTheirLengths) {
    RecordingSink sink;
    ASSERT_TRUE(geometry::CreateSphere(&sink).Create(-100, 3));  // a negative radius mirrors the points
    ASSERT_TRUE(geometry::CreateTorus(&sink).Create(200, 60, 10, 8));
    const std::size_t sphereFaces = 2 * 4 * 4;
    ASSERT_EQ(sink.faces.size(), sphereFaces + 80);
    for (std::size_t f = 0; f < sink.faces.size(); ++f)
        for (const auto& corner : sink.faces[f]) {
            const Point3d pos = {corner.rec[0], corner.rec[1], corner.rec[2]};
            const double length = std::sqrt(dot(corner.normal, corner.normal));
            if (f < sphereFaces) {
                EXPECT_EQ(corner.normal, pos);  // the position vector itself
                EXPECT_NEAR(length, 100, 1e-6);
            } else {
                EXPECT_NEAR(length, 60, 1e-6);
            }
        }
}

TEST_F(PrimitiveBuildersTest, RoundShapesRefuseMoreThanAHundredSides) {
    const int32_t before = polygonsOf(0).size();
    geometry::CreateCylinder cylinder;
    geometry::CreateCone cone;
    platform_.prompts.answer(platform::MsgResult::OK).answer(platform::MsgResult::OK);
    EXPECT_FALSE(cylinder.Create(100, 300, 1, 101, 1));
    EXPECT_FALSE(cone.Create(100, 200, 1, 101, 1));
    ASSERT_EQ(platform_.prompts.shown().size(), 2u);
    for (const auto& shown : platform_.prompts.shown()) {
        EXPECT_EQ(shown.text, "Only Cylinders with a max of 100 sides are supported.");
        EXPECT_EQ(shown.icon, platform::MsgIcon::Information);
    }
    EXPECT_EQ(static_cast<int32_t>(polygonsOf(0).size()), before);
    EXPECT_EQ(OMBREL_group_get_using_name("Cylinder01"), 0);
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_TRUE(cylinder.Create(100, 300, 1, 100, 1));
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(Globals::CurrSelEntityHandle), 102);
}

TEST_F(PrimitiveBuildersTest, NewGroupsTakeTheFirstFreeNumber) {
    OMBREL_group_create("Box01");
    OMBREL_group_create("Box03");
    EXPECT_EQ(geometry::GetNewGrpName("Box"), "Box02");
    for (int n = 2; n <= 99; ++n) OMBREL_group_create(("Box" + std::string(n < 10 ? "0" : "") + std::to_string(n)).c_str());
    EXPECT_EQ(geometry::GetNewGrpName("Box"), "Box100");
    // Any group of that name takes it, whatever made it.
    const int32_t sphere = OMBREL_group_create("Sphere01");
    EXPECT_EQ(geometry::GetNewGrpName("Sphere"), "Sphere02");
    OMBREL_group_set_name(sphere, "Ball");
    EXPECT_EQ(geometry::GetNewGrpName("Sphere"), "Sphere01");
}

TEST_F(PrimitiveBuildersTest, PrimitivesInARowTakeTheNextColoursOfTheOneSequence) {
    geometry::RandomSequence fresh1, fresh2;
    for (int i = 0; i < 100; ++i) {
        const float r = fresh1.Rnd();
        EXPECT_EQ(r, fresh2.Rnd());  // the same fixed seed: the same sequence every run
        EXPECT_GE(r, 0.0f);
        EXPECT_LT(r, 1.0f);
    }
    geometry::RandomSequence upcoming = geometry::BuilderRandom();
    const auto first = geometry::RandomColour(upcoming);
    const auto second = geometry::RandomColour(upcoming);
    EXPECT_NE(first, second);
    geometry::CreateBox box;
    std::array<std::array<int32_t, 3>, 2> colours{};
    for (auto& colour : colours) {
        ASSERT_TRUE(box.Create(10, 10, 10, 1, 1, 1));
        const int32_t face = polygonsOf(Globals::CurrSelEntityHandle).front();
        OMBREL_polygon_get_color(face, &colour[0], &colour[1], &colour[2]);
    }
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(colours[0][i], first[i]);
        EXPECT_EQ(colours[1][i], second[i]);
    }
}

TEST_F(PrimitiveBuildersTest, CreatingSelectsTheNewGroupAndAddsItsNode) {
    std::vector<std::pair<int32_t, int32_t>> nodes;
    core::windowHooks().addGroupNode = [&](int32_t g, int32_t father) { nodes.emplace_back(g, father); };
    const int32_t old = makeGroup("old", {0, 0, 0});
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = old;
    window.calls.clear();
    geometry::CreateTorus torus;
    ASSERT_TRUE(torus.Create(200, 60, 3, 3));
    const int32_t group = Globals::CurrSelEntityHandle;
    EXPECT_NE(group, old);
    EXPECT_EQ(Globals::PrevSelEntityType, SelGroup);
    EXPECT_EQ(Globals::PrevSelEntityHandle, old);
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0], std::make_pair(group, Globals::RootGrp));
    EXPECT_GE(window.count("UpdateStatusBar"), 1);
    EXPECT_EQ(window.count("UpdateCameras"), 1);
}

}  // namespace
