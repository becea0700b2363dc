// Worlds the benchmarks share, built through the engine's C interface (linked
// directly or bound by the loader).
#pragma once

#include "ombrel.h"

#include <string>

namespace bench {

// Just under 100,000 quads (400,000 points) in groups of 1,000 under "the_world",
// made in a fresh world; returns the root group.
inline int32_t buildQuadWorld() {
    constexpr int kSide = 316;
    OMBREL_engine_hide_log_window();
    OMBREL_engine_load_world(nullptr, nullptr, nullptr, OMBREL_LOAD_EDITOR);
    const int32_t root = OMBREL_group_create("the_world");
    int32_t group = 0;
    int made = 0;
    for (int i = 0; i < kSide; ++i)
        for (int j = 0; j < kSide + 1 && made < 100000; ++j, ++made) {
            if (made % 1000 == 0) {
                group = OMBREL_group_create("part");
                OMBREL_group_set_father_group(group, root);
            }
            const int32_t p = OMBREL_polygon_create();
            const double x = i * 1.1, y = j * 1.3;
            const double corners[4][2] = {{x, y}, {x, y + 1.0 / 3}, {x + 0.7, y + 1.0 / 3}, {x + 0.7, y}};
            for (const auto& c : corners) {
                const double rec[6] = {c[0], c[1], 0.1 * i, 0.25, 0.75, 100};
                OMBREL_polygon_add_point(p, rec);
            }
            OMBREL_polygon_set_group(p, group);
            OMBREL_engine_add_polygon(p);
        }
    return root;
}

// A quad of 0.9 x 0.9 at (x, y) in the plane z = 0, facing up, added to group
// and to the world.
inline int32_t addFloorQuad(int32_t group, double x, double y) {
    const int32_t p = OMBREL_polygon_create();
    const double corners[4][2] = {{x, y}, {x, y + 0.9}, {x + 0.9, y + 0.9}, {x + 0.9, y}};
    for (const auto& c : corners) {
        const double rec[6] = {c[0], c[1], 0, 0, 0, 100};
        OMBREL_polygon_add_point(p, rec);
    }
    OMBREL_polygon_set_group(p, group);
    OMBREL_engine_add_polygon(p);
    return p;
}

// The quad world saved as path (about 26 MB of text); the engine keeps it open.
inline bool writeQuadWorld(const std::string& path) {
    const int32_t root = buildQuadWorld();
    return OMBREL_engine_save(path.c_str(), root, OMBREL_SAVE_WORLD) == 0;
}

}  // namespace bench
