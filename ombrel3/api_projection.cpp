// Between screen and world through the current camera and surface.
#include "api_support.h"
#include "pick.h"

#include "ombrel_engine.h"

#include <cmath>

using namespace ombrel;

OMBREL_API int32_t OMBREL_engine_2D_point_to_3D(int32_t x, int32_t y, double point[3], int32_t* group_out,
                                               int32_t* polygon_out) {
    return guarded(__func__, -1, [&] {
        if (group_out) *group_out = 0;
        if (polygon_out) *polygon_out = 0;
        View view;
        Hit hit;
        if (!currentView(view) || !pickAt(view, x + 0.5, y + 0.5, hit)) return -1;
        if (point) hit.point.to(point);
        if (group_out) *group_out = hit.group;
        if (polygon_out) *polygon_out = hit.polygon;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_engine_3D_point_to_2D(const double point[3], int32_t pixel[2]) {
    return guarded(__func__, -1, [&] {
        View view;
        if (!point || !pixel || !currentView(view)) return -1;
        Vec3 p = Vec3::from(point);
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return -1;
        return projectPoint(view, p, pixel);
    });
}

OMBREL_API int32_t OMBREL_engine_3D_edge_to_2D(const double a[3], const double b[3], int32_t a2d[2],
                                              int32_t b2d[2]) {
    return guarded(__func__, -1, [&] {
        View view;
        if (!a || !b || !a2d || !b2d || !currentView(view)) return -1;
        Vec3 pa = Vec3::from(a), pb = Vec3::from(b);
        for (int i = 0; i < 3; ++i)
            if (!std::isfinite(pa[i]) || !std::isfinite(pb[i])) return -1;
        return projectEdge(view, pa, pb, a2d, b2d);
    });
}
