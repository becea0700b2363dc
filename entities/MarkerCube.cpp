#include "MarkerCube.h"

#include "ombrel.h"

#include <string>

namespace entities {
namespace {

struct Face {
    int normal;  // axis of the face's normal
    int sign;    // +1 or -1
};

constexpr Face kFaces[6] = {{0, 1}, {0, -1}, {1, 1}, {1, -1}, {2, 1}, {2, -1}};

}  // namespace

int32_t BuildMarkerCube(const char* name, double edge, int32_t red, int32_t green, int32_t blue) {
    const double h = edge / 2;
    int32_t group = OMBREL_group_create(name);
    OMBREL_group_set_father_group(group, 0);
    const std::string faceName = std::string(name) + "_Face";
    for (const Face& f : kFaces) {
        // Tangents u, v with u x v along the outward normal; the points run
        // clockwise seen from outside, the side the engine shows.
        const int u = (f.normal + (f.sign > 0 ? 1 : 2)) % 3;
        const int v = (f.normal + (f.sign > 0 ? 2 : 1)) % 3;
        const int corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
        int32_t polygon = OMBREL_polygon_create();
        OMBREL_polygon_set_group(polygon, group);
        for (const auto& c : corners) {
            double record[6] = {0, 0, 0, c[0] > 0 ? 1.0 : 0.0, c[1] > 0 ? 1.0 : 0.0, 100};
            record[f.normal] = f.sign * h;
            record[u] = c[0] * h;
            record[v] = c[1] * h;
            OMBREL_polygon_add_point(polygon, record);
        }
        OMBREL_polygon_set_name(polygon, faceName.c_str());
        OMBREL_polygon_set_color_fill(polygon, red, green, blue);
        OMBREL_engine_add_polygon(polygon);
    }
    return group;
}

}  // namespace entities
