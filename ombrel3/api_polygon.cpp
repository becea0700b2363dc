// Polygons: points, fills and properties.
#include "api_support.h"
#include "model.h"

#include "ombrel_polygon.h"

using namespace ombrel;

OMBREL_API int32_t OMBREL_polygon_create(void) {
    return guarded(__func__, 0, [&] {
        needWorld();
        return createObject<Polygon>().handle;
    });
}

OMBREL_API int32_t OMBREL_polygon_add_point(int32_t polygon, const double record[6]) {
    return guarded(__func__, 0, [&] {
        Polygon& p = need<Polygon>(polygon);
        if (!record) throw ApiError("no point record");
        Point& pt = createObject<Point>();
        pt.polygon = polygon;
        pt.pos = {record[0], record[1], record[2]};
        pt.uv = {record[3], record[4]};
        pt.brightness = record[5];
        p.points.push_back(pt.handle);
        touchGroup(p.group);
        return pt.handle;
    });
}

OMBREL_API int32_t OMBREL_polygon_set_group(int32_t polygon, int32_t group) {
    return guarded(__func__, -1, [&] {
        Polygon& p = need<Polygon>(polygon);
        if (group != 0) need<Group>(group);
        if (Group* old = lookup<Group>(p.group)) {
            old->polygons.erase(polygon);
            touchGroup(old->handle);
        }
        p.group = group;
        if (Group* g = lookup<Group>(group)) {
            g->polygons.append(polygon);
            touchGroup(group);
        }
        return 0;
    });
}
