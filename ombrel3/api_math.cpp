// Small geometric helpers.
#include "api_support.h"

#include "ombrel_math.h"

using namespace ombrel;

OMBREL_API double OMBREL_math_get_distance(const double p[3], const double q[3]) {
    return guarded(__func__, 0.0, [&] {
        if (!p || !q) throw ApiError("no point given");
        return length(Vec3::from(p) - Vec3::from(q));
    });
}

OMBREL_API int32_t OMBREL_math_get_plane_point_relations(const double plane[4], const double point[3],
                                                        double tolerance, int32_t reserved) {
    return guarded(__func__, 0, [&] {
        if (!plane || !point) throw ApiError("no plane or point given");
        double s = plane[0] * point[0] + plane[1] * point[1] + plane[2] * point[2] + plane[3];
        if (s > tolerance) return 1;
        if (s < -tolerance) return 2;
        return 0;
    });
}

OMBREL_API double OMBREL_math_get_vector_length(const double v[3]) {
    return guarded(__func__, 0.0, [&] {
        if (!v) throw ApiError("no vector given");
        return length(Vec3::from(v));
    });
}
