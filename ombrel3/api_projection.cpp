// Between screen and world through the current camera and surface.
#include "api_support.h"
#include "pick.h"

#include "ombrel_edges.h"
#include "ombrel_engine.h"

#include <algorithm>
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
        if (!finite(p)) return -1;
        return projectPoint(view, p, pixel);
    });
}

OMBREL_API int32_t OMBREL_engine_3D_edge_to_2D(const double a[3], const double b[3], int32_t a2d[2],
                                              int32_t b2d[2]) {
    return guarded(__func__, -1, [&] {
        View view;
        if (!a || !b || !a2d || !b2d || !currentView(view)) return -1;
        Vec3 pa = Vec3::from(a), pb = Vec3::from(b);
        if (!finite(pa) || !finite(pb)) return -1;
        return projectEdge(view, pa, pb, a2d, b2d);
    });
}

OMBREL_API int32_t OMBREL_ext_3D_edges_to_2D(int32_t pointCount, const double* points, int32_t count,
                                             const int32_t* ends, int32_t* pixels, int32_t* results) {
    return guarded(__func__, -1, [&] {
        if (pointCount < 0 || count < 0) throw ApiError("a count below 0");
        if ((pointCount > 0 && !points) || (count > 0 && (!points || !ends || !pixels || !results)))
            throw ApiError("no list given");
        for (std::ptrdiff_t i = 0; i < 2 * std::ptrdiff_t{count}; ++i)
            if (ends[i] < 0 || ends[i] >= pointCount) throw ApiError("an edge ends at a point not in the list");
        View view;
        if (!currentView(view)) {
            std::fill(results, results + count, -1);
            return -1;
        }
        // The view is made once for all edges: made per edge it costs more than
        // the edge.
        projectEdges(view, points, pointCount, ends, count, pixels, results);
        return count;
    });
}
