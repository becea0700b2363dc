// Distances, lengths and the side of a plane a point lies on.
#include "engine_fixture.h"

namespace {

TEST(Math, DistanceLengthAndPlaneSide) {
    double p[3] = {1, 2, 3}, q[3] = {4, 6, 3}, v[3] = {-2, 3, 6};
    EXPECT_DOUBLE_EQ(OMBREL_math_get_distance(p, q), 5);
    EXPECT_DOUBLE_EQ(OMBREL_math_get_vector_length(v), 7);
    double plane[4] = {0, 0, 1, -2};  // z = 2, visible from above
    struct Case { double z, tolerance; int side; } cases[] = {
        {3, 0, 1}, {1, 0, 2}, {2, 0, 0}, {2.05, 0.1, 0}, {1.95, 0.1, 0}, {2.2, 0.1, 1},
    };
    for (const Case& c : cases) {
        double point[3] = {7, -7, c.z};
        EXPECT_EQ(OMBREL_math_get_plane_point_relations(plane, point, c.tolerance, 0), c.side) << c.z;
    }
}

}  // namespace
