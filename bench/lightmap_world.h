// The light-map benchmarks' world: 10,000 quads of 20 x 20 units, a floor grid
// of 94 x 94 with 194 cubes standing on it, lit by three omnidirectional lights
// and one directional light, every one casting shadows.
#pragma once

#include "ombrel.h"

#include <array>
#include <cstdint>
#include <string>

namespace lightmap_bench {

inline void quad(int32_t group, const std::array<std::array<double, 3>, 4>& corners) {
    const int32_t p = OMBREL_polygon_create();
    for (const auto& c : corners) {
        const double record[6] = {c[0], c[1], c[2], 0, 0, 100};
        OMBREL_polygon_add_point(p, record);
    }
    OMBREL_polygon_set_group(p, group);
    OMBREL_engine_add_polygon(p);
}

inline void cube(int32_t group, double x, double y, double s) {
    const double x1 = x + s, y1 = y + s, z1 = s;
    quad(group, {{{x, y, z1}, {x, y1, z1}, {x1, y1, z1}, {x1, y, z1}}});
    quad(group, {{{x, y, 0}, {x1, y, 0}, {x1, y, z1}, {x, y, z1}}});
    quad(group, {{{x, y1, 0}, {x, y1, z1}, {x1, y1, z1}, {x1, y1, 0}}});
    quad(group, {{{x, y, 0}, {x, y, z1}, {x, y1, z1}, {x, y1, 0}}});
    quad(group, {{{x1, y, 0}, {x1, y1, 0}, {x1, y1, z1}, {x1, y, z1}}});
    quad(group, {{{x, y, 0}, {x, y1, 0}, {x1, y1, 0}, {x1, y, 0}}});
}

constexpr double kSide = 20;

// A floor group under root: grid x grid quads of kSide x kSide units facing up.
inline int32_t floor(int32_t root, int grid) {
    const int32_t floor = OMBREL_group_create("floor");
    OMBREL_group_set_father_group(floor, root);
    for (int i = 0; i < grid; ++i)
        for (int j = 0; j < grid; ++j) {
            const double x = i * kSide, y = j * kSide;
            quad(floor, {{{x, y, 0}, {x, y + kSide, 0}, {x + kSide, y + kSide, 0}, {x + kSide, y, 0}}});
        }
    return floor;
}

// Builds the world under root (a group of the open engine world).
inline void build(int32_t root) {
    constexpr int kGrid = 94;
    floor(root, kGrid);
    const int32_t boxes = OMBREL_group_create("boxes");
    OMBREL_group_set_father_group(boxes, root);
    int made = 0;
    for (int i = 0; i < 14 && made < 194; ++i)
        for (int j = 0; j < 14 && made < 194; ++j, ++made) cube(boxes, (i * 7 + 3) * kSide, (j * 7 + 3) * kSide, kSide);
    const double size = kGrid * kSide;
    const std::array<std::array<double, 3>, 3> lamps = {
        {{size * 0.25, size * 0.25, 150}, {size * 0.75, size * 0.4, 200}, {size * 0.5, size * 0.8, 120}}};
    int n = 0;
    for (const auto& at : lamps) {
        const int32_t l = OMBREL_light_create(("lamp" + std::to_string(n++)).c_str(), at.data());
        OMBREL_light_set_type_of_light(l, 8 | 16 | 2);
        OMBREL_light_set_distance_reach(l, size);
        OMBREL_light_set_ambient(l, 0.05);
        OMBREL_light_set_diffuse(l, 0.5);
        OMBREL_light_set_ray_tracing(l, 1);
    }
    const int32_t sun = OMBREL_light_create("sun", nullptr);
    OMBREL_light_set_type_of_light(sun, 1 | 16);
    const double dir[3] = {0.4, 0.3, -1};
    OMBREL_light_set_direction(sun, dir);
    OMBREL_light_set_diffuse(sun, 0.4);
    OMBREL_light_set_ray_tracing(sun, 1);
}

}  // namespace lightmap_bench
