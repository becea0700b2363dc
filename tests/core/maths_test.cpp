#include "core/Maths.h"

#include "platform/doubles/scripted_prompts.h"
#include "platform/error_trap.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kTol = 1e-9;

void expectNear(const Point3d& got, const Point3d& want) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], kTol) << "component " << i;
}

TEST(RotatePointAboutAxis, PositiveAnglesTurnRightHandedAboutEachAxis) {
    struct Case {
        Point3d p;
        double angle;
        int32_t axis;
        Point3d centre;
        Point3d want;
    };
    const Case cases[] = {
        {{0, 1, 0}, 90, 0, {0, 0, 0}, {0, 0, 1}},    // y towards z
        {{0, 0, 1}, 90, 1, {0, 0, 0}, {1, 0, 0}},    // z towards x
        {{1, 0, 0}, 90, 1, {0, 0, 0}, {0, 0, -1}},
        {{1, 0, 0}, 90, 2, {0, 0, 0}, {0, 1, 0}},    // x towards y
        {{1, 0, 0}, -90, 2, {0, 0, 0}, {0, -1, 0}},
        {{2, 1, 5}, 180, 2, {1, 1, 0}, {0, 1, 5}},   // about a centre, the axis coordinate kept
        {{3, 4, 5}, 90, 7, {0, 0, 0}, {3, 4, 5}},    // no such axis: nothing turns
        {{1, 1, 1}, 45, 0, {1, 1, 1}, {1, 1, 1}},    // the centre itself stays
    };
    for (const Case& c : cases) {
        Point3d p = c.p;
        Maths::RotatePointAboutAxis(p, c.angle, c.axis, c.centre);
        SCOPED_TRACE(testing::Message() << "axis " << c.axis << " angle " << c.angle);
        expectNear(p, c.want);
    }
}

TEST(GetAngle, UsesTheLiteralConstantsAndIsNotWrapped) {
    EXPECT_DOUBLE_EQ(Maths::GetAngle(0, 0), 3.14159265359 / 2);
    EXPECT_DOUBLE_EQ(Maths::GetAngle(0, -2), 9.42477796077 / 2);
    EXPECT_DOUBLE_EQ(Maths::GetAngle(-1, 0), 3.14159265359);
    EXPECT_NEAR(Maths::GetAngle(1, -1), -M_PI / 4, 1e-15);
}

TEST(AngleBetweenVectors, RightAndStraightAnglesWithoutNaN) {
    EXPECT_EQ(Maths::AngleBetweenVectors({1, 0, 0}, {0, 1, 0}), 90.0);
    EXPECT_NEAR(Maths::AngleBetweenVectors({1, 0, 0}, {-1, 0, 0}), 180, 1e-9);
    EXPECT_NEAR(Maths::AngleBetweenVectors({1, 1, 0}, {1, 0, 0}), 45, 1e-9);
    // Parallel vectors whose rounding makes m^2 - dot^2 slightly negative.
    double a = Maths::AngleBetweenVectors({0.1, 0.2, 0.3}, {0.3, 0.6, 0.9});
    EXPECT_FALSE(std::isnan(a));
    EXPECT_NEAR(a, 0, 1e-6);
}

TEST(AngleBetweenVectors, ZeroVectorSaysInvalidVectorAndGivesZero) {
    platform::doubles::ScriptedPrompts prompts;
    prompts.answer(platform::MsgResult::OK);
    EXPECT_EQ(Maths::AngleBetweenVectors({1, 2, 3}, {0, 0, 0}), 0.0);
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].text, "invalid vector");
    EXPECT_EQ(prompts.shown()[0].icon, platform::MsgIcon::Critical);
    EXPECT_EQ(prompts.shown()[0].title, "TALVORA");
}

TEST(ZeroLengthDivision, RaisesAnErrorInsteadOfNaN) {
    Point3d out = {7, 7, 7};
    EXPECT_THROW(Maths::NormalizeVector({0, 0, 0}, out), platform::EditorError);
    EXPECT_EQ(out, (Point3d{7, 7, 7}));
    EXPECT_THROW(Maths::DistanceFromPlane({1, 2, 3}, {0, 0, 0, 5}), platform::EditorError);
    EXPECT_THROW(Maths::ProjectPointOnPlane({1, 2, 3}, {0, 0, 0, 5}, out), platform::EditorError);
}

TEST(Planes, ThreePointsDistanceAndProjection) {
    Plane4d plane;
    // Counter-clockwise seen from +z: the normal points up.
    Maths::PlaneFromThreePoints({0, 0, 2}, {1, 0, 2}, {0, 1, 2}, plane);
    EXPECT_GT(plane[2], 0);
    EXPECT_NEAR(Maths::DistanceFromPlane({5, 5, 7}, plane), 5, kTol);
    EXPECT_NEAR(Maths::DistanceFromPlane({5, 5, -1}, plane), -3, kTol);
    // Projection reads the plane as a x + b y + c z = d (unit normal).
    Point3d r;
    Maths::ProjectPointOnPlane({3, 4, 9}, {0, 0, 1, 2}, r);
    expectNear(r, {3, 4, 2});
}

TEST(ClosestPointOnLine, FootOfPerpendicularAndDegenerateLine) {
    double r[3];
    double p[3] = {2, 5, 0}, a[3] = {0, 0, 0}, b[3] = {4, 0, 0};
    Maths::ClosestPointOnLine(p, a, b, r);
    EXPECT_NEAR(r[0], 2, kTol);
    EXPECT_NEAR(r[1], 0, kTol);
    double same[3] = {1, 1, 1};
    Maths::ClosestPointOnLine(p, same, same, r);
    EXPECT_EQ(r[0], 1);
    EXPECT_EQ(r[2], 1);
}

TEST(ClosestPointOnLine2D, RoundsHalvesToEven) {
    struct Case {
        PixelPt p, a, b, want;
    };
    const Case cases[] = {
        {{0, 1}, {0, 0}, {1, 1}, {0, 0}},  // foot (0.5, 0.5)
        {{1, 2}, {0, 0}, {1, 1}, {2, 2}},  // foot (1.5, 1.5)
        {{3, 0}, {0, 0}, {10, 0}, {3, 0}},
    };
    for (const Case& c : cases) {
        PixelPt r = {-9, -9};
        Maths::ClosestPointOnLine2D(c.p, c.a, c.b, r);
        EXPECT_EQ(r, c.want) << c.p[0] << "," << c.p[1];
    }
}

TEST(RoundHalfEven, ExactHalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.6, 3}};
    for (auto [x, want] : cases) EXPECT_EQ(Maths::RoundHalfEven(x), want) << x;
}

TEST(VectorsEqual, ComparesAtSixDecimals) {
    EXPECT_TRUE(Maths::VectorsEqual({1.0000001, 0, 0}, {1, 0, 0}));
    EXPECT_FALSE(Maths::VectorsEqual({1.00001, 0, 0}, {1, 0, 0}));
    EXPECT_FALSE(Maths::VectorsEqual({0, 0, 2}, {0, 0, 2.000002}));
}

TEST(SegmentsIntersection2D, EndPointsCountAsCrossing) {
    struct Case {
        PixelPt p1, p2;
        Point2d q1, q2;
        bool apart;
        Point2d at;
    };
    const Case cases[] = {
        {{0, 0}, {10, 10}, {0, 10}, {10, 0}, false, {5, 5}},   // an X
        {{0, 0}, {10, 0}, {10, 0}, {10, 5}, false, {10, 0}},   // touch at the end of both
        {{0, 0}, {10, 0}, {0, -3}, {0, 3}, false, {0, 0}},     // touch at the start of p
        {{0, 0}, {10, 0}, {4, 0.5}, {4, 3}, true, {0, 0}},     // misses just above
        {{0, 0}, {10, 0}, {0, 1}, {10, 1}, true, {0, 0}},      // parallel
        {{0, 0}, {10, 0}, {2, 0}, {8, 0}, true, {0, 0}},       // collinear
        {{0, 0}, {4, 0}, {5, -1}, {5, 1}, true, {0, 0}},       // beyond the end of p
    };
    for (const Case& c : cases) {
        Point2d r = {-1, -1};
        bool apart = Maths::SegmentsIntersection2D(c.p1, c.p2, c.q1, c.q2, r);
        SCOPED_TRACE(testing::Message() << "q1 " << c.q1[0] << "," << c.q1[1]);
        EXPECT_EQ(apart, c.apart);
        if (c.apart) {
            EXPECT_EQ(r, (Point2d{-1, -1}));
        } else {
            EXPECT_NEAR(r[0], c.at[0], kTol);
            EXPECT_NEAR(r[1], c.at[1], kTol);
        }
    }
}

TEST(PointAlongVector, FlagLeavesTheCallersDirectionNegated) {
    Point3d dir = {1, 0, 0}, r;
    Maths::PointAlongVector(r, {1, 1, 1}, dir, true, 2, 0.5);
    expectNear(r, {-1, 1, 1.5});
    EXPECT_EQ(dir, (Point3d{-1, 0, 0}));
}

TEST(ElevationAngle, AngleAboveThePlaneOfTheNormal) {
    EXPECT_NEAR(Maths::ElevationAngle({1, 0, 1}, {0, 0, 1}), 45, 1e-9);
    EXPECT_NEAR(Maths::ElevationAngle({1, 0, -1}, {0, 0, 1}), -45, 1e-9);
}

}  // namespace
